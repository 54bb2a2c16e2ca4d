#include "core/platform/Clipboard.h"

namespace vra {

bool CopyTextToClipboard(Clipboard& clipboard, std::string_view text) {
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    return clipboard.setText(text);
}

}  // namespace vra
