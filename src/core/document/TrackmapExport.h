#pragma once
// Where the track map picture is saved: the user's choice of file, offered
// in the simulation's replay folder under the track's name.

#include "core/platform/Prompts.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace vra {

class CRpyGraphDoc;

inline constexpr std::string_view kNoTrackLoadedText = "No track loaded!";
inline constexpr std::string_view kErrorCreatingFileText = "Error creating file!";
inline constexpr std::string_view kBitmapMemoryText = "Not enough memory to zoom more!\r\nPlease zoom out.";

// path with extension appended unless its file name already ends in it,
// in any letter case ("map" -> "map.bmp", "X.BMP" stays).
std::filesystem::path WithExtension(std::filesystem::path path, std::string_view extension);

// Asks through request where to save a file whose name must end in
// extension, appended when the user left it out. The dialog asked about the
// name as typed: when the appended name is that of an existing file, the
// user is asked whether to replace it (No goes back to the dialog with the
// name as typed). nullopt when the user cancelled.
std::optional<std::filesystem::path> AskSavePath(Prompts& prompts, SaveFileRequest request, std::string_view extension);

// Asks where to save the map. nullopt when the document has no track (the
// user is told) or the user cancelled. The document is not changed.
std::optional<std::filesystem::path> AskTrackmapBmpPath(const CRpyGraphDoc& document, Prompts& prompts);

}  // namespace vra
