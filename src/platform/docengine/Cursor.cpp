#include "platform/docengine/Cursor.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/Table.h"
#include "platform/docengine/WordXml.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cstring>

namespace velmora::docengine {

using namespace wx;

namespace {

Error staleCursor() {
    return Error::make(
        DocError::StaleHandle,
        QStringLiteral("La posición del documento ya no es válida (se ha borrado contenido)."));
}

// Formatting that new content takes from its surroundings: revision marks do not carry over,
// and neither does hidden text (a marker kept invisible in a template must not make what the
// program writes next to it invisible too).
void stripInherited(pugi::xml_node rPr) {
    for (const char* name : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange", "w:vanish",
                             "w:webHidden", "w:specVanish"})
        while (rPr.remove_child(name)) {
        }
}

// Last run inside `n` (a run or a container of runs).
pugi::xml_node lastRunIn(pugi::xml_node n) {
    if (is(n, "w:r"))
        return n;
    if (!isRunContainer(n))
        return {};
    for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling())
        if (pugi::xml_node r = lastRunIn(c))
            return r;
    return {};
}

pugi::xml_node nextElement(pugi::xml_node n) {
    n = n.next_sibling();
    while (n && n.type() != pugi::node_element)
        n = n.next_sibling();
    return n;
}

pugi::xml_node previousElement(pugi::xml_node n) {
    n = n.previous_sibling();
    while (n && n.type() != pugi::node_element)
        n = n.previous_sibling();
    return n;
}

Twips availableWidth(DocumentData& d, pugi::xml_node paragraph) {
    for (pugi::xml_node n = paragraph.parent(); n; n = n.parent())
        if (is(n, "w:tc")) {
            const Twips w = intVal(n.child("w:tcPr").child("w:tcW"), "w:w", 0);
            if (w > 0)
                return std::max<Twips>(w - 216, 288);
        }
    return d.pageSetup().contentWidth();
}

} // namespace

Cursor::Cursor(DocumentData* d, XmlPart* part, pugi::xml_node para, pugi::xml_node before)
    : m_d(d), m_part(part), m_para(para), m_before(before), m_generation(d ? d->generation : 0) {}

bool Cursor::isValid() const {
    return m_d && m_para && m_generation == m_d->generation;
}

Cursor& Cursor::setFont(const RunFormat& format) {
    m_pending = m_pending.mergedWith(format);
    return *this;
}

pugi::xml_node Cursor::inheritedRPr() const {
    pugi::xml_node from = m_before ? m_before.previous_sibling() : m_para.last_child();
    for (pugi::xml_node n = from; n; n = n.previous_sibling())
        if (pugi::xml_node r = lastRunIn(n))
            return r.child("w:rPr");
    return m_para.child("w:pPr").child("w:rPr");
}

pugi::xml_node Cursor::insertRun(const RunFormat& extra) {
    pugi::xml_node run = m_before ? m_para.insert_child_before("w:r", m_before) : m_para.append_child("w:r");
    if (pugi::xml_node model = inheritedRPr(); model && model.first_child()) {
        pugi::xml_node rPr = run.append_copy(model);
        stripInherited(rPr);
    }
    const RunFormat f = m_pending.mergedWith(extra);
    if (!f.isEmpty())
        applyRunFormat(ensureRPr(run), f);
    if (pugi::xml_node rPr = run.child("w:rPr"); rPr && !rPr.first_child())
        run.remove_child(rPr);
    if (m_part)
        m_part->modified = true;
    return run;
}

Cursor& Cursor::insertText(const QString& text, const RunFormat& format) {
    if (!isValid())
        return *this;
    QString clean = xmlSafe(text);
    clean.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    const QStringList parts = clean.split(u'\r');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            insertParagraph();
        if (!parts.at(i).isEmpty())
            appendRunContent(insertRun(format), parts.at(i));
    }
    return *this;
}

