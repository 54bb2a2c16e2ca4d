#pragma once
// Recording fakes of the clipboard, the shell and the wait box, and a silent wait box.

#include "core/platform/Clipboard.h"
#include "core/platform/Shell.h"
#include "core/platform/WaitBox.h"

#include <string>
#include <vector>

namespace vra::test {

class FakeClipboard : public Clipboard {
public:
    bool setText(std::string_view text) override {
        if (!unavailable_) text_.assign(text);
        return !unavailable_;
    }
    bool setShownText(const ShownText& text) override {
        if (!setText(text.Bytes())) return false;
        shown_ = text;
        return true;
    }
    // The current content; empty before the first successful copy.
    const std::string& text() const { return text_; }
    // The last text of both kinds, with its file names marked.
    const ShownText& shownText() const { return shown_; }
    void setUnavailable(bool unavailable) { unavailable_ = unavailable; }

private:
    std::string text_;
    ShownText shown_;
    bool unavailable_ = false;
};

class FakeShell : public Shell {
public:
    bool open(std::string_view target) override {
        opened_.emplace_back(target);
        return !failing_;
    }
    const std::vector<std::string>& opened() const { return opened_; }
    void setFailing(bool failing) { failing_ = failing; }

private:
    std::vector<std::string> opened_;
    bool failing_ = false;
};

// Shows nothing and keeps nothing, for runs that only time or fuzz the work.
class SilentWaitBox : public WaitBox {
public:
    void Show(std::string_view) override {}
    void SetText(std::string_view) override {}
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetPos(std::int32_t) override {}
    void ShowProgress() override {}
    void Hide() override {}
};

// Records every call as a line: "show: <text>", "text: <text>",
// "range: <lower> <upper>", "pos: <position>", "progress", "hide".
class RecordingWaitBox : public WaitBox {
public:
    void Show(std::string_view text) override {
        record("show: ", text);
        visible_ = true;
    }
    void SetText(std::string_view text) override { record("text: ", text); }
    void SetRange(std::int32_t lower, std::int32_t upper) override {
        record("range: ", std::to_string(lower) + " " + std::to_string(upper));
    }
    void SetPos(std::int32_t position) override { record("pos: ", std::to_string(position)); }
    void ShowProgress() override { record("progress", ""); }
    void Hide() override {
        record("hide", "");
        visible_ = false;
    }

    const std::vector<std::string>& calls() const { return calls_; }
    bool visible() const { return visible_; }

private:
    void record(std::string_view call, std::string_view text) { calls_.push_back(std::string(call).append(text)); }

    std::vector<std::string> calls_;
    bool visible_ = false;
};

}  // namespace vra::test
