#pragma once
// Whether the configured simulation folder really holds the simulation, and
// what the program does when it does not.

#include "core/platform/Prompts.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace vra {

inline constexpr std::string_view kSimExecutableName = "VELMAR.exe";
inline constexpr std::string_view kSimExecutableMissingText =
    "Unable to find the file Velmar.exe in the specified VELMR-directory.\n"
    "Please choose a valid Velmar directory.";

// The simulation's executable in simFolder, its name matched ignoring case;
// a trailing separator on the folder does not matter. nullopt for an empty
// folder or when there is no such file.
std::optional<std::filesystem::path> FindSimExecutable(std::string_view simFolder);

// True when the executable is found. Otherwise tells the user and runs the
// settings dialog with request, so that a folder can be chosen; returns false.
bool CheckSimExecutable(std::string_view simFolder, Prompts& prompts, const SettingsDialogRequest& request);

}  // namespace vra