Cursor& Cursor::insertLineBreak() {
    if (isValid())
        insertRun({}).append_child("w:br");
    return *this;
}

Cursor& Cursor::insertTab() {
    if (isValid())
        insertRun({}).append_child("w:tab");
    return *this;
}

Cursor& Cursor::insertPageBreak() {
    if (isValid())
        insertRun({}).append_child("w:br").append_attribute("w:type") = "page";
    return *this;
}

Cursor& Cursor::insertParagraph() {
    if (!isValid())
        return *this;
    pugi::xml_node second = m_para.parent().insert_child_after("w:p", m_para);
    if (pugi::xml_node pPr = m_para.child("w:pPr")) {
        second.append_copy(pPr);
        // The section ends with the second half; page-break-before stays with the first.
        pPr.remove_child("w:sectPr");
        if (pugi::xml_node copy = second.child("w:pPr"))
            copy.remove_child("w:pageBreakBefore");
    }
    std::vector<pugi::xml_node> moving;
    for (pugi::xml_node n = m_before; n; n = n.next_sibling())
        moving.push_back(n);
    for (pugi::xml_node n : moving)
        second.append_move(n);
    m_para = second;
    m_before = firstInlineChild(second);
    if (m_part)
        m_part->modified = true;
    return *this;
}

pugi::xml_node Cursor::insertFieldChar(const char* type, const RunFormat& extra) {
    pugi::xml_node run = insertRun(extra);
    run.append_child("w:fldChar").append_attribute("w:fldCharType") = type;
    return run;
}

void Cursor::insertInstr(const char* instr, const RunFormat& extra) {
    pugi::xml_node t = insertRun(extra).append_child("w:instrText");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(instr);
}

namespace {

void addBookmarkStart(DocumentData& d, pugi::xml_node para, pugi::xml_node before, const QString& name,
                      int id) {
    pugi::xml_node bs =
        before ? para.insert_child_before("w:bookmarkStart", before) : para.append_child("w:bookmarkStart");
    bs.append_attribute("w:id") = id;
    bs.append_attribute("w:name") = utf8(name).c_str();
    if (!d.indexDirty && !d.bookmarksByName.contains(name)) {
        d.bookmarksByName.insert(name, bs);
        if (!d.bookmarksByLowerName.contains(name.toLower()))
            d.bookmarksByLowerName.insert(name.toLower(), bs);
    }
}

void addBookmarkEnd(DocumentData& d, pugi::xml_node para, pugi::xml_node before, int id) {
    pugi::xml_node be =
        before ? para.insert_child_before("w:bookmarkEnd", before) : para.append_child("w:bookmarkEnd");
    be.append_attribute("w:id") = id;
    if (!d.indexDirty)
        d.bookmarkEnds[std::to_string(id)] = be;
}

int newBookmarkId(DocumentData& d, bool inMainPart) {
    if (inMainPart)
        d.ensureIndex();
    return d.nextBookmarkId++;
}

} // namespace

Cursor& Cursor::insertTextField(const QString& name, const QString& value, int maxLength) {
    if (!isValid())
        return *this;
    const bool inMain = m_part == &m_d->main;
    const int id = newBookmarkId(*m_d, inMain);
    addBookmarkStart(*m_d, m_para, m_before, name, id);
    pugi::xml_node begin = insertFieldChar("begin", {});
    pugi::xml_node ff = begin.child("w:fldChar").append_child("w:ffData");
    ff.append_child("w:name").append_attribute("w:val") = utf8(name).c_str();
    ff.append_child("w:enabled");
    ff.append_child("w:calcOnExit").append_attribute("w:val") = "0";
    pugi::xml_node input = ff.append_child("w:textInput");
    if (maxLength > 0)
        input.append_child("w:maxLength").append_attribute("w:val") = maxLength;
    insertInstr(" FORMTEXT ", {});
    insertFieldChar("separate", {});
    const QString shown = value.isEmpty() ? QString(5, QChar(0x2002)) : xmlSafe(value);
    appendRunContent(insertRun({}), shown);
    insertFieldChar("end", {});
    addBookmarkEnd(*m_d, m_para, m_before, id);
    if (inMain && !m_d->indexDirty && !m_d->fieldsByName.contains(name)) {
        m_d->fieldsByName.insert(name, begin);
        if (!m_d->fieldsByLowerName.contains(name.toLower()))
            m_d->fieldsByLowerName.insert(name.toLower(), begin);
    }
    return *this;
}

