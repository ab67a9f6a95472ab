#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace velmora {

Status checkReplaceable(const QString& path) {
    // QFileInfo follows a symbolic link, so a link to a device is judged by the device.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha podido guardar el fichero %1: ya existe y no es un fichero "
                           "normal (es una carpeta, un dispositivo o una tubería).")
                .arg(QDir::toNativeSeparators(path)));
    return {};
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes) {
    // Renaming over a device or a pipe would put a regular file in its place.
    VELMORA_TRY(checkReplaceable(path));
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qint64 written = 0;
    while (ok && written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        ok = chunk > 0;
        written += std::max<qint64>(chunk, 0);
    }
    if (!ok || !file.commit()) {
        file.cancelWriting();
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha podido guardar el fichero %1").arg(QDir::toNativeSeparators(path)));
    }
    return {};
}

} // namespace velmora
