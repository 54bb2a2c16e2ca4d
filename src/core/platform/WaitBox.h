#pragma once
// The small "please wait" box shown around long operations that run on the
// user-interface thread: one line of text and an optional progress bar.

#include <cstdint>
#include <string_view>

namespace vra {

inline constexpr std::string_view kPleaseWaitText = "Please wait while loading replay lap...";

class WaitBox {
public:
    virtual ~WaitBox() = default;

    // Shows the box with its text and draws it at once, since the caller goes
    // on working without a message loop. Only the text shows at first.
    virtual void Show(std::string_view text) = 0;
    virtual void SetText(std::string_view text) = 0;
    virtual void SetRange(std::int32_t lower, std::int32_t upper) = 0;
    virtual void SetPos(std::int32_t position) = 0;
    // Makes the progress bar visible.
    virtual void ShowProgress() = 0;
    // Hides and discards the box; a later Show() starts afresh.
    virtual void Hide() = 0;
};

// Shows a wait box for the lifetime of a scope, so that every way out of a
// long operation hides it.
class WaitBoxScope {
public:
    WaitBoxScope(WaitBox& box, std::string_view text) : box_(box) { box_.Show(text); }
    ~WaitBoxScope() { box_.Hide(); }
    WaitBoxScope(const WaitBoxScope&) = delete;
    WaitBoxScope& operator=(const WaitBoxScope&) = delete;
    WaitBox& box() { return box_; }

private:
    WaitBox& box_;
};

}  // namespace vra