Cursor& Cursor::insertCheckBox(const QString& name, bool checked, double sizePoints) {
    if (!isValid())
        return *this;
    const bool inMain = m_part == &m_d->main;
    const int id = newBookmarkId(*m_d, inMain);
    addBookmarkStart(*m_d, m_para, m_before, name, id);
    pugi::xml_node begin = insertFieldChar("begin", {});
    pugi::xml_node ff = begin.child("w:fldChar").append_child("w:ffData");
    ff.append_child("w:name").append_attribute("w:val") = utf8(name).c_str();
    ff.append_child("w:enabled");
    ff.append_child("w:calcOnExit").append_attribute("w:val") = "0";
    pugi::xml_node box = ff.append_child("w:checkBox");
    if (sizePoints > 0)
        box.append_child("w:size").append_attribute("w:val") = static_cast<int>(sizePoints * 2 + 0.5);
    else
        box.append_child("w:sizeAuto");
    box.append_child("w:default").append_attribute("w:val") = checked ? "1" : "0";
    pugi::xml_node c = box.append_child("w:checked");
    if (!checked)
        c.append_attribute("w:val") = "0";
    insertInstr(" FORMCHECKBOX ", {});
    insertFieldChar("end", {});
    addBookmarkEnd(*m_d, m_para, m_before, id);
    if (inMain && !m_d->indexDirty && !m_d->fieldsByName.contains(name)) {
        m_d->fieldsByName.insert(name, begin);
        if (!m_d->fieldsByLowerName.contains(name.toLower()))
            m_d->fieldsByLowerName.insert(name.toLower(), begin);
    }
    return *this;
}

Cursor& Cursor::insertBookmark(const QString& name, const QString& text) {
    if (!isValid())
        return *this;
    const int id = newBookmarkId(*m_d, m_part == &m_d->main);
    addBookmarkStart(*m_d, m_para, m_before, name, id);
    if (!text.isEmpty())
        appendRunContent(insertRun({}), xmlSafe(text));
    addBookmarkEnd(*m_d, m_para, m_before, id);
    return *this;
}

Cursor& Cursor::insertPageNumber() {
    if (!isValid())
        return *this;
    insertFieldChar("begin", {});
    insertInstr(" PAGE ", {});
    insertFieldChar("separate", {});
    appendRunContent(insertRun({}), QStringLiteral("1"));
    insertFieldChar("end", {});
    return *this;
}

Cursor& Cursor::insertPageCount() {
    if (!isValid())
        return *this;
    insertFieldChar("begin", {});
    insertInstr(" NUMPAGES ", {});
    insertFieldChar("separate", {});
    appendRunContent(insertRun({}), QStringLiteral("1"));
    insertFieldChar("end", {});
    return *this;
}

Status Cursor::insertPicture(const QString& imageFile, QSize size) {
    if (!isValid())
        return staleCursor();
    QFile f(imageFile);
    if (!f.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No se puede leer la imagen %1.").arg(imageFile));
    QByteArray bytes = f.readAll();
    f.close();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    const QImage image = reader.read();
    if (image.isNull())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("La imagen %1 no es válida.").arg(imageFile));
    // PNG, JPEG and GIF are stored as they are; anything else becomes PNG, which keeps every pixel.
    if (format == "png" || format == "gif")
        return insertPictureData(bytes, QString::fromLatin1(format), image.size(), size);
    if (format == "jpeg" || format == "jpg")
        return insertPictureData(bytes, QStringLiteral("jpg"), image.size(), size);
    return insertImage(image, size);
}

