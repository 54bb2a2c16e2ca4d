#pragma once
// What the document's file-writing commands share: where the save dialog
// opens, the default names and the check that a command never writes over
// the replay it reads.

#include "core/platform/Prompts.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vra {

inline constexpr std::string_view kSameFileText = "Source and destination file cannot be the same file";
// Follows the name of an existing file that an appended extension would replace.
inline constexpr std::string_view kReplaceQuestion = " already exists.\r\nDo you want to replace it?";

// The simulation's replay folder, found ignoring case; the simulation folder
// itself when it has none.
std::filesystem::path ReplayFolder(const std::string& simFolder);

// A default file name made safe: the names and the track come from the
// replay and may hold separators or characters no file name can hold; each
// control character and each of / \ : * ? " < > | becomes "_".
std::string SafeFileName(std::string_view name);

// Where a chosen name counts as having its extension (in any letter case):
// at its end, or anywhere in it.
enum class ExtensionRule { AtEnd, InName };

// path with extension appended unless its file name has it by rule
// ("map" -> "map.bmp", "X.BMP" stays).
std::filesystem::path WithExtension(std::filesystem::path path, std::string_view extension,
                                    ExtensionRule rule = ExtensionRule::AtEnd);

// Asks through request where to save a file whose name must have extension,
// appended when the user left it out. The dialog asked about the name as
// typed: when the appended name is that of an existing file, the user is
// asked whether to replace it (No goes back to the dialog with the name as
// typed). nullopt when the user cancelled.
std::optional<std::filesystem::path> AskSavePath(Prompts& prompts, SaveFileRequest request, std::string_view extension,
                                                 ExtensionRule rule = ExtensionRule::AtEnd);

// Asks for a destination, offering the safe form of defaultName (replay text,
// or a file name's bytes where it takes one over); appends
// extension when the chosen name does not contain it (in any case). When the
// name so made is an existing file, asks before replacing it; No asks for a
// name again. nullopt when cancelled.
std::optional<std::filesystem::path> AskDestination(Prompts& prompts, const std::filesystem::path& folder,
                                                    const ShownText& defaultName, const FileFilter& filter,
                                                    std::string_view extension);

// The destination is the source: the same spelling, or, when the
// destination exists, the same file by another path (a relative spelling, a
// symbolic or a hard link).
bool IsSameFile(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace vra
