#pragma once

#include "platform/docengine/Document.h"
#include "platform/docengine/DocxPackage.h"

#include <QByteArray>
#include <QImage>

namespace velmora::test {

using namespace velmora::docengine;

// A small official-form-like template: bookmarks, text and check-box fields, three tables (the
// third one a course list with a header row) and a hidden marker paragraph below it.
inline Document sampleTemplate() {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(u"SOLICITUD DE TRASLADO"_s, RunFormat{.font = u"Arial"_s, .size = 14, .bold = true},
                ParagraphFormat{.alignment = Alignment::Center});
    b.paragraph().insertText(u"DNI: "_s).insertBookmark(u"DNICAB"_s);
    b.paragraph().insertText(u"Fecha: "_s).insertBookmark(u"FECHAIMPR"_s);
    b.paragraph()
        .insertText(u"Nombre: "_s)
        .insertTextField(u"NOMBRE"_s)
        .insertText(u" Primer apellido: "_s)
        .insertTextField(u"PRIMERAPELLIDO"_s);
    b.paragraph()
        .insertText(u"Discapacidad: Sí "_s)
        .insertCheckBox(u"DISCAPACIDADSI"_s)
        .insertText(u" No "_s)
        .insertCheckBox(u"DISCAPACIDADNO"_s, true);
    b.paragraph().insertText(u"Acompaña petición: "_s).insertCheckBox(u"SEACOMPAÑAPETICIONSI"_s);
    Table t1 = b.table({3000, 5500}, 2);
    (void)t1.setCellText(1, 1, u"Provincia"_s);
    (void)t1.setCellText(2, 1, u"Provincia (bis)"_s);
    Cursor c1 = t1.cellCursor(1, 2).value();
    c1.insertTextField(u"PROVINCIA"_s);
    Cursor c2 = t1.cellCursor(2, 2).value();
    c2.insertTextField(u"PROVINCIA1"_s);
    b.paragraph(u"Código de barras:"_s);
    b.table({8500}, 1);
    b.paragraph(u"Cursos"_s);
    Table courses = b.table({4000, 1200, 1000, 2300}, 1, RunFormat{.font = u"Times New Roman"_s, .size = 10});
    (void)courses.setCellText(1, 1, u"Curso"_s);
    (void)courses.setCellText(1, 2, u"N Horas"_s);
    (void)courses.setCellText(1, 3, u"Año"_s);
    (void)courses.setCellText(1, 4, u"Centro"_s);
    (void)courses.setRowFont(1, RunFormat{.bold = true});
    b.paragraph(u"-&C&-"_s, RunFormat{.hidden = true});
    return doc;
}

// The bytes of a blank document's package with `part` replaced by `bytes`.
inline QByteArray packageWith(const QString& part, const QByteArray& bytes) {
    auto pkg = DocxPackage::fromBytes(Document().toBytes().value()).value();
    pkg.setPart(part, bytes);
    return pkg.toBytes().value();
}

// A package whose body is the given WordprocessingML (children of w:body, sectPr included when
// wanted), for reading files written by other word processors or built to do harm.
inline QByteArray packageWithBody(const QByteArray& bodyXml) {
    return packageWith(
        u"word/document.xml"_s,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>" +
            bodyXml + "</w:body></w:document>");
}

inline Document documentWithBody(const QString& bodyXml) {
    return Document::fromBytes(packageWithBody(bodyXml.toUtf8())).value();
}

// The document as the next program to open its file reads it.
inline Document reopened(const Document& doc) {
    return Document::fromBytes(doc.toBytes().value()).value();
}

// The main part of a document as text, for checks on what is written to the file.
inline QString documentXml(const Document& doc) {
    auto pkg = DocxPackage::fromBytes(doc.toBytes().value()).value();
    return QString::fromUtf8(pkg.part(u"word/document.xml"_s));
}

// A black-and-white checkerboard of `n` by `n` pixels, black at the top-left.
inline QImage checkerboard(int n) {
    QImage img(n, n, QImage::Format_RGB32);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            img.setPixel(x, y, ((x + y) % 2 == 0) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return img;
}

} // namespace velmora::test
