#pragma once
// What the settings dialog edits and how its OK decides, without the
// widgets: the values taken from the settings, the checks of the typed texts
// (the simulation folder must hold the simulation), and the store into the
// settings and the document.

#include "core/settings/AppSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vra {

class CRpyGraphDoc;
class Prompts;

// The damage costs the dialog edits: the first entries of the table; the
// rest keep their stored values.
inline constexpr std::size_t kEditedDamageCosts = 20;
inline constexpr std::int32_t kDefaultBitmapSize = 768;

inline constexpr std::string_view kLocateSimTitle = "Locate VELMAR.exe";
inline constexpr std::string_view kOptionsExecutableMissingText =
    "Unable to find the file VELMAR.exe in the specified directory.\nPlease choose a valid Quoln directory.";
inline constexpr std::string_view kCostNotIntegerText = "Please enter an integer between 0 and 4294967295.";

struct OptionsValues {
    std::int32_t speedUnit = 1;  // 1 miles per hour, 0 kilometres per hour
    std::int32_t dontShowQualReport = 1;
    std::int32_t retireInRaceReport = 0;
    std::int32_t offTheTrackInRaceReport = 1;
    std::int32_t useNickNameInReports = 0;
    std::int32_t bmpSizeInPixel = kDefaultBitmapSize;
    std::string simFolder;
    std::string altReplayPath;
    std::string recordsPath;
    std::array<std::uint32_t, kEditedDamageCosts> damageCosts{};
};

// The values as stored; the damage-cost table is read from the store.
OptionsValues LoadOptions(AppSettings& settings);

// What the dialog holds when OK is pressed: the switches as values, the
// edits as typed.
struct OptionsInput {
    OptionsValues switches;  // the five switches and the speed unit; the rest is ignored
    std::string simFolderText;
    std::string altReplayPathText;
    std::string recordsPathText;
    std::string bitmapSizeText;
    std::array<std::string, kEditedDamageCosts> costTexts;
};

// Text up to its first line break.
std::string FirstLine(std::string_view text);
// The exported map's size: leading blanks, a sign and digits; no number, a
// value of 0 or less, or one beyond the 32-bit range gives 768.
std::int32_t ParseBitmapSize(std::string_view text);
// The map size a stored setting stands for: what the dialog would store
// after showing it, so a size of 0 or less is 768 wherever it is read.
std::int32_t BitmapSizeFromSetting(std::int32_t stored);
// A damage cost: digits with optional surrounding blanks, anything the
// stored table can hold (so that a stored value, even in the hidden entry,
// never keeps the dialog from closing).
std::optional<std::uint32_t> ParseDamageCost(std::string_view text);

// Whether folder holds the simulation's executable.
using SimExecutableCheck = std::function<bool(std::string_view folder)>;
// The open-file dialog for the executable: its folder, nullopt when cancelled.
std::optional<std::string> LocateSimExecutable(Prompts& prompts, std::string_view startFolder);

struct OptionsDecision {
    bool accepted = false;
    OptionsValues values;   // when accepted: what is stored
    std::string simFolder;  // the folder the edit shows now (one located meanwhile)
    int refusedCost = -1;   // the cost edit refused, else -1
};

// OK of the dialog. A bad cost is refused first (the user is told); then the
// simulation folder must hold the executable: an empty folder asks for it at
// once, a wrong one after the message, as often as the user locates a folder
// without it. Cancelling the locate dialog refuses OK and leaves the dialog
// open.
OptionsDecision DecideOptions(const OptionsInput& input, Prompts& prompts, const SimExecutableCheck& exists);

// Writes accepted values into the settings and the document's copies and
// saves the settings; a failed save is told to the user. False when it failed.
bool StoreOptions(const OptionsValues& values, AppSettings& settings, CRpyGraphDoc* document, Prompts& prompts);

}  // namespace vra
