#include "platform/docengine/Cursor.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace velmora::docengine {

using namespace wx;

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

} // namespace velmora::docengine
