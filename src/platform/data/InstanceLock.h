#pragma once

#include "platform/Result.h"

#include <QLockFile>
#include <QString>

namespace velmora {

// A lock file that the instances of the program sharing a folder take before changing a file
// there. A lock left by a killed instance is taken over once it is older than twice the
// wait.
class InstanceLock {
public:
    InstanceLock(const QString& path, int waitMs);

    // Takes the lock, waiting up to the wait for another instance to release it, polling
    // often rather than through QLockFile's growing sleeps, so that a save waiting behind
    // another one goes on as soon as that one ends. A folder where no lock file can be made
    // (read-only) holds no save to wait for, and is no error.
    //
    // The error's description is the cause alone, for the caller's sentence: `busyCause`
    // when the wait ends, or the name of a folder standing where the lock file goes (every
    // try would fail as if another instance held it, for ever).
    Status acquire(const QString& busyCause);

private:
    QString m_path;
    int m_waitMs;
    QLockFile m_lock;
};

} // namespace velmora
