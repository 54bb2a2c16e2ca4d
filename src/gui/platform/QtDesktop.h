#pragma once
// The clipboard and the shell on Qt.

#include "core/platform/Clipboard.h"
#include "core/platform/Shell.h"

namespace vra {

class QtClipboard : public Clipboard {
public:
    bool setText(std::string_view text) override;
    bool setShownText(const ShownText& text) override;
};

// Opens paths with the desktop's associated program and addresses
// ("http:", "https:", "mailto:") in the browser or mail program.
class QtShell : public Shell {
public:
    bool open(std::string_view target) override;
};

}  // namespace vra
