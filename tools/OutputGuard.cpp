#include "OutputGuard.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace velmora::tools {
namespace {

Error refused(const QString& output, const QString& why) {
    return Error::make(ErrorCode::FileAccess,
                       QStringLiteral("No se escribe %1: %2").arg(QDir::toNativeSeparators(output), why));
}

// Same file on disk (same device and file number), which also catches hard links.
bool sameFile(const QString& a, const QString& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(QFileInfo(a).filesystemFilePath(),
                                                  QFileInfo(b).filesystemFilePath(), error);
    return !error && same;
}

bool isInside(const QString& canonicalFile, const QString& folder) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !root.isEmpty() && canonicalFile.startsWith(root + QLatin1Char('/'));
}

} // namespace

Status checkOutputFile(const QString& output, const QStringList& inputs, const QString& installation) {
    if (output.trimmed().isEmpty())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("No se ha indicado el fichero de salida (el nombre está vacío)."));
    const QFileInfo info(output);
    if (info.isDir())
        return refused(output, QStringLiteral("es una carpeta."));
    if (!info.exists())
        return {};
    for (const QString& input : inputs)
        if (sameFile(output, input))
            return refused(
                output,
                QStringLiteral("es el mismo fichero que se lee (%1).").arg(QDir::toNativeSeparators(input)));
    const QString canonical = info.canonicalFilePath();
    if (!installation.isEmpty() && isInside(canonical, installation) &&
        QFileInfo(canonical).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        return refused(output, QStringLiteral("es un fichero de la instalación."));
    return {};
}

} // namespace velmora::tools
