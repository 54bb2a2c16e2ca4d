#include "support/platform/ScriptedPrompts.h"

namespace vra::test {

namespace {

// The next scripted answer, or `exhausted` when the script has run out.
template <class T>
T Next(std::deque<T>& script, T exhausted) {
    if (script.empty()) return exhausted;
    T next = std::move(script.front());
    script.pop_front();
    return next;
}

}  // namespace

ScriptedPrompts& ScriptedPrompts::answer(Button button) {
    buttons_.push_back(button);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::openFileAnswer(std::optional<std::filesystem::path> path) {
    files_.push_back(std::move(path));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::lapAnswer(std::optional<LapChoice> choice) {
    laps_.push_back(choice);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::settingsAnswer(SettingsAnswer answer) {
    settings_.push_back(std::move(answer));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::saveFileAnswer(std::optional<std::filesystem::path> path) {
    saveFiles_.push_back(std::move(path));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::loadedLapAnswer(int slot) {
    loadedLaps_.push_back(slot);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::mergeAnswer(std::optional<MergeAdvantages> advantages) {
    merges_.push_back(advantages);
    return *this;
}

Button ScriptedPrompts::message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) {
    shown_.push_back({std::string(text), std::string(caption), icon, buttons, ShownText(text)});
    log_.push_back("message: " + std::string(text));
    return Next(buttons_, FirstButton(buttons));
}

Button ScriptedPrompts::messageText(const ShownText& text, std::string_view caption, Icon icon, Buttons buttons) {
    const Button pressed = message(text.Bytes(), caption, icon, buttons);
    shown_.back().parts = text;
    return pressed;
}

std::optional<std::filesystem::path> ScriptedPrompts::openFile(const OpenFileRequest& request) {
    openFileRequests_.push_back(request);
    log_.push_back("openFile: " + request.title);
    return Next(files_, {});
}

std::optional<LapChoice> ScriptedPrompts::chooseLap(const LapChoiceRequest& request) {
    lapRequests_.push_back(request);
    log_.push_back("chooseLap: " + request.replayPath.string());
    return Next(laps_, {});
}

SettingsDialogResult ScriptedPrompts::editSettings(const SettingsDialogRequest& request) {
    log_.push_back("editSettings");
    auto answer = Next(settings_, {});
    return answer ? answer(request) : SettingsDialogResult{};
}

std::optional<std::filesystem::path> ScriptedPrompts::saveFile(const SaveFileRequest& request) {
    saveFileRequests_.push_back(request);
    log_.push_back("saveFile: " + request.defaultName.Bytes());
    return Next(saveFiles_, {});
}

int ScriptedPrompts::chooseLoadedLap(const LoadedLapChoiceRequest& request) {
    loadedLapRequests_.push_back(request);
    log_.push_back("chooseLoadedLap: " + request.title);
    return Next(loadedLaps_, -1);
}

std::optional<MergeAdvantages> ScriptedPrompts::mergeParameters(const MergeParametersRequest& request) {
    mergeRequests_.push_back(request);
    log_.push_back("mergeParameters");
    return Next(merges_, {});
}

std::vector<std::string> ScriptedPrompts::messages() const {
    std::vector<std::string> texts;
    for (const auto& s : shown_) texts.push_back(s.text);
    return texts;
}

}  // namespace vra::test
