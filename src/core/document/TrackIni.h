#pragma once
// The track length the simulation states in tracks/<name>/track.ini, which
// the reports use for average speeds.

#include <optional>
#include <string_view>

namespace vra {

inline constexpr std::string_view kTrackIniMissingText =
    "Track.ini or entire track seems to be missing in the tracks directory: "
    "Speeds will be misreported in the reports!";

// The length in metres from the text of a track.ini: the value after
// "track_length" and "=", up to the next "m", in kilometres when it ends in
// "k" and in miles otherwise. 0.0 when the key, the "=" or the "m" is missing
// or the value is not a positive length within the bound of a track.
double ParseTrackIniLength(std::string_view text);

// Reads simFolder/tracks/<trackName>/track.ini, each name matched ignoring
// case. nullopt when the file cannot be found or read.
std::optional<double> ReadTrackIniLength(std::string_view simFolder, std::string_view trackName);

}  // namespace vra
