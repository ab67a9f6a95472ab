#include "platform/PdfDrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace velmora {
namespace {

// The module lies in lib/velmora/modules beside the programs' folder: in an installation
// (/usr/bin and /usr/lib/velmora/modules) and in a build tree alike.
QString moduleBasePath() {
    const QString programs =
        QCoreApplication::instance()
            ? QCoreApplication::applicationDirPath()
            : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    return QDir(programs).filePath(QStringLiteral("../lib/velmora/modules/velmora_pdf"));
}

struct Module {
    VelmoraOpenPdfFunction open = nullptr;
    QString failure;
};

// Loaded once, by the first caller (the office reader opens files from several threads).
const Module& module() {
    static const Module loaded = [] {
        QLibrary library(moduleBasePath());
        if (!library.load())
            return Module{nullptr, library.errorString()};
        auto open = reinterpret_cast<VelmoraOpenPdfFunction>(library.resolve(kVelmoraOpenPdfSymbol));
        if (!open)
            return Module{nullptr, library.errorString()};
        return Module{open, QString()}; // stays loaded for the rest of the process
    }();
    return loaded;
}

} // namespace

Result<std::unique_ptr<PdfDrawing>> openPdfDrawing(const QString& path, bool antialiased,
                                                   const QString& unreadable) {
    const Module& pdf = module();
    if (!pdf.open)
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("no se ha podido cargar el lector de PDF de la instalación (%1)")
                               .arg(pdf.failure));
    std::unique_ptr<PdfDrawing> drawing(pdf.open(path, antialiased));
    if (!drawing)
        return Error::make(ErrorCode::FileAccess, unreadable);
    return drawing;
}

} // namespace velmora
