#include "core/base/AtomicFile.h"

#include "core/base/KeptFile.h"
#include "core/base/StopCleanup.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vra {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
// Enough tries that only a folder we cannot create in stops us, not chance.
constexpr unsigned kMaxAttempts = 100;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Short and of a fixed length whatever the target's name: a target whose name
// is near the file system's limit must still have a temporary beside it.
std::string RandomTempName() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 rng([] {
        std::random_device device;
        const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ now ^ static_cast<std::uint64_t>(::getpid());
    }());
    std::string name = ".vra-";
    for (int i = 0; i < 12; ++i) name += kChars[rng() % (sizeof(kChars) - 1)];
    return name + ".tmp";
}

// The reason given for a socket or a block device at a file's name.
constexpr int kNotRegular = 1;
class NotARegularFile final : public std::error_category {
public:
    const char* name() const noexcept override { return "file type"; }
    std::string message(int) const override { return "Not a regular file"; }
};
const std::error_category& NotARegularFileCategory() {
    static const NotARegularFile category;
    return category;
}

// Follows the links at path's last name, as opening it would, to the name a
// file written there finally has: the file itself, or the missing one a
// dangling link names. Links among the folders on the way are left to the
// system, which follows them alike for every name in that folder. error: a
// loop, or a link that cannot be read.
fs::path FollowLinks(fs::path path, std::error_code& error) {
    constexpr int kMaxLinks = 40;  // as the system allows
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
        if (n < 0) {
            error = LastError();
            return {};
        }
        if (static_cast<std::size_t>(n) >= to.size()) {
            error = std::make_error_code(std::errc::filename_too_long);
            return {};
        }
        to.resize(static_cast<std::size_t>(n));
        const fs::path next(to);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

// Makes the rename itself durable. Some file systems cannot flush a folder;
// the file's own content is on the disk already, so this stays best effort.
void SyncFolder(const fs::path& folder) {
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    ::fsync(dirFd);
    ::close(dirFd);
}

}  // namespace

AtomicFile::AtomicFile(fs::path target, TempNames names) : target_(std::move(target)) {
    if (!findTarget()) return;
    if (direct_) {
        // Read by another program as it comes (a pipe, a terminal): there is
        // nothing to replace, and a rename would put a file in its place.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) fail(LastError());
        buffer_.reserve(kBufferSize);
        return;
    }
    const fs::path folder = target_.parent_path();
    // A stop signal never falls between making the file and registering it.
    const StopSignalHold hold;
    for (unsigned attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const fs::path candidate = folder / (names ? names(attempt) : RandomTempName());
        // O_EXCL: never open what is already there (a stale file, or a link
        // planted to make us write elsewhere).
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temp_ = candidate;
            stopEntry_ = RegisterStopCleanup(temp_);
            buffer_.reserve(kBufferSize);
            return;
        }
        if (errno != EEXIST) break;
    }
    fail(LastError());
}

bool AtomicFile::findTarget() {
    if (target_.filename().empty()) return fail(std::make_error_code(std::errc::is_a_directory));
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        direct_ = S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode);
        if (direct_) return true;
        if (S_ISDIR(st.st_mode)) return fail(std::make_error_code(std::errc::is_a_directory));
        if (!S_ISREG(st.st_mode)) return fail({kNotRegular, NotARegularFileCategory()});
        // The name is resolved here, once every folder on its way stands and
        // its links are followed: however it is spelled, the file it names is
        // the one replaced.
        if (KeptFile::IsKept(st)) return fail(KeptFileError());
    } else if (errno != ENOENT) {
        return fail(LastError());
    }
    // A link is kept as the user made it; the file it names is the one
    // replaced, or made when it is missing, in the folder the link names.
    std::error_code ec;
    target_ = FollowLinks(target_, ec);
    if (ec) return fail(ec);
    if (target_.filename().empty()) return fail(std::make_error_code(std::errc::is_a_directory));
    return true;
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::fail(std::error_code ec) {
    if (!error_) error_ = ec;
    return false;
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || error_) return fail(std::make_error_code(std::errc::bad_file_descriptor));
    while (!bytes.empty()) {
        const std::size_t room = kBufferSize - buffer_.size();
        const std::size_t n = std::min(room, bytes.size());
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        bytes = bytes.subspan(n);
        if (buffer_.size() == kBufferSize && !flushBuffer()) return false;
    }
    return true;
}

