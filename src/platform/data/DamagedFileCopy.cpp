#include "platform/data/DamagedFileCopy.h"

#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {
namespace {

// Enough tries for many copies of one file within the same second.
constexpr int kMaxNameTries = 1000;

} // namespace

Result<QString> keepDamagedCopy(const QString& folder, const QString& originalName, const QByteArray& bytes,
                                const QDateTime& when, std::optional<QFileDevice::Permissions> permissions) {
    const QString stem = QFileInfo(originalName).fileName() + QStringLiteral(".ilegible-") +
                         when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir dir(folder);
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QString path = dir.filePath(n == 1 ? stem : stem + QStringLiteral("-%1").arg(n));
        // Anything at the name, a dangling link included, is somebody else's.
        if (QFileInfo(path).isSymLink() || QFileInfo::exists(path))
            continue;
        const Status written = writeNewFile(path, bytes, permissions);
        if (written.ok())
            return path;
        // Another instance took the name in the meantime: try the next one.
        if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path))
            return written.error();
    }
    return Error::make(ErrorCode::FileAccess, QStringLiteral("No se ha podido guardar una copia de %1 en %2")
                                                  .arg(originalName, QDir::toNativeSeparators(folder)));
}

Result<QString> keepDamagedCopyOf(const QString& path, const QString& folder, const QDateTime& when) {
    if (isLink(path))
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha copiado %1: es un enlace a otro fichero, y el programa no "
                           "lee a través de enlaces.")
                .arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se ha podido leer %1").arg(QDir::toNativeSeparators(path)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se ha podido leer %1").arg(QDir::toNativeSeparators(path)));
    return keepDamagedCopy(folder, QFileInfo(path).fileName(), bytes, when, file.permissions());
}

} // namespace velmora
