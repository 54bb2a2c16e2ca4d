#include "simkit/track/DemoTrack.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"

#include <string>

namespace vra::simkit {

TrackLayout DemoTrackLayout(int piecesPerStep) {
    TrackLayout layout = TrackLayout::RoadCourse(kDemoTrackLength);
    layout.subdivided(piecesPerStep);
    return layout;
}

bool WriteDemoTrack(const std::filesystem::path& simFolder, int piecesPerStep) {
    return !WriteTrackFolder(simFolder / "tracks", std::string(kDemoTrackFolder), DemoTrackLayout(piecesPerStep))
                .empty();
}

}  // namespace vra::simkit
