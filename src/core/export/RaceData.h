#pragma once
// Every car's place in every frame of a replay's race, as text for other
// programs: one line per car record, "frame,session ms,driver index,car
// number,distance m,lateral m" with CRLF, frame 0 being the race's first
// frame. The replay is read by the same bounded frame walk as the race
// playback, so a damaged file ends the export instead of the program.

#include <cstdint>
#include <string>

namespace vra {

class Drivers;
class OutputSink;
class ReplaySource;

class RaceData {
public:
    RaceData() = default;

    void SetOutputFile(const std::string& path) { output_ = path; }
    void SetReplayFile(const std::string& path) { replay_ = path; }
    // Where tracks/<name>/track.ini gives the track's length, which sets the
    // step of the other cars' distances; without it the finest step is used.
    void SetSimulationFolder(const std::string& folder) { simFolder_ = folder; }

    // Reads the replay and writes the output file: 1 on success, 0 on any
    // failure, when the old output file is left as it was. Tells nothing.
    int Run();

    // The lines of the race of an open replay into out, each compact
    // distance step being distanceUnit metres. False when the frames are
    // damaged, hold no race or out fails.
    static bool Write(ReplaySource& src, const Drivers& drivers, double distanceUnit, OutputSink& out);

private:
    std::string output_, replay_, simFolder_;
};

}  // namespace vra
