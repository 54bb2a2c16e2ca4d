#include "core/laps/ReplayDatabaseLoader.h"

#include "core/base/ByteCursor.h"
#include "core/laps/ReplayDatabase.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplayFormat.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace vra {

namespace {

// The largest record a valid database can hold: a path at the read limit,
// a header and 49 drivers with four full lap tables each. Reading this much
// ahead lets a record be decoded from memory, and a record that does not
// fit is damaged whatever it says.
constexpr std::size_t kMaxRecordBytes = 1u << 20;

// A zero-terminated text of at most limit bytes before the terminator;
// false when the terminator is missing within that.
bool ReadText(ByteCursor& in, std::size_t limit, std::string& out) {
    const auto rest = in.data().subspan(in.pos());
    if (rest.empty()) return false;
    const std::size_t span = std::min(rest.size(), limit + 1);
    const auto* z = static_cast<const std::uint8_t*>(std::memchr(rest.data(), 0, span));
    if (!z) return false;
    const std::size_t n = static_cast<std::size_t>(z - rest.data());
    out.assign(reinterpret_cast<const char*>(rest.data()), n);
    return in.skip(n + 1);
}

}  // namespace

ReplayDatabaseLoader::ReplayDatabaseLoader() = default;
ReplayDatabaseLoader::~ReplayDatabaseLoader() = default;

bool ReplayDatabaseLoader::FindDatabases(const std::filesystem::path& folder) {
    files_.RemoveAll();
    files_.AddDir(folder, "*.rdb", true, CFileInfoArray::Append, false);
    return !files_.empty();
}

std::filesystem::path ReplayDatabaseLoader::DatabasePath() const {
    if (index_ < 0 || index_ >= files_.GetSize()) return {};
    return files_[index_].GetFilePath();
}

bool ReplayDatabaseLoader::fill(std::size_t want) {
    if (buffer_.size() - pos_ >= want) return true;
    const std::uint64_t at = bufferStart_ + pos_;
    // Everything up to the end is in already: moving the unread tail to the
    // front for every record would copy a database over and over.
    if (bufferStart_ + buffer_.size() >= file_.size()) return buffer_.size() > pos_;
    // Keep the unread tail, read up to twice the wanted amount behind it.
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(pos_));
    bufferStart_ = at;
    pos_ = 0;
    const std::uint64_t fileRest = file_.size() - (bufferStart_ + buffer_.size());
    const std::size_t extra = static_cast<std::size_t>(std::min<std::uint64_t>(fileRest, 2 * want));
    const std::size_t old = buffer_.size();
    buffer_.resize(old + extra);
    if (!file_.readAt(bufferStart_ + old, std::span<std::uint8_t>(buffer_.data() + old, extra))) {
        buffer_.resize(old);
        return false;
    }
    return !buffer_.empty();
}

bool ReplayDatabaseLoader::OpenNextDatabase() {
    file_ = BinaryFile();
    buffer_.clear();
    bufferStart_ = 0;
    pos_ = 0;
    // A database that cannot be opened or is not one is passed over: the
    // databases after it still count.
    while (++index_ < files_.GetSize()) {
        const CFileInfo& info = files_[index_];
        BinaryFile f(info.GetFilePath());
        if (!f.isOpen()) continue;
        file_ = std::move(f);
        buffer_.clear();
        bufferStart_ = 0;
        pos_ = 0;
        fill(2 * kDatabaseReadTextLimit + 32);
        ByteCursor in{std::span<const std::uint8_t>(buffer_)};
        std::string magic, label;
        std::uint8_t version = 0;
        std::uint32_t count = 0;
        if (!ReadText(in, kDatabaseMagic.size(), magic) || magic != kDatabaseMagic || !in.u8(version) ||
            (version != 1 && version != 2) || !ReadText(in, kDatabaseReadTextLimit, label) || !in.u32(count))
            continue;
        name_ = info.GetFileTitle();
        version_ = version;
        label_ = std::move(label);
        pos_ = in.pos();
        return true;
    }
    file_ = BinaryFile();
    return false;
}

bool ReplayDatabaseLoader::ReadRecord() {
    fill(kMaxRecordBytes);
    ByteCursor in(std::span<const std::uint8_t>(buffer_).subspan(pos_));
    std::string path;
    auto header = std::make_unique<Header>();
    auto drivers = std::make_unique<Drivers>();
    // A header of another version is no replay the program reads: at best a
    // stray record, at worst the start of another database joined on.
    if (!ReadText(in, kDatabaseReadTextLimit, path) || !header->LoadFromStream(in, version_) ||
        header->version != static_cast<int>(kReplayVersion) || !drivers->LoadFromStream(in, version_))
        return false;
    pos_ += in.pos();
    recordPath_ = std::move(path);
    header_ = std::move(header);
    drivers_ = std::move(drivers);
    return true;
}

bool ReplayDatabaseLoader::Next() {
    if (firstCall_) {
        firstCall_ = false;
        index_ = -1;
        if (!OpenNextDatabase()) return false;
    }
    header_.reset();
    drivers_.reset();
    recordPath_.clear();
    while (file_.isOpen()) {
        if (fill(1) && ReadRecord()) return true;
        // The end of this database, or a damaged record: the rest of it
        // cannot be trusted to line up, so go on with the next database.
        if (!OpenNextDatabase()) return false;
    }
    return false;
}

}  // namespace vra
