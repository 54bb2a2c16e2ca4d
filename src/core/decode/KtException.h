#pragma once
// The one error type of the track decoder. Its text is shown to the user
// below the caller's own message, so it carries the whole explanation.

#include <stdexcept>
#include <string>

namespace vra {

class KtException : public std::runtime_error {
public:
    explicit KtException(const char* text) : std::runtime_error(text) {}
    explicit KtException(const std::string& text) : std::runtime_error(text) {}

    std::string Text() const { return what(); }
};

}  // namespace vra
