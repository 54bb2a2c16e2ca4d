#include "simkit/track/DemoTrack.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"

#include <string>

namespace vra::simkit {

TrackLayout DemoTrackLayout() {
    return TrackLayout::RoadCourse(kDemoTrackLength);
}

bool WriteDemoTrack(const std::filesystem::path& simFolder) {
    return !WriteTrackFolder(simFolder / "tracks", std::string(kDemoTrackFolder), DemoTrackLayout()).empty();
}

}  // namespace vra::simkit