Status Cursor::insertImage(const QImage& image, QSize size) {
    if (!isValid())
        return staleCursor();
    if (image.isNull())
        return Error::make(ErrorCode::FileAccess, QStringLiteral("La imagen no es válida."));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede guardar la imagen en el documento."));
    return insertPictureData(png, QStringLiteral("png"), image.size(), size);
}

Status Cursor::insertPictureData(const QByteArray& bytes, const QString& extension, QSize pixels,
                                 QSize size) {
    if (size.isEmpty())
        size = QSize(pixels.width() * 15, pixels.height() * 15); // 96 dpi
    const QString rId = m_d->addImage(*m_part, bytes, extension);
    if (m_part == &m_d->main)
        m_d->ensureIndex();
    const int id = m_d->nextDrawingId++;
    pugi::xml_node run = insertRun({});
    const std::string xml =
        QStringLiteral(
            "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" xmlns:wp=\"%1\">"
            "<wp:extent cx=\"%3\" cy=\"%4\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>"
            "<wp:docPr id=\"%5\" name=\"Imagen %5\"/>"
            "<wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a=\"%2\" "
            "noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
            "<a:graphic xmlns:a=\"%2\"><a:graphicData "
            "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
            "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
            "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"Imagen %5\"/><pic:cNvPicPr/></pic:nvPicPr>"
            "<pic:blipFill><a:blip r:embed=\"%6\" "
            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
            "<a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
            "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%3\" cy=\"%4\"/></a:xfrm>"
            "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
            "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>")
            .arg(QLatin1String(kNsWp), QLatin1String(kNsA))
            .arg(qint64(size.width()) * 635)
            .arg(qint64(size.height()) * 635)
            .arg(id)
            .arg(rId)
            .toStdString();
    if (!run.append_buffer(xml.data(), xml.size()))
        return Error::make(ErrorCode::FileAccess, QStringLiteral("No se puede insertar la imagen."));
    return {};
}

Cursor& Cursor::setAlignment(Alignment alignment) {
    ParagraphFormat f;
    f.alignment = alignment;
    return setParagraphFormat(f);
}

Cursor& Cursor::setParagraphFormat(const ParagraphFormat& format) {
    if (isValid())
        applyParagraphFormat(ensurePPr(m_para), format);
    return *this;
}

bool Cursor::atParagraphStart() const {
    if (!isValid())
        return false;
    for (pugi::xml_node n = m_para.first_child(); n && n != m_before; n = n.next_sibling())
        if (isInlineContent(n))
            return false;
    return true;
}

QString Cursor::paragraphText() const {
    QString text;
    if (!isValid())
        return text;
    for (pugi::xml_node n = m_para; n; n = nextInOrder(n, m_para, is(n, "w:pPr") || is(n, "w:rPr")))
        if (is(n, "w:t"))
            text += qs(n.child_value());
    return text;
}

bool Cursor::paragraphBreaksPageBefore() const {
    return isValid() && onOff(m_para.child("w:pPr").child("w:pageBreakBefore"));
}

bool Cursor::atParagraphEnd() const {
    if (!isValid())
        return false;
    for (pugi::xml_node n = m_before; n; n = n.next_sibling())
        if (isInlineContent(n))
            return false;
    return true;
}

Cursor& Cursor::moveToParagraphStart() {
    if (isValid())
        m_before = firstInlineChild(m_para);
    return *this;
}

Cursor& Cursor::moveToParagraphEnd() {
    if (isValid())
        m_before = pugi::xml_node();
    return *this;
}

bool Cursor::movePreviousParagraph() {
    if (!isValid())
        return false;
    pugi::xml_node prev = previousElement(m_para);
    if (!is(prev, "w:p"))
        return false;
    m_para = prev;
    m_before = pugi::xml_node();
    return true;
}

