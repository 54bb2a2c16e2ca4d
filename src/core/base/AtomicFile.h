#pragma once
// Replacing a file without ever losing it. Whatever the program writes goes
// through here: the new content is written to a temporary file of a unique
// name beside the target, checked write by write, flushed to the disk, and
// only then renamed over the target. A full disk, a failing writer or a crash
// leave the old file as it was; a stop signal removes the temporary file
// (core/base/StopCleanup.h).
//
// Streaming a large file:
//
//     AtomicFile file(path);
//     bool ok = file.isOpen() && writer.write(file);   // writer takes an OutputSink&
//     ok = ok && file.commit();                         // false: the old file is intact
//
// or in one call, with the writer as a function of the sink:
//
//     WriteFileAtomic(path, [&](OutputSink& out) { return writer.write(out); });
//
// Small contents already in memory: WriteFileAtomic(path, bytes) or
// WriteFileAtomic(path, text). Files that belong together go through an
// AtomicFileSet.

#include "core/base/MadeFolders.h"
#include "core/base/OutputSink.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vra {

class AtomicFile final : public OutputSink {
public:
    // Candidate names of the temporary file, asked for in turn (attempt 0, 1,
    // ...) until one can be created. Only tests pass their own, to pin the
    // names; the default draws random ones.
    using TempNames = std::function<std::string(unsigned attempt)>;

    // Creates the temporary file beside target, exclusively: an existing file
    // or link of that name is never opened, followed or reused. Target is
    // found as the shell's ">" finds it: when it is a symbolic link, the file
    // it points to is replaced, or made where a dangling one points, and the
    // link kept; a loop of links fails. A named pipe or a character device
    // (a terminal, /dev/null) is written directly, with no temporary file and
    // no rename; a folder or any other kind of file is refused as it is, and
    // so is a kept file (core/base/KeptFile.h), by whatever name it is reached.
    // isOpen() is false when nothing could be opened.
    explicit AtomicFile(std::filesystem::path target, TempNames names = {});
    // Without commit() the temporary file is removed and the target untouched.
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    using OutputSink::write;
    // Buffered; false once any write to the disk failed.
    bool write(std::span<const std::uint8_t> bytes) override;

    // Writes what is buffered, flushes the file to the disk, gives it the
    // target's permissions (when the target exists), renames it over the
    // target and flushes the folder. True when the target now holds exactly
    // what was written. False when anything failed before the rename: the
    // target is as it was and the temporary file is gone.
    bool commit();
    // The first half of commit(), for replacing several files together:
    // writes what is buffered, flushes the file to the disk and gives it the
    // target's permissions, so that commit() has only the rename left. False
    // when anything failed: the temporary file is gone.
    bool finish();
    // Gives up: removes the temporary file; the target is untouched.
    void discard();

    // The first failure (empty while all is well).
    std::error_code error() const { return error_; }
    // The file that commit() replaces (the link's target for a link).
    const std::filesystem::path& target() const { return target_; }
    // The temporary file while it exists; empty otherwise, and always when
    // target is written directly.
    const std::filesystem::path& tempPath() const { return temp_; }

private:
    // Sets target_ to the name commit() replaces, or direct_ for a pipe or a
    // device; false, with the reason, for a name nothing may be written to.
    bool findTarget();
    bool flushBuffer();
    bool fail(std::error_code ec);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    // Its entry among the files a stop signal removes.
    int stopEntry_ = -1;
    int fd_ = -1;
    bool finished_ = false;
    bool direct_ = false;
    std::vector<std::uint8_t> buffer_;
    std::error_code error_;
};

// Replacing files that belong together (the pages of a site, the reports of
// a replay): every new file is written whole and flushed to the disk before
// the first old one is replaced. A failure on the way, a full disk included,
// leaves every old file as it was and no new one.
//
//     AtomicFileSet set;
//     bool ok = set.makeFolder(site);          // when the set has a folder of its own
//     ok = ok && set.add(site / "index.html", text) && set.add(site / "track.png", produce);
//     ok = ok && set.commit();                 // false: set.failedPath() names the file
class AtomicFileSet {
public:
    AtomicFileSet() = default;
    // Without commit() the new files are removed, and so is a folder that
    // makeFolder() made; the old files are untouched.
    ~AtomicFileSet();
    AtomicFileSet(const AtomicFileSet&) = delete;
    AtomicFileSet& operator=(const AtomicFileSet&) = delete;

    // Makes the set's folder when it does not exist (its parent must). A
    // folder made here is removed again unless the set is committed.
    bool makeFolder(const std::filesystem::path& folder);
    // Writes the whole new content of path to a temporary file beside it and
    // flushes it to the disk; path itself is not touched yet. False when that
    // failed: the set is given up and cannot be committed.
    bool add(const std::filesystem::path& path, const std::function<bool(OutputSink&)>& produce);
    bool add(const std::filesystem::path& path, std::string_view text);
    // A file of an older set that this one leaves out: removed on commit.
    void removeOnCommit(const std::filesystem::path& path);
    // Puts every new file in place, stop signals held back meanwhile. False
    // when anything failed before: then nothing was replaced. A rename
    // failing half way, which only a failing file system does, leaves the
    // files renamed before it in place.
    bool commit();
    // Gives up: removes the new files and a folder made for them.
    void discard();

    // The first failure and the file it concerns (empty while all is well).
    std::error_code error() const { return error_; }
    const std::filesystem::path& failedPath() const { return failedPath_; }

private:
    bool fail(const std::filesystem::path& path, std::error_code ec);

    std::vector<std::unique_ptr<AtomicFile>> files_;
    std::vector<std::filesystem::path> obsolete_;
    MadeFolders folders_;
    std::error_code error_;
    std::filesystem::path failedPath_;
};

// Writes the whole file through produce, which streams its content into the
// sink and returns false when it could not produce all of it. True when the
// target holds the new content; false leaves the old one as it was. error,
// when given, receives the reason of a failure.
bool WriteFileAtomic(const std::filesystem::path& path, const std::function<bool(OutputSink&)>& produce,
                     std::error_code* error = nullptr);
bool WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data,
                     std::error_code* error = nullptr);
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view text, std::error_code* error = nullptr);

}  // namespace vra
