#include "platform/data/InstanceLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace velmora {
namespace {

constexpr int kPollMs = 10;

} // namespace

InstanceLock::InstanceLock(const QString& path, int waitMs) : m_path(path), m_waitMs(waitMs), m_lock(path) {
    m_lock.setStaleLockTime(2 * waitMs);
}

Status InstanceLock::acquire(const QString& busyCause) {
    const QDeadlineTimer deadline(m_waitMs);
    do {
        if (QFileInfo(m_path).isDir())
            return Error::make(
                ErrorCode::FileAccess,
                QStringLiteral("donde va su fichero de bloqueo, %1, hay una carpeta; bórrela o "
                               "cámbiele el nombre")
                    .arg(QDir::toNativeSeparators(m_path)));
        if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError)
            return {};
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return Error::make(ErrorCode::FileAccess, busyCause);
}

} // namespace velmora
