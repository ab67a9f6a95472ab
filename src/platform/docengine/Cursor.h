#pragma once

#include "platform/Result.h"
#include "platform/docengine/DocTypes.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <pugixml.hpp>

namespace velmora::docengine {

struct DocumentData;
struct XmlPart;
class Table;

// An insertion point inside a paragraph, with the character formatting that text typed
// there takes. Text inserted at a cursor goes before the cursor, which stays after it.
class Cursor {
public:
    Cursor() = default;
    // False for a default cursor and for one made stale by a removal in the document.
    bool isValid() const;
    // Calls on a cursor that is not valid change nothing. The first such call is kept here,
    // so that code writing through a chain of calls checks once, at the end.
    Status status() const;

    // Formatting for the text typed from now on (on top of what it inherits from the text
    // before the cursor).
    Cursor& setFont(const RunFormat& format);
    Cursor& insertText(const QString& text, const RunFormat& format = {});
    Cursor& insertLineBreak();
    Cursor& insertTab();
    // A page break at the cursor: what follows starts a new page.
    Cursor& insertPageBreak();
    // Splits the paragraph at the cursor; the cursor moves to the start of the second part.
    Cursor& insertParagraph();

    // Legacy form fields and bookmarks (for writing templates).
    Cursor& insertTextField(const QString& name, const QString& value = {}, int maxLength = 0);
    Cursor& insertCheckBox(const QString& name, bool checked = false, double sizePoints = 0);
    Cursor& insertBookmark(const QString& name, const QString& text = {});
    // Page number / page count fields.
    Cursor& insertPageNumber();
    Cursor& insertPageCount();

    // An inline picture stored in the document; `size` is in twips (0 for the image's own
    // size at 96 dpi). The file can be deleted afterwards.
    Status insertPicture(const QString& imageFile, QSize size = {});
    Status insertImage(const QImage& image, QSize size = {});

    Cursor& setAlignment(Alignment alignment);
    Cursor& setParagraphFormat(const ParagraphFormat& format);

    // A new table at the cursor: before the paragraph when the cursor is at its start, after it
    // when at its end, otherwise between the two halves of the split paragraph. Column widths
    // default to equal parts of the text width; borders are on.
    Result<Table> insertTable(int rows, int columns, const QList<Twips>& widths = {});

    bool atParagraphStart() const;
    bool atParagraphEnd() const;
    Cursor& moveToParagraphStart();
    Cursor& moveToParagraphEnd();
    // To the end of the previous / the start of the next paragraph at the same level;
    // false when a table or nothing is there.
    bool movePreviousParagraph();
    bool moveNextParagraph();

    // The text of the cursor's paragraph (its w:t content, fields' results included).
    QString paragraphText() const;
    // Whether the cursor's paragraph starts a new page.
    bool paragraphBreaksPageBefore() const;
    bool inSameParagraphAs(const Cursor& other) const { return isValid() && m_para == other.m_para; }

private:
    friend class Document;
    friend class Table;
    friend class DocumentBuilder;
    // The XML under the cursor, for the engine's own classes only.
    pugi::xml_node paragraph() const { return m_para; }
    pugi::xml_node before() const { return m_before; }
    Cursor(DocumentData* d, XmlPart* part, pugi::xml_node para, pugi::xml_node before);
    pugi::xml_node insertRun(const RunFormat& extra);
    pugi::xml_node inheritedRPr() const;
    pugi::xml_node insertFieldChar(const char* type, const RunFormat& extra);
    void insertInstr(const char* instr, const RunFormat& extra);
    Status insertPictureData(const QByteArray& bytes, const QString& extension, QSize pixels, QSize size);
    static Error staleCursor();
    // isValid(), remembering a call that finds the cursor stale.
    bool usable();

    DocumentData* m_d = nullptr;
    XmlPart* m_part = nullptr;
    pugi::xml_node m_para;
    pugi::xml_node m_before; // empty: at the end of the paragraph
    RunFormat m_pending;
    quint64 m_generation = 0;
    bool m_droppedCall = false;
};

} // namespace velmora::docengine
