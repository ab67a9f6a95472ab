#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace velmora::test {

// While alive, no file of this process can grow past `bytes`: writes beyond it fail as on
// a full disk. Works for any user, root included, unlike read-only folders.
class FileSizeLimit {
public:
    explicit FileSizeLimit([[maybe_unused]] unsigned long long bytes) {
#ifdef Q_OS_UNIX
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
#endif
    }
    ~FileSizeLimit() {
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
#endif
    }
    // Whether the limit can be set on this platform; tests that need it are skipped elsewhere.
    static constexpr bool supported() {
#ifdef Q_OS_UNIX
        return true;
#else
        return false;
#endif
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
#ifdef Q_OS_UNIX
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
#endif
};

} // namespace velmora::test
