#pragma once
// Recording fakes of the clipboard, the shell and the wait box.

#include "platform/Clipboard.h"
#include "platform/Shell.h"
#include "platform/WaitBox.h"

#include <string>
#include <vector>

namespace vra::test {

class FakeClipboard : public Clipboard {
public:
    bool setText(std::string_view text) override;
    // The current content; empty before the first successful copy.
    const std::string& text() const { return text_; }
    int copies() const { return copies_; }
    void setUnavailable(bool unavailable) { unavailable_ = unavailable; }

private:
    std::string text_;
    int copies_ = 0;
    bool unavailable_ = false;
};

class FakeShell : public Shell {
public:
    bool open(std::string_view target) override;
    const std::vector<std::string>& opened() const { return opened_; }
    void setFailing(bool failing) { failing_ = failing; }

private:
    std::vector<std::string> opened_;
    bool failing_ = false;
};

// Records every call as a line: "show: <text>", "text: <text>",
// "range: <lower> <upper>", "pos: <position>", "progress", "hide".
class RecordingWaitBox : public WaitBox {
public:
    void show(std::string_view text) override;
    void setText(std::string_view text) override;
    void setRange(std::int32_t lower, std::int32_t upper) override;
    void setPos(std::int32_t position) override;
    void showProgress() override;
    void hide() override;

    const std::vector<std::string>& calls() const { return calls_; }
    bool visible() const { return visible_; }

private:
    std::vector<std::string> calls_;
    bool visible_ = false;
};

}  // namespace vra::test
