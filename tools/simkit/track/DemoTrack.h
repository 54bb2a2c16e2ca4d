#pragma once
// The track of the demo simulation: a road course of the demo's length in
// <sim>/tracks/<demo folder>/, with its container, race line and track.ini.

#include <filesystem>

namespace vra::simkit {

class TrackLayout;

// The demo track's layout, exactly the demo's track length.
TrackLayout DemoTrackLayout();

// Writes the demo track folder under simFolder; false on any write failure.
bool WriteDemoTrack(const std::filesystem::path& simFolder);

}  // namespace vra::simkit
