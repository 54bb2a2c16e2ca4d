#include "platform/FakeDesktop.h"

#include <fmt/format.h>

namespace vra::test {

bool FakeClipboard::setText(std::string_view text)
{
    if (unavailable_)
        return false;
    text_.assign(text);
    ++copies_;
    return true;
}

bool FakeShell::open(std::string_view target)
{
    opened_.emplace_back(target);
    return !failing_;
}

void RecordingWaitBox::show(std::string_view text)
{
    calls_.push_back(fmt::format("show: {}", text));
    visible_ = true;
}

void RecordingWaitBox::setText(std::string_view text)
{
    calls_.push_back(fmt::format("text: {}", text));
}

void RecordingWaitBox::setRange(std::int32_t lower, std::int32_t upper)
{
    calls_.push_back(fmt::format("range: {} {}", lower, upper));
}

void RecordingWaitBox::setPos(std::int32_t position)
{
    calls_.push_back(fmt::format("pos: {}", position));
}

void RecordingWaitBox::showProgress()
{
    calls_.push_back("progress");
}

void RecordingWaitBox::hide()
{
    calls_.push_back("hide");
    visible_ = false;
}

}  // namespace vra::test
