#include "core/decode/KtTrackFile.h"

#include "core/base/ByteCursor.h"
#include "core/base/FileUtil.h"
#include "core/decode/DclBitReader.h"
#include "core/decode/DclExplode.h"
#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"
#include "core/decode/PtfReadContext.h"
#include "core/text/ReplayNames.h"

#include <new>
#include <string_view>

namespace vra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCannotOpen = "Error: cannot open track file";
constexpr const char* kCannotUncompress = "Error: cannot uncompress ptf file";
constexpr const char* kNoTrack = "ptf file holds no track";

constexpr std::uint64_t kDirectoryStart = 10;
constexpr std::size_t kRecordFixed = 15;  // tag .. name length; the name and its NUL follow

}  // namespace

std::filesystem::path KtTrackFile::TracksFolder(const std::filesystem::path& simFolder) {
    if (auto found = ResolveCaseInsensitive(simFolder, "tracks")) return *found;
    return simFolder / "tracks";
}

KtTrackFile::KtTrackFile(const fs::path& tracksFolder, const std::string& trackName) {
    // The name comes from a replay header: it must name one folder inside the
    // tracks folder and nothing else.
    if (!IsPlainName(trackName)) throw KtException(kCannotOpen);

    const auto folder = FindReplayNamed(tracksFolder, trackName);
    folder_ = folder ? *folder : tracksFolder / trackName;
    PtfReadContext::Instance().SetTrackFileName(folder_.string());
    if (!folder) throw KtException(kCannotOpen);

    const auto loose = FindReplayNamed(folder_, trackName + ".ptf");
    if (!loose || !ReadLoosePtf(*loose, entry_)) {
        entry_ = Entry{};
        const auto container = FindReplayNamed(folder_, trackName + ".dat");
        if (!container || !FindPtfInDat(*container, entry_)) throw KtException(kCannotOpen);
    }
    if (!Uncompress()) throw KtException(kCannotUncompress);
}

void KtTrackFile::Parse() {
    // The bytes go away with this scope whether decoding succeeds or throws.
    const std::vector<std::uint8_t> image = std::move(entry_.buffer);
    entry_.buffer.clear();
    PtfReadContext::Instance().SetBufferStart(image.data());
    track_ = KtObjectFactory::ReadTrackImage(image);  // out of memory comes out as KtException too
    // A null root would leave nothing to build a track path from.
    if (!track_) throw KtException(kNoTrack);
}

bool KtTrackFile::ReadLoosePtf(const fs::path& file, Entry& entry) {
    BinaryFile in(file);  // only regular files open
    if (!in.isOpen() || in.size() < 8 || in.size() > kMaxStreamSize) return false;
    std::uint8_t start[8];
    if (!in.readAt(0, start)) return false;
    if (LoadI32(start) != 1 || LoadI32(start + 4) != 2) return false;
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.size()));
        if (!in.readAt(0, bytes)) return false;
        entry.compressed = false;
        entry.uncompressedSize = entry.storedSize = static_cast<std::uint32_t>(bytes.size());
        entry.buffer = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool KtTrackFile::FindPtfInDat(const fs::path& file, Entry& entry) {
    BinaryFile in(file);
    if (!in.isOpen()) return false;

    // Every record read must be complete and every record is at least 16
    // bytes long, so the walk ends at the end of the file at the latest.
    std::uint64_t at = kDirectoryStart;
    std::uint32_t uncompressedSize = 0, storedSize = 0, offset = 0;
    for (;;) {
        std::uint8_t record[kRecordFixed];
        if (!in.readAt(at, record)) return false;
        ByteCursor cur(record);
        std::uint8_t tag = 0, unused = 0, nameLength = 0;
        cur.u8(tag);
        if (tag != 5) return false;
        cur.u8(unused);
        cur.u32(uncompressedSize);
        cur.u32(storedSize);
        cur.u32(offset);
        cur.u8(nameLength);

        std::uint8_t name[256];
        if (!in.readAt(at + kRecordFixed, std::span<std::uint8_t>(name, nameLength + 1u))) return false;
        at += kRecordFixed + nameLength + 1u;
        // The name ends at its first NUL or after its length, whichever comes first.
        if (FixedText(name, nameLength).find(".ptf") != std::string::npos) break;
    }

    if (std::uint64_t{offset} + storedSize > in.size()) return false;
    try {
        std::vector<std::uint8_t> stored(storedSize);
        if (!in.readAt(offset, stored)) return false;
        entry.compressed = uncompressedSize != storedSize;
        entry.uncompressedSize = uncompressedSize;
        entry.storedSize = storedSize;
        entry.buffer = std::move(stored);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool KtTrackFile::Uncompress() {
    if (!entry_.compressed) return true;
    const std::uint64_t expanded = entry_.uncompressedSize;
    if (entry_.buffer.size() < 2 || expanded > kMaxStreamSize ||
        expanded > kMaxExpansion * entry_.buffer.size() + kExpansionSlack) {
        entry_.buffer = {};
        return false;
    }
    try {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(expanded));
        const bool ok = Decompress(entry_.buffer, out);
        entry_.buffer = ok ? std::move(out) : std::vector<std::uint8_t>{};
        return ok;
    } catch (const std::bad_alloc&) {
        entry_.buffer = {};
        return false;
    }
}

bool KtTrackFile::Decompress(std::span<const std::uint8_t> input, std::span<std::uint8_t> output) {
    if (input.size() < 2) return false;  // not even a header
    DclBitReader reader(input);
    DclExplode explode(reader);
    std::size_t produced = 0;
    const DclExplode::Result result = explode.Explode(output, produced);
    return (result == DclExplode::Result::EndMarker || result == DclExplode::Result::LimitReached) &&
           produced == output.size();
}

}  // namespace vra
