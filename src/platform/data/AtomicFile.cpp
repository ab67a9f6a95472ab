#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

namespace {

// Enough fresh names for any number of writers of one file at once.
constexpr int kNewNameTries = 100;

std::filesystem::path fsPath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Error linkRefused(const QString& path) {
    return Error::make(ErrorCode::FileAccess,
                       QStringLiteral("No se ha escrito el fichero %1: es un enlace a otro fichero, y el "
                                      "programa no escribe a través de enlaces.")
                           .arg(native(path)));
}

Error writeError(const QString& path, const QString& cause) {
    return Error::make(ErrorCode::FileAccess,
                       QStringLiteral("No se ha podido escribir el fichero %1: %2").arg(native(path), cause));
}

#ifdef Q_OS_UNIX
// A rename is only durable once the folder that holds the name is on the disk too.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The owner, group and other bits of a file's mode.
mode_t modeBits(QFileDevice::Permissions p) {
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR},  {QFileDevice::WriteOwner, S_IWUSR},
        {QFileDevice::ExeOwner, S_IXUSR},   {QFileDevice::ReadGroup, S_IRGRP},
        {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH},  {QFileDevice::WriteOther, S_IWOTH},
        {QFileDevice::ExeOther, S_IXOTH}};
    for (const auto& [permission, bit] : bits)
        if (p.testFlag(permission))
            mode |= bit;
    return mode;
}
#endif

} // namespace

QString fileWriteCause(int systemError, const QString& folder) {
    switch (systemError) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return QStringLiteral("no queda espacio en el disco");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("no tiene permiso para escribir en %1").arg(native(folder));
    default:
        return QString::fromLocal8Bit(std::strerror(systemError));
    }
}

bool isLink(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Status writeNewFile(const QString& path, const QByteArray& bytes,
                    std::optional<QFileDevice::Permissions> permissions) {
    const QString folder = QFileInfo(path).absolutePath();
#ifdef Q_OS_UNIX
    // Plain system calls: the cause of a failure (a full disk, no permission) is the
    // system's error number, which Qt's file classes do not pass on.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return writeError(path, fileWriteCause(errno, folder));
    int failure = 0;
    if (permissions && ::fchmod(fd, modeBits(*permissions)) != 0)
        failure = errno;
    for (qsizetype done = 0; done < bytes.size() && failure == 0;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0)
            failure = ENOSPC;
        else if (errno != EINTR)
            failure = errno;
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(name.constData());
        return writeError(path, fileWriteCause(failure, folder));
    }
    return {};
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return writeError(path, file.errorString());
    bool ok = true;
    for (qint64 done = 0; ok && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += std::max<qint64>(n, 0);
    }
    if (ok && permissions)
        ok = file.setPermissions(*permissions);
    const QString cause = file.errorString();
    file.close();
    if (!ok) {
        QFile::remove(path);
        return writeError(path, cause);
    }
    return {};
#endif
}

Status replaceFile(const QString& from, const QString& to) {
    if (isLink(to))
        return linkRefused(to);
    if (QFileInfo(to).isDir())
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha escrito el fichero %1: en su lugar hay una carpeta.").arg(native(to)));
    std::error_code failure;
    std::filesystem::rename(fsPath(from), fsPath(to), failure);
    if (failure)
        return writeError(to, fileWriteCause(failure.value(), QFileInfo(to).absolutePath()));
#ifdef Q_OS_UNIX
    syncFolder(QFileInfo(to).absolutePath());
#endif
    return {};
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (isLink(path))
        return linkRefused(path);
    // Renaming over a device or a pipe would put a regular file in its place.
    VELMORA_TRY(checkReplaceable(path));
    // The new bytes go to a name of their own beside the file, created afresh (never through
    // a link planted there), and only a whole, flushed copy is renamed over the old file.
    for (int attempt = 0; attempt < kNewNameTries; ++attempt) {
        const QString fresh =
            path +
            QStringLiteral(".nuevo-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        if (isLink(fresh) || QFileInfo::exists(fresh))
            continue;
        const QFileInfo old(path);
        if (const Status written =
                writeNewFile(fresh, bytes, old.exists() ? std::optional(old.permissions()) : std::nullopt);
            !written.ok()) {
            Error error = written.error(); // the user knows the file, not its new name
            error.description.replace(native(fresh), native(path));
            return error;
        }
        const Status replaced = replaceFile(fresh, path);
        if (!replaced.ok())
            QFile::remove(fresh);
        return replaced;
    }
    return Error::make(
        ErrorCode::FileAccess,
        QStringLiteral("No se ha podido guardar el fichero %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace velmora
