#pragma once
// What the user is told when the track of a replay cannot be read: where to
// look, the decoder's reason, and which track of which replay was looked for
// where.

#include "core/text/ShownText.h"

#include <filesystem>
#include <string_view>

namespace vra {

inline constexpr std::string_view kNoTrackText =
    "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\nMake sure Velmar "
    "Path is set correctly in File->Settings\n\nDetailed error message:\n";

// The track's name is the replay's own text; the replay and the tracks
// folder are file names. Empty ones are left out, for a line of the
// replay's own text that starts with the replay's name.
inline ShownText NoTrackText(std::string_view why, std::string_view trackName,
                             const std::filesystem::path& tracksFolder = {}, const std::filesystem::path& replay = {}) {
    ShownText text(kNoTrackText);
    text.Text(why);
    if (!replay.empty()) text.Text("\nReplay: ").FileName(replay);
    text.Text("\nTrack: \"").Text(trackName).Text("\"");
    if (!tracksFolder.empty()) text.Text(" in ").FileName(tracksFolder);
    return text;
}

}  // namespace vra
