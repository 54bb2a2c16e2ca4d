#pragma once
// What the core asks of the user. Core flows never show anything themselves:
// the GUI answers with real dialogs, batch modes with stderr, tests with a
// scripted fake.

#include "core/text/ShownText.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vra {

class AppSettings;
class CRpyGraphDoc;
class Drivers;
class Header;

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Button { Ok, Cancel, Yes, No, Retry };

// The first button of a set: the answer of a box that no one is there to
// answer.
constexpr Button FirstButton(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Button::Yes;
        case Buttons::RetryCancel:
            return Button::Retry;
        case Buttons::Ok:
        case Buttons::OkCancel:
            break;
    }
    return Button::Ok;
}

struct FileFilter {
    std::string label;    // "Replay files (*.rpy)"
    std::string pattern;  // "*.rpy"
};

struct OpenFileRequest {
    std::string title;                    // dialog title, e.g. "Select Replay File"
    std::filesystem::path initialFolder;  // may be empty or missing: the dialog picks one
    std::vector<FileFilter> filters;      // in the order shown; the first is selected
};

// Everything the lap chooser shows and needs to let the user pick a lap.
struct LapChoiceRequest {
    std::filesystem::path replayPath;
    const Header* header = nullptr;    // the replay's header, read before the chooser runs
    const Drivers* drivers = nullptr;  // its driver and lap tables
    // The replay information texts: titled groups of (label, text), each in
    // the order they are shown.
    struct InfoGroup {
        std::string title;
        std::vector<std::pair<std::string, std::string>> fields;
    };
    std::vector<InfoGroup> info;
    double trackLengthMetres = 0.0;  // for the average speeds of the lap items
    int speedUnit = 1;               // 1 miles per hour, 0 kilometres per hour
};

struct LapChoice {
    int driver = -1;  // index in the driver table
    int session = 0;  // 0 practice, 1 qualifying, 2 happy hour, 3 race
    int lap = 0;      // lap index in that session's table
};

// The settings dialog, run with the settings object it edits and the
// document whose copies it updates (either may be absent).
struct SettingsDialogRequest {
    AppSettings* settings = nullptr;
    CRpyGraphDoc* document = nullptr;
};

// The save-file dialog: it opens in initialFolder with defaultName filled in
// (made of replay text and file names) and asks before overwriting.
struct SaveFileRequest {
    std::filesystem::path initialFolder;
    ShownText defaultName;
    std::vector<FileFilter> filters;
};

// Which of the loaded laps an action applies to: one text per slot, empty for
// a slot without a lap.
struct LoadedLapChoiceRequest {
    std::string title;
    std::array<std::string, 5> texts;
    // The texts are file names in the system's encoding, not replay text.
    bool fileNames = false;
};

// One row of the merge parameters: the lap of a used slot.
struct MergeLapRow {
    bool used = false;
    std::string firstName, lastName;
    std::uint32_t lapWord = 0;  // flags and milliseconds
};

struct MergeParametersRequest {
    std::array<MergeLapRow, 5> rows;
};

// Start advantages in milliseconds, one per slot (0 for unused slots).
using MergeAdvantages = std::array<std::uint32_t, 5>;

struct SettingsDialogResult {
    bool accepted = false;  // OK: the dialog wrote and saved the settings
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box; returns the button the user pressed. An empty caption
    // means the program's own name.
    virtual Button message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) = 0;
    // A message box whose text names files or folders, each shown as the
    // system spells it. Prompts that show bytes as they are need not say more.
    virtual Button messageText(const ShownText& text, std::string_view caption, Icon icon, Buttons buttons) {
        return message(text.Bytes(), caption, icon, buttons);
    }
    // The open-file dialog; nullopt when cancelled.
    virtual std::optional<std::filesystem::path> openFile(const OpenFileRequest& request) = 0;
    // The lap chooser; nullopt when cancelled.
    virtual std::optional<LapChoice> chooseLap(const LapChoiceRequest& request) = 0;
    // The settings dialog, run modally.
    virtual SettingsDialogResult editSettings(const SettingsDialogRequest& request) = 0;
    // The save-file dialog; nullopt when cancelled. Prompts that cannot ask
    // (batch modes, tools) cancel.
    virtual std::optional<std::filesystem::path> saveFile(const SaveFileRequest&) { return std::nullopt; }
    // The loaded-lap choice; the chosen slot 0-4, or -1 when cancelled.
    virtual int chooseLoadedLap(const LoadedLapChoiceRequest&) { return -1; }
    // The merge parameters; nullopt when cancelled.
    virtual std::optional<MergeAdvantages> mergeParameters(const MergeParametersRequest&) { return std::nullopt; }

    // The plain box of most messages: the program's caption, a warning icon
    // and one OK button.
    void alert(std::string_view text) { message(text, {}, Icon::Warning, Buttons::Ok); }
};

}  // namespace vra
