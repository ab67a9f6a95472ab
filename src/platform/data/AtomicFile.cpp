#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QSaveFile>

namespace velmora {

Status writeFileAtomically(const QString& path, const QByteArray& bytes) {
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
