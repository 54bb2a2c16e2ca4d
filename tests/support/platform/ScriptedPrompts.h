#pragma once
// Prompts for tests: answers from scripts given in advance, in order, and
// records every prompt in the order it was shown, so that a test reads like
// the run it checks.

#include "core/platform/Prompts.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vra::test {

class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
        ShownText parts;  // the text with its file names marked
    };

    using SettingsAnswer = std::function<SettingsDialogResult(const SettingsDialogRequest&)>;

    // Scripts, consumed in order. An exhausted script answers with the first
    // button of the box (OK, Yes or Retry) and cancels every dialog.
    ScriptedPrompts& answer(Button button);
    ScriptedPrompts& openFileAnswer(std::optional<std::filesystem::path> path);
    ScriptedPrompts& lapAnswer(std::optional<LapChoice> choice);
    ScriptedPrompts& settingsAnswer(SettingsAnswer answer);
    ScriptedPrompts& saveFileAnswer(std::optional<std::filesystem::path> path);
    ScriptedPrompts& loadedLapAnswer(int slot);
    ScriptedPrompts& mergeAnswer(std::optional<MergeAdvantages> advantages);

    Button message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) override;
    Button messageText(const ShownText& text, std::string_view caption, Icon icon, Buttons buttons) override;
    std::optional<std::filesystem::path> openFile(const OpenFileRequest& request) override;
    std::optional<LapChoice> chooseLap(const LapChoiceRequest& request) override;
    SettingsDialogResult editSettings(const SettingsDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const SaveFileRequest& request) override;
    int chooseLoadedLap(const LoadedLapChoiceRequest& request) override;
    std::optional<MergeAdvantages> mergeParameters(const MergeParametersRequest& request) override;

    // The texts of the message boxes, in order.
    std::vector<std::string> messages() const;
    const std::vector<Shown>& shown() const { return shown_; }
    // Every prompt in order: "message: <text>", "openFile: <title>",
    // "chooseLap: <replay path>", "editSettings", "saveFile: <default name>",
    // "chooseLoadedLap: <title>", "mergeParameters".
    const std::vector<std::string>& log() const { return log_; }
    const std::vector<OpenFileRequest>& openFileRequests() const { return openFileRequests_; }
    const std::vector<LapChoiceRequest>& lapRequests() const { return lapRequests_; }
    const std::vector<SaveFileRequest>& saveFileRequests() const { return saveFileRequests_; }
    const std::vector<LoadedLapChoiceRequest>& loadedLapRequests() const { return loadedLapRequests_; }
    const std::vector<MergeParametersRequest>& mergeRequests() const { return mergeRequests_; }

private:
    std::deque<Button> buttons_;
    std::deque<std::optional<std::filesystem::path>> files_;
    std::deque<std::optional<LapChoice>> laps_;
    std::deque<SettingsAnswer> settings_;
    std::deque<std::optional<std::filesystem::path>> saveFiles_;
    std::deque<int> loadedLaps_;
    std::deque<std::optional<MergeAdvantages>> merges_;
    std::vector<SaveFileRequest> saveFileRequests_;
    std::vector<LoadedLapChoiceRequest> loadedLapRequests_;
    std::vector<MergeParametersRequest> mergeRequests_;
    std::vector<Shown> shown_;
    std::vector<std::string> log_;
    std::vector<OpenFileRequest> openFileRequests_;
    std::vector<LapChoiceRequest> lapRequests_;
};

}  // namespace vra::test
