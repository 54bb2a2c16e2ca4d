#pragma once
// Opening a document, folder or web address with the program the desktop
// associates with it.

#include <string_view>

namespace vra {

class Shell {
public:
    virtual ~Shell() = default;
    // target: a file or folder path (Windows-1252 bytes) or a URL.
    // False when nothing could be started.
    virtual bool open(std::string_view target) = 0;
};

}  // namespace vra
