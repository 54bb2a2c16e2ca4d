#pragma once
// The system clipboard, text only.

#include "core/text/ShownText.h"

#include <string_view>

namespace vra {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with text (Windows-1252 bytes);
    // false when the clipboard could not be had.
    virtual bool setText(std::string_view text) = 0;
    // The same for a text that holds file names as well.
    virtual bool setShownText(const ShownText& text) { return setText(text.Bytes()); }
};

// Puts text on the clipboard: everything up to its first zero byte, so a
// text taken from a fixed buffer copies as the program would show it.
// Returns true on success.
bool CopyTextToClipboard(Clipboard& clipboard, std::string_view text);

}  // namespace vra
