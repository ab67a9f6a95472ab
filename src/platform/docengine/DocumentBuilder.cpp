#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

namespace velmora::docengine {

using namespace wx;

// ---- builder --------------------------------------------------------------------------------

DocumentBuilder::DocumentBuilder(Document& document) : m_doc(document), m_cursor(document.endCursor()) {}

namespace {

bool hasInlineContent(pugi::xml_node p) {
    for (pugi::xml_node c = p.first_child(); c; c = c.next_sibling())
        if (isInlineContent(c))
            return true;
    return false;
}

} // namespace

Cursor& DocumentBuilder::paragraph(const ParagraphFormat& format, const RunFormat& font) {
    Cursor end = m_doc.endCursor();
    pugi::xml_node p = end.paragraph();
    const bool reusable = !hasInlineContent(p) && !(!m_fresh && p == m_cursor.paragraph());
    if (!reusable) {
        pugi::xml_node fresh = p.parent().insert_child_after("w:p", p);
        end = Cursor(m_doc.data(), &m_doc.data()->main, fresh, {});
    }
    m_cursor = end;
    m_fresh = false;
    // A reused paragraph starts over with the new format (a section break it ends stays).
    if (pugi::xml_node pPr = end.paragraph().child("w:pPr")) {
        for (pugi::xml_node c = pPr.first_child(); c;) {
            pugi::xml_node next = c.next_sibling();
            if (!is(c, "w:sectPr"))
                pPr.remove_child(c);
            c = next;
        }
        if (!pPr.first_child())
            pPr.parent().remove_child(pPr);
    }
    m_cursor.setParagraphFormat(format);
    if (!font.isEmpty()) {
        m_cursor.setFont(font);
        applyRunFormat(pPrChild(ensurePPr(m_cursor.paragraph()), "w:rPr"), font);
    }
    return m_cursor;
}

Cursor& DocumentBuilder::textParagraph(const QString& text, const RunFormat& font,
                                       const ParagraphFormat& format) {
    paragraph(format, font);
    m_cursor.insertText(text);
    return m_cursor;
}

Table DocumentBuilder::table(const QList<Twips>& columnWidths, int rows, const RunFormat& font) {
    Cursor end = m_doc.endCursor();
    pugi::xml_node p = end.paragraph();
    if (hasInlineContent(p) || (!m_fresh && p == m_cursor.paragraph())) {
        pugi::xml_node fresh = p.parent().insert_child_after("w:p", p);
        end = Cursor(m_doc.data(), &m_doc.data()->main, fresh, {});
    }
    end.setFont(font);
    auto t =
        end.insertTable(rows, static_cast<int>(std::max<qsizetype>(1, columnWidths.size())), columnWidths);
    m_fresh = true;
    m_cursor = m_doc.endCursor();
    if (!t.ok())
        return {};
    if (!font.isEmpty())
        t.value().setFont(font);
    return t.value();
}

void DocumentBuilder::pageBreak() {
    paragraph();
    m_cursor.insertPageBreak();
}

} // namespace velmora::docengine
