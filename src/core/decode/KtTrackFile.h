#pragma once
// Finds a track's object stream in the simulation's tracks folder, loads it
// and expands it, then decodes it into the root KtTrack.
//
// The stream lies either loose in the track's folder (<track>.ptf) or as an
// entry of the track's container (<track>.dat), stored as it is or imploded.
// Folder and file names are matched ignoring case: replays carry the track
// name upper-cased, while the files on disk keep their own spelling.

#include "core/decode/CountedPtr.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vra {

class KtTrack;

class KtTrackFile {
public:
    // The located stream: its bytes as stored (expanded once Uncompress has
    // run) and the two sizes the container gives for it.
    struct Entry {
        bool compressed = false;
        std::vector<std::uint8_t> buffer;
        std::uint32_t uncompressedSize = 0;
        std::uint32_t storedSize = 0;
    };

    // Locates, reads and, when needed, expands the stream of trackName under
    // tracksFolder. Throws KtException "Error: cannot open track file" when
    // no stream is found and "Error: cannot uncompress ptf file" when it
    // cannot be expanded.
    KtTrackFile(const std::filesystem::path& tracksFolder, const std::string& trackName);

    // The simulation's tracks folder, found ignoring case; the plain join
    // when there is none (the lookup of a track then fails in its own way).
    static std::filesystem::path TracksFolder(const std::filesystem::path& simFolder);

    // Decodes the stream into the root track and lets go of the bytes.
    // Object-stream errors come out as KtException, as does a stream whose
    // root reference is null ("ptf file holds no track").
    void Parse();

    const CountedPtr<KtTrack>& GetTrack() const { return track_; }
    // The folder the track's files were found in; the race line is read
    // from it too.
    const std::filesystem::path& TrackFolder() const { return folder_; }
    bool IsCompressed() const { return entry_.compressed; }
    std::uint32_t GetUncompressedSize() const { return entry_.uncompressedSize; }
    std::uint32_t GetStoredSize() const { return entry_.storedSize; }
    // The expanded stream; empty once Parse has run.
    const std::vector<std::uint8_t>& GetBuffer() const { return entry_.buffer; }

    // A loose stream file: accepted when it is a regular file that begins
    // with the root's id 1 and class id 2 and can be read whole.
    static bool ReadLoosePtf(const std::filesystem::path& file, Entry& entry);
    // The first container entry whose name contains ".ptf"; false when the
    // directory ends first, the file is cut short, or the entry's stored
    // bytes do not lie inside the file.
    static bool FindPtfInDat(const std::filesystem::path& file, Entry& entry);
    // Expands an imploded stream into exactly output.size() bytes; false for
    // a stream that is refused or yields fewer bytes.
    static bool Decompress(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);

    // Largest stream accepted, and the most one stored byte can expand to
    // (a 518-byte copy takes at least 22 bits, plus slack for small streams).
    static constexpr std::uint32_t kMaxStreamSize = 256u << 20;
    static constexpr std::uint64_t kMaxExpansion = 189;
    static constexpr std::uint64_t kExpansionSlack = 1024;

private:
    bool Uncompress();

    CountedPtr<KtTrack> track_;
    Entry entry_;
    std::filesystem::path folder_;
};

}  // namespace vra
