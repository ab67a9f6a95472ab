#pragma once

#include "platform/Result.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentPrinter.h"

#include <QString>

#include <memory>
#include <vector>

namespace velmora::docengine {

// The embedded word processor: it reports a version, holds the open documents (the last one
// added is the active one), and prints them. Documents are owned here until closed.
//
// How the automation calls of the printing and loading routines map onto the engine:
//   Version                               version(), versionText()
//   Documents.Add template                addDocument(path)            (untitled, active)
//   ActiveDocument.SaveAs / Save          Document::saveAs(path) / save()
//   Bookmarks(name).Select + TypeText     Document::setBookmarkText(name, text)
//   FormFields(name).Result               Document::setFieldResult / fieldResult (error 5941 when missing)
//   FormFields(name).CheckBox.Value       Document::setCheckBox / checkBox
//   Tables.Count, Tables(n)               Document::tableCount(), table(n)
//   Tables(n).Rows.Add                    Table::addRow() (or appendRow(texts))
//   Cell(r, c).Select + TypeText          Table::setCellText(r, c, text), or Table::cellCursor(r, c)
//   Columns.Count / Columns(n).Width      Table::columnCount(), columnWidths(), setColumnWidths()
//   Rows.Count / Rows(n).Height           Table::rowCount(), rowHeight(n), setRowHeight(n, h)
//   Borders.Enable                        Table::setBorders(true)
//   Selection.Font (table selected)       Table::setFont(RunFormat)
//   Selection.Cells.Merge                 Table::mergeCells(row, first, last)
//   MoveDown out of a table               Document::cursorAfter(table)
//   Selection.InsertBreak (page)          Cursor::insertPageBreak()
//   Tables.Add(Selection.Range, r, c)     Cursor::insertTable(r, c, widths)
//   TypeText line break                   Cursor::insertLineBreak() / insertParagraph()
//   InlineShapes.AddPicture               Cursor::insertPicture(file, size in twips)
//   ParagraphFormat.Alignment             Cursor::setAlignment(Alignment::Center)
//   Selection.Find marker + Collapse      Document::findText(marker, &from)
//   MoveUp                                Cursor::movePreviousParagraph()
//   PrintOut                              printOut(document)
//   ActiveDocument.Close / Quit           closeDocument() / quit()
class WordProcessor {
public:
    // The version this engine answers: a current-generation word processor.
    static constexpr int kCurrentVersion = 16;

    // `majorVersion` lets tests drive the routines of the older generation (8 or lower).
    explicit WordProcessor(int majorVersion = kCurrentVersion);
    ~WordProcessor();
    WordProcessor(const WordProcessor&) = delete;
    WordProcessor& operator=(const WordProcessor&) = delete;

    int version() const { return m_version; }
    // "16.0": the major version before the first ".".
    QString versionText() const;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // A new untitled document based on a template or document file, with all its form fields,
    // bookmarks and tables. It becomes the active document.
    Result<Document*> addDocument(const QString& templatePath);
    // A new empty document; it becomes the active document.
    Document* addBlankDocument();
    Document* activeDocument() const;
    int documentCount() const { return static_cast<int>(m_documents.size()); }

    // Prints a document (the active one by default); see DocumentPrinter.
    Result<PrintOutcome> printOut(Document* document = nullptr,
                                  PrintDestination destination = PrintDestination::Automatic,
                                  SystemPrinter* printers = nullptr);

    // Closes a document (the active one by default) without saving.
    void closeDocument(Document* document = nullptr);
    // Closes every document without saving.
    void quit();

private:
    int m_version;
    bool m_visible = false;
    std::vector<std::unique_ptr<Document>> m_documents;
};

} // namespace velmora::docengine
