#include "track/DemoTrack.h"

#include <string>

#include "replay/DemoSim.h"
#include "track/TrackFolderWriter.h"
#include "track/TrackLayout.h"

namespace vra::simkit {

TrackLayout DemoTrackLayout() { return TrackLayout::RoadCourse(kDemoTrackLength); }

bool WriteDemoTrack(const std::filesystem::path& simFolder) {
    return !WriteTrackFolder(simFolder / "tracks", std::string(kDemoTrackFolder), DemoTrackLayout()).empty();
}

}  // namespace vra::simkit
