#include "signing/PdfAttachment.h"

#include <QDir>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace velmora {

Status attachFile(const QString& input, const QString& output, const QString& name, const QByteArray& bytes) {
    try {
        // qpdf keeps the file names it is given until it writes: they must outlive it.
        const QByteArray inputName = QFile::encodeName(input);
        const QByteArray outputName = QFile::encodeName(output);
        QPDF pdf;
        pdf.processFile(inputName.constData());
        const std::string fileName = name.toStdString();
        auto stream = QPDFEFStreamObjectHelper::createEFStream(pdf, bytes.toStdString());
        stream.setSubtype("text/plain");
        auto fileSpec = QPDFFileSpecObjectHelper::createFileSpec(pdf, fileName, stream);
        QPDFEmbeddedFileDocumentHelper(pdf).replaceEmbeddedFile(fileName, fileSpec);
        QPDFWriter writer(pdf, outputName.constData());
        writer.write();
    } catch (const std::exception& failure) {
        return Error::make(ErrorCode::FileAccess, QStringLiteral("No se ha podido adjuntar %1 al PDF %2: %3")
                                                      .arg(name, QDir::toNativeSeparators(input),
                                                           QString::fromLocal8Bit(failure.what())));
    }
    return {};
}

} // namespace velmora
