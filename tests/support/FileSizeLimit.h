#pragma once
// A disk that fills up after a given number of bytes, for this process only:
// while the limit holds, any write that would grow a file beyond it fails
// with EFBIG, as a write to a full disk fails with ENOSPC. No privileges or
// special file systems needed.

#include <csignal>
#include <cstdint>
#include <sys/resource.h>

namespace vra::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        // The kernel would otherwise end the process instead of failing the write.
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        active_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

}  // namespace vra::test
