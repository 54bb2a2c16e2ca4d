#pragma once
// Writes a whole track folder of a simulation: tracks/<name>/ with the track
// container <name>.dat (the object stream imploded among other entries) or a
// loose <name>.ptf, the race line "raceline.lp" and "track.ini" with the
// track length.

#include <filesystem>
#include <string>

namespace vra::simkit {

class TrackLayout;

struct TrackFolderOptions {
    bool loosePtf = false;  // a loose .ptf instead of the container
    bool raceLine = true;
    bool trackIni = true;
};

// The text of a track.ini that gives the length in kilometres.
std::string TrackIniText(const std::string& displayName, double lengthMetres);

// Writes tracksDir/<folderName>/ for the layout; returns the track folder, or
// an empty path when a file could not be written.
std::filesystem::path WriteTrackFolder(const std::filesystem::path& tracksDir, const std::string& folderName,
                                       const TrackLayout& layout, const TrackFolderOptions& options = {});

}  // namespace vra::simkit
