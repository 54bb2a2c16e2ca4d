#pragma once
// The command lines that export without a window: the replay is read, the
// export written and the process ends with a status a server can act on.
// Decided before any window system is touched, so a batch run needs no
// display (the report site draws its track map on the offscreen platform).

#include "core/platform/Prompts.h"

#include <string>
#include <vector>

namespace vra {

class Drivers;
class Header;
class SettingsStore;

// Messages of a batch run go to stderr, one line per line of the text; it
// never waits for an answer (a question gets its first button, a dialog is
// cancelled).
class BatchPrompts final : public Prompts {
public:
    Button message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) override;
    std::optional<std::filesystem::path> openFile(const OpenFileRequest&) override { return std::nullopt; }
    std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { return std::nullopt; }
    SettingsDialogResult editSettings(const SettingsDialogRequest&) override { return {}; }
};

class BatchMode {
public:
    // args: the arguments after the program's name. A batch flag is handled
    // whatever follows it: a batch run never starts the window.
    static bool Handles(const std::vector<std::string>& args);
    // The usage line of a batch mode called without the arguments it needs,
    // after what is wrong with a value it reads: an empty argument, a flag
    // without its value (a space typed after "-r"), or the replay and the
    // output given the other way round; empty when all is well.
    static std::string Usage(const std::vector<std::string>& args);
    // Runs the batch export; the process's exit status: 0 when everything
    // was written, 1 otherwise. The settings are read, never saved: a
    // running analyser keeps its own.
    static int Run(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts);
    // Each mode makes its missing output folder and names the folder or file
    // and the system's reason when it cannot write there. No mode writes over
    // the replay it reads, by any name: such a run is refused, and takes away
    // what it made, as any failed run does.
    // "-racedata": every car's place in every race frame into argument 3.
    static int RunRaceData(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts);
    // "-xml": the reports as XML into the records folder.
    static int RunXml(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts);
    // "-reportsite": the report site into argument 3 or the records folder,
    // with the replay's track decoded.
    static int RunReportSite(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts);
    // Reads the replay's header and driver table, telling a failure.
    static bool ReadReplay(const std::string& replay, Header& header, Drivers& drivers, Prompts& prompts);
    // A value argument without its two leading characters ("" when shorter).
    static std::string Value(const std::string& arg);
};

}  // namespace vra
