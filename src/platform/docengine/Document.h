#pragma once

#include "platform/Result.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocTypes.h"
#include "platform/docengine/FormField.h"
#include "platform/docengine/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <type_traits>

namespace velmora::docengine {

struct DocumentData;

// A word-processor document: a WordprocessingML package held in memory. Files keep whatever
// name the program gives them (".dot", ".doc"); their content is always such a package.
//
// Handles (Table, Cursor, FormField) point into the document and must not outlive it.
// Tables keep working across any edit; a cursor becomes invalid (and its operations do
// nothing) once any content of the document is removed, so take a fresh one afterwards.
class Document {
public:
    // A new, empty, untitled document: A4, one empty paragraph, default font Times New Roman 12.
    Document();
    ~Document();
    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;

    static Result<Document> open(const QString& path);
    static Result<Document> fromBytes(const QByteArray& bytes);

    // The file the document was opened from or last saved as; empty while untitled.
    QString path() const;
    // Makes the document untitled (a new document based on the file it was read from).
    void detachFromFile();
    // Templates are written with the template content type; documents with the document one.
    bool isTemplate() const;
    void setTemplate(bool isTemplate);

    Status saveAs(const QString& path);
    Status save();
    Result<QByteArray> toBytes() const;

    PageSetup pageSetup() const;
    void setPageSetup(const PageSetup& setup);
    // The formatting of text that has none of its own.
    void setDefaultFont(const RunFormat& format);
    void setDefaultParagraphFormat(const ParagraphFormat& format);

    // Legacy form fields, by the field's own name or, when a word processor dropped that
    // name on re-saving, by the bookmark of the same name at the field. A name the
    // document lacks gives an error numbered DocError::MissingMember.
    Result<FormField> formField(const QString& name);
    QStringList formFieldNames();
    Status setFieldResult(const QString& name, const QString& text);
    Result<QString> fieldResult(const QString& name);
    Status setCheckBox(const QString& name, bool checked);
    Result<bool> checkBox(const QString& name);

    // Bookmarks. Setting the text replaces what lies between the bookmark's start and end and
    // keeps the bookmark around the new text.
    bool hasBookmark(const QString& name);
    QStringList bookmarkNames();
    Status setBookmarkText(const QString& name, const QString& text);
    Result<QString> bookmarkText(const QString& name);
    // A cursor at the end of the bookmark's text (inside the bookmark).
    Result<Cursor> bookmarkCursor(const QString& name);

    // Top-level tables of the body, numbered from 1 in document order.
    int tableCount();
    Result<Table> table(int number);

    // Insertion points.
    Cursor startCursor();
    Cursor endCursor();
    // The start of the paragraph right after the table (one is created when a table or the end
    // of the body follows it).
    Cursor cursorAfter(const Table& table);
    // The first occurrence of `text` (case-sensitive, within one paragraph) at or after
    // `from`, wrapping to the start of the body; the cursor stands right before it.
    Result<Cursor> findText(const QString& text, const Cursor* from = nullptr);

    // The body's text: paragraphs end with '\n'; table cells are separated by '\t'.
    QString plainText() const;

    // Footer and header of the pages (created empty on first use); a cursor at their end.
    Cursor footerCursor();
    Cursor headerCursor();

    DocumentData* data() const { return d.get(); }

private:
    explicit Document(std::unique_ptr<DocumentData> data);
    std::unique_ptr<DocumentData> d;
};

// Appends content at the end of a document: paragraphs, tables and page breaks. Used to
// write templates and manuals from code.
class DocumentBuilder {
public:
    explicit DocumentBuilder(Document& document);

    // Starts a new paragraph with the given format and returns the cursor to fill it.
    Cursor& paragraph(const ParagraphFormat& format = {}, const RunFormat& font = {});
    // A paragraph holding `text` (a template, so that `paragraph({}, font)` means a format).
    template <typename Text, typename = std::enable_if_t<std::is_convertible_v<const Text&, QString>>>
    Cursor& paragraph(const Text& text, const RunFormat& font = {}, const ParagraphFormat& format = {}) {
        return textParagraph(QString(text), font, format);
    }
    // A table of `rows` rows with the given column widths, borders on.
    Table table(const QList<Twips>& columnWidths, int rows = 1, const RunFormat& font = {});
    void pageBreak();
    Cursor& cursor() { return m_cursor; }

private:
    Cursor& textParagraph(const QString& text, const RunFormat& font, const ParagraphFormat& format);
    Document& m_doc;
    Cursor m_cursor;
    bool m_fresh = true;
};

} // namespace velmora::docengine
