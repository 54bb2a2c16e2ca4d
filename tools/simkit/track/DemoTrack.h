#pragma once
// The track of the demo simulation: a road course of the demo's length in
// <sim>/tracks/<demo folder>/, with its container, race line and track.ini.

#include <filesystem>

namespace vra::simkit {

class TrackLayout;

// The demo track's layout, exactly the demo's track length; with
// piecesPerStep above 1 each straight and corner is cut into that many
// pieces, for a track file of realistic size.
TrackLayout DemoTrackLayout(int piecesPerStep = 1);

// Writes the demo track folder under simFolder; false on any write failure.
bool WriteDemoTrack(const std::filesystem::path& simFolder, int piecesPerStep = 1);

}  // namespace vra::simkit
