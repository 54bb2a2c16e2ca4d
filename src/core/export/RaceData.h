#pragma once
// Every car's place in every frame of a replay's race, as text for other
// programs: one line per car record, "frame,session ms,driver index,car
// number,distance m,lateral m" with CRLF, frame 0 being the race's first
// frame. The replay is read by the same bounded frame walk as the race
// playback, so a damaged file ends the export instead of the program.

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace vra {

class Drivers;
class OutputSink;
class ReplaySource;

inline constexpr std::string_view kRaceDataNoRaceText = "This replay file does not contain race info!";
inline constexpr std::string_view kRaceDataDamagedText = "The race frames of this replay are damaged.";

class RaceData {
public:
    RaceData() = default;

    void SetOutputFile(const std::string& path) { output_ = path; }
    void SetReplayFile(const std::string& path) { replay_ = path; }
    // Where tracks/<name>/track.ini gives the track's length, which sets the
    // step of the other cars' distances; without it the finest step is used.
    void SetSimulationFolder(const std::string& folder) { simFolder_ = folder; }

    // Reads the replay and writes the output file: 1 on success, 0 on any
    // failure, when the old output file is left as it was. Tells nothing;
    // the caller asks why.
    int Run();
    // Why the last Run() failed: the reader's message (Windows-1252 text)
    // when the replay cannot be read or holds no race; empty otherwise.
    const std::string& ReplayProblem() const { return replayProblem_; }
    // The system's reason when the output file could not be written.
    std::error_code OutputError() const { return outputError_; }

    // The lines of the race of an open replay into out, each compact
    // distance step being distanceUnit metres. False when the frames are
    // damaged, hold no race or out fails; noRace, when given, tells the
    // second from the others.
    static bool Write(ReplaySource& src, const Drivers& drivers, double distanceUnit, OutputSink& out,
                      bool* noRace = nullptr);

private:
    std::string output_, replay_, simFolder_;
    std::string replayProblem_;
    std::error_code outputError_;
};

}  // namespace vra
