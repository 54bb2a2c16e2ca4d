#pragma once
// Where the track map picture is saved: the user's choice of file, offered
// in the simulation's replay folder under the track's name.

#include <filesystem>
#include <optional>
#include <string_view>

namespace vra {

class CRpyGraphDoc;
class Prompts;

inline constexpr std::string_view kNoTrackLoadedText = "No track loaded!";
inline constexpr std::string_view kErrorCreatingFileText = "Error creating file!";
inline constexpr std::string_view kBitmapMemoryText = "Not enough memory to zoom more!\r\nPlease zoom out.";

// Asks where to save the map. nullopt when the document has no track (the
// user is told) or the user cancelled. The document is not changed.
std::optional<std::filesystem::path> AskTrackmapBmpPath(const CRpyGraphDoc& document, Prompts& prompts);

}  // namespace vra
