#pragma once
// The user's own best laps: for every driver who saved replays, each track
// and each physics, the fastest valid lap found by the lap finder's scan of
// the replay folders and the CD databases.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class Volumes;
class WaitBox;

struct PersonalBest {
    static constexpr int kColumns = 7;
    // Driver name, track, physics, lap time, session, file date (replay
    // text), replay file (a file name, or a disc's database name and path).
    std::array<std::string, kColumns> text;
    std::uint32_t lapMs = 0;
};

class PersonalBests {
public:
    static constexpr std::array<std::string_view, PersonalBest::kColumns> kHeadings = {
        "Driver Name", "Track", "Physics", "Lap time", "Session", "Filedate", "Replay file"};
    static constexpr std::string_view kSourcesLine =
        "Best laps from your replay folders and CD databases; the simulation's own record files are not read.";

    PersonalBests(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox);

    // Scans every replay and keeps one row per driver, track and physics,
    // sorted by track, physics and lap time.
    void Scan();

    const std::vector<PersonalBest>& Rows() const { return rows_; }
    int UnreadableFiles() const { return unreadable_; }
    // "n replay files could not be read."; empty when every file was read.
    std::string UnreadableText() const;

private:
    CRpyGraphDoc& doc_;
    Volumes& volumes_;
    WaitBox& waitBox_;
    std::vector<PersonalBest> rows_;
    int unreadable_ = 0;
};

}  // namespace vra
