// A full disk on demand: a file-size limit (RLIMIT_FSIZE) makes every write past it fail with
// EFBIG (SIGXFSZ is ignored), as a disk that fills up would.
#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace TestFiles {

// Runs Operation in a child process whose files may not grow past Limit bytes; its result
// is the child's exit code (-1 when the child did not end normally).
inline int RunUnderFileSizeLimit(rlim_t limit, const std::function<int()>& operation)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        ::_exit(operation());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Lowers this process's own soft limit while it lives (for work on other threads, which a
// child process would not have); the old limit and SIGXFSZ handling come back after.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

}  // namespace TestFiles
