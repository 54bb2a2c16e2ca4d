#include "platform/ScriptedPrompts.h"

namespace vra::test {

namespace {

Button FirstButton(Buttons buttons)
{
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

}  // namespace

ScriptedPrompts& ScriptedPrompts::answer(Button button)
{
    buttons_.push_back(button);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::openFileAnswer(std::optional<std::filesystem::path> path)
{
    files_.push_back(std::move(path));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::lapAnswer(std::optional<LapChoice> choice)
{
    laps_.push_back(choice);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::settingsAnswer(SettingsAnswer answer)
{
    settings_.push_back(std::move(answer));
    return *this;
}

Button ScriptedPrompts::message(std::string_view text, std::string_view caption, Icon icon,
                                Buttons buttons)
{
    shown_.push_back({std::string(text), std::string(caption), icon, buttons});
    log_.push_back("message: " + std::string(text));
    if (buttons_.empty())
        return FirstButton(buttons);
    Button b = buttons_.front();
    buttons_.pop_front();
    return b;
}

std::optional<std::filesystem::path> ScriptedPrompts::openFile(const OpenFileRequest& request)
{
    openFileRequests_.push_back(request);
    log_.push_back("openFile: " + request.title);
    if (files_.empty())
        return std::nullopt;
    auto path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::optional<LapChoice> ScriptedPrompts::chooseLap(const LapChoiceRequest& request)
{
    lapRequests_.push_back(request);
    log_.push_back("chooseLap: " + request.replayPath.string());
    if (laps_.empty())
        return std::nullopt;
    auto choice = laps_.front();
    laps_.pop_front();
    return choice;
}

SettingsDialogResult ScriptedPrompts::editSettings(const SettingsDialogRequest& request)
{
    log_.push_back("editSettings");
    if (settings_.empty())
        return {};
    auto answer = std::move(settings_.front());
    settings_.pop_front();
    return answer ? answer(request) : SettingsDialogResult{};
}

std::vector<std::string> ScriptedPrompts::messages() const
{
    std::vector<std::string> texts;
    texts.reserve(shown_.size());
    for (const auto& s : shown_)
        texts.push_back(s.text);
    return texts;
}

}  // namespace vra::test