bool AtomicFile::flushBuffer() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(LastError());
        }
        if (n == 0) return fail(std::make_error_code(std::errc::no_space_on_device));
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    return true;
}

bool AtomicFile::finish() {
    if (finished_) return true;
    if (fd_ < 0 || error_) {
        discard();
        return fail(std::make_error_code(std::errc::bad_file_descriptor));
    }
    bool ok = flushBuffer();
    if (!direct_) {
        // Replacing a file keeps who may read it: a private file stays private.
        struct stat old {};
        const bool exists = ok && ::stat(target_.c_str(), &old) == 0;
        // A folder in the target's place would fail only the rename: found
        // here, a set of files fails before any of them is replaced.
        if (exists && S_ISDIR(old.st_mode)) ok = fail(std::make_error_code(std::errc::is_a_directory));
        if (ok && exists && S_ISREG(old.st_mode) && ::fchmod(fd_, old.st_mode & 07777) != 0) ok = fail(LastError());
        // Without this a crash soon after the rename can leave an empty file
        // under the target's name on file systems that delay the data.
        if (ok && ::fsync(fd_) != 0) ok = fail(LastError());
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && ok) ok = fail(LastError());
    if (!ok) {
        discard();
        return false;
    }
    finished_ = true;
    return true;
}

bool AtomicFile::commit() {
    if (!finish()) return false;
    if (direct_) return true;
    finished_ = false;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail(LastError());
        discard();
        return false;
    }
    temp_.clear();
    UnregisterStopCleanup(stopEntry_);
    SyncFolder(target_.parent_path().empty() ? fs::path(".") : target_.parent_path());
    return true;
}

void AtomicFile::discard() {
    finished_ = false;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    UnregisterStopCleanup(stopEntry_);
    buffer_.clear();
}

AtomicFileSet::~AtomicFileSet() {
    discard();
}

bool AtomicFileSet::fail(const fs::path& path, std::error_code ec) {
    if (!error_) {
        error_ = ec ? ec : std::make_error_code(std::errc::io_error);
        failedPath_ = path;
    }
    discard();
    return false;
}

bool AtomicFileSet::makeFolder(const fs::path& folder) {
    if (error_) return false;
    std::error_code ec;
    return folders_.makeOne(folder, ec) || fail(folder, ec);
}

bool AtomicFileSet::add(const fs::path& path, const std::function<bool(OutputSink&)>& produce) {
    if (error_) return false;
    auto file = std::make_unique<AtomicFile>(path);
    if (!file->isOpen() || !produce(*file) || !file->finish()) {
        // Its temporary file goes first: the set's folder is empty only then.
        const std::error_code ec = file->error();
        file.reset();
        return fail(path, ec);
    }
    files_.push_back(std::move(file));
    return true;
}

bool AtomicFileSet::add(const fs::path& path, std::string_view text) {
    return add(path, [text](OutputSink& out) { return out.write(text); });
}

void AtomicFileSet::removeOnCommit(const fs::path& path) {
    obsolete_.push_back(path);
}

bool AtomicFileSet::commit() {
    if (error_) return false;
    // A stop between two renames would leave half of each set.
    const StopSignalHold hold;
    for (const auto& file : files_)
        if (!file->commit()) return fail(file->target(), file->error());
    files_.clear();
    for (const fs::path& path : obsolete_) ::unlink(path.c_str());
    obsolete_.clear();
    folders_.keep();
    return true;
}

void AtomicFileSet::discard() {
    files_.clear();
    obsolete_.clear();
    folders_.remove();
}

bool WriteFileAtomic(const fs::path& path, const std::function<bool(OutputSink&)>& produce, std::error_code* error) {
    AtomicFile file(path);
    bool ok = file.isOpen() && produce(file);
    ok = ok && file.commit();
    if (!ok) {
        file.discard();
        if (error) *error = file.error() ? file.error() : std::make_error_code(std::errc::io_error);
    }
    return ok;
}

bool WriteFileAtomic(const fs::path& path, std::span<const std::uint8_t> data, std::error_code* error) {
    return WriteFileAtomic(
        path, [data](OutputSink& out) { return out.write(data); }, error);
}

bool WriteFileAtomic(const fs::path& path, std::string_view text, std::error_code* error) {
    return WriteFileAtomic(
        path, [text](OutputSink& out) { return out.write(text); }, error);
}

}  // namespace vra
