#pragma once

#include <csignal>
#include <sys/resource.h>

namespace velmora::test {

// While alive, no file of this process can grow past `bytes`: writes beyond it fail as on
// a full disk. Works for any user, root included, unlike read-only folders.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

} // namespace velmora::test
