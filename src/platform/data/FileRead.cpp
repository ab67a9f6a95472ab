#include "platform/data/FileRead.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {
namespace {

Error failed(const QString& cause) {
    return Error::make(ErrorCode::FileAccess, cause);
}

Error tooLarge(qint64 maxBytes) {
    return failed(
        QStringLiteral("ocupa más de %1 MB, el máximo para este fichero").arg(maxBytes / kMegabyte));
}

Error notRegular() {
    return failed(QStringLiteral("no es un fichero normal (es un dispositivo o una tubería)"));
}

const QString& linkCause() {
    static const QString cause =
        QStringLiteral("es un enlace a otro fichero, y el programa no lee a través de enlaces");
    return cause;
}

#ifdef Q_OS_UNIX
Error readFailure(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return Error::make(ErrorCode::FileNotFound, QStringLiteral("no existe"));
    case ELOOP:
        return failed(linkCause());
    case EACCES:
    case EPERM:
        return failed(QStringLiteral("no tiene permiso para leerlo"));
    case EISDIR:
        return failed(QStringLiteral("en su lugar hay una carpeta"));
    case EIO:
        return failed(QStringLiteral("el disco o la red han fallado al leerlo"));
    default:
        return failed(QString::fromLocal8Bit(std::strerror(systemError)));
    }
}

struct DescriptorCloser {
    int fd;
    ~DescriptorCloser() { ::close(fd); }
};
#endif

} // namespace

Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) {
#ifdef Q_OS_UNIX
    // Not blocking, so that a pipe at the name is refused instead of waiting for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return readFailure(errno);
    const DescriptorCloser closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return readFailure(errno);
    if (S_ISDIR(status.st_mode))
        return readFailure(EISDIR);
    if (!S_ISREG(status.st_mode))
        return notRegular();
    if (status.st_size > maxBytes)
        return tooLarge(maxBytes);
    // Read to the end rather than to the size seen: the file may be growing.
    QByteArray bytes;
    constexpr qint64 kChunk = 64 * 1024;
    for (;;) {
        const qsizetype done = bytes.size();
        bytes.resize(done + kChunk);
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(kChunk));
        if (n < 0 && errno == EINTR) {
            bytes.resize(done);
            continue;
        }
        if (n < 0)
            return readFailure(errno);
        bytes.resize(done + n);
        if (n == 0)
            return bytes;
        if (bytes.size() > maxBytes)
            return tooLarge(maxBytes);
    }
#else
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction() || info.isShortcut())
        return failed(linkCause());
    if (!info.exists())
        return Error::make(ErrorCode::FileNotFound, QStringLiteral("no existe"));
    if (info.isDir())
        return failed(QStringLiteral("en su lugar hay una carpeta"));
    if (!info.isFile())
        return notRegular();
    if (info.size() > maxBytes)
        return tooLarge(maxBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (bytes.size() > maxBytes)
        return tooLarge(maxBytes);
    return bytes;
#endif
}

} // namespace velmora