bool Cursor::moveNextParagraph() {
    if (!isValid())
        return false;
    pugi::xml_node next = nextElement(m_para);
    if (!is(next, "w:p"))
        return false;
    m_para = next;
    m_before = firstInlineChild(next);
    return true;
}

Result<Table> Cursor::insertTable(int rows, int columns, const QList<Twips>& widths) {
    if (!isValid())
        return staleCursor();
    if (rows < 1 || columns < 1 || columns > 63 || rows > 32767)
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("Tamaño de tabla no válido (%1 x %2).").arg(rows).arg(columns));
    QList<Twips> grid = widths;
    if (grid.size() != columns) {
        grid.clear();
        const Twips each = std::max<Twips>(availableWidth(*m_d, m_para) / columns, 144);
        for (int i = 0; i < columns; ++i)
            grid << each;
    }

    // Where the table goes.
    pugi::xml_node parent = m_para.parent();
    pugi::xml_node anchorBefore; // the table is inserted before this node
    const bool start = atParagraphStart();
    const bool end = atParagraphEnd();
    if (start) {
        anchorBefore = m_para;
    } else if (end) {
        pugi::xml_node next = nextElement(m_para);
        if (!is(next, "w:p"))
            next = parent.insert_child_after("w:p", m_para);
        anchorBefore = next;
    } else {
        insertParagraph();
        anchorBefore = m_para;
    }

    // Cell paragraphs start with the formatting text would take here.
    pugi::xml_document scratch;
    pugi::xml_node markRPr = scratch.append_child("w:rPr");
    if (pugi::xml_node inherited = inheritedRPr())
        for (pugi::xml_node c = inherited.first_child(); c; c = c.next_sibling())
            markRPr.append_copy(c);
    stripInherited(markRPr);
    if (!m_pending.isEmpty())
        applyRunFormat(markRPr, m_pending);

    pugi::xml_node tbl = parent.insert_child_before("w:tbl", anchorBefore);
    pugi::xml_node tblPr = tbl.append_child("w:tblPr");
    pugi::xml_node tblW = tblPrChild(tblPr, "w:tblW");
    tblW.append_attribute("w:w") = 0;
    tblW.append_attribute("w:type") = "auto";
    pugi::xml_node borders = tblPrChild(tblPr, "w:tblBorders");
    for (const char* edge : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        pugi::xml_node e = borders.append_child(edge);
        e.append_attribute("w:val") = "single";
        e.append_attribute("w:sz") = 4;
        e.append_attribute("w:space") = 0;
        e.append_attribute("w:color") = "auto";
    }
    tblPrChild(tblPr, "w:tblLayout").append_attribute("w:type") = "fixed";
    pugi::xml_node look = tblPrChild(tblPr, "w:tblLook");
    look.append_attribute("w:val") = "04A0";
    pugi::xml_node gridNode = tbl.append_child("w:tblGrid");
    for (Twips w : grid)
        gridNode.append_child("w:gridCol").append_attribute("w:w") = w;
    pugi::xml_node proto = scratch.append_child("w:tr");
    for (Twips w : grid) {
        pugi::xml_node tc = proto.append_child("w:tc");
        pugi::xml_node tcW = tc.append_child("w:tcPr").append_child("w:tcW");
        tcW.append_attribute("w:w") = w;
        tcW.append_attribute("w:type") = "dxa";
        pugi::xml_node p = tc.append_child("w:p");
        if (markRPr.first_child())
            p.append_child("w:pPr").append_copy(markRPr);
    }
    for (int r = 0; r < rows; ++r)
        tbl.append_copy(proto);

    m_d->noteTableInserted();
    if (m_part)
        m_part->modified = true;
    // The cursor goes to the paragraph after the table.
    m_para = anchorBefore;
    m_before = firstInlineChild(anchorBefore);
    return Table(m_d, m_d->stateFor(tbl, m_part));
}

} // namespace velmora::docengine
