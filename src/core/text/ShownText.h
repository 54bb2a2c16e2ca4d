#pragma once
// A text for the user joined from parts of two kinds: the program's own texts
// and the strings inside replays are Windows-1252 bytes, while the names of
// files and folders are bytes of the system's own encoding. Each part keeps
// its kind until the text is shown, where it is decoded as what it is: one
// reading for the whole text would garble one kind or the other.

#include "core/base/KeptFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vra {

class ShownText {
public:
    struct Part {
        std::string bytes;
        bool fileName = false;
        bool operator==(const Part&) const = default;
    };

    ShownText() = default;
    // A text of one Windows-1252 part.
    ShownText(std::string_view text) { Text(text); }
    ShownText(const char* text) : ShownText(std::string_view(text)) {}
    ShownText(const std::string& text) : ShownText(std::string_view(text)) {}

    ShownText& Text(std::string_view text) { return Add(text, false); }
    ShownText& FileName(std::string_view name) { return Add(name, true); }
    ShownText& FileName(const std::string& name) { return Add(name, true); }
    ShownText& FileName(const char* name) { return Add(name, true); }
    ShownText& FileName(const std::filesystem::path& path) { return Add(path.string(), true); }

    const std::vector<Part>& Parts() const { return parts_; }
    // Every part's bytes joined, as they are: what goes to a log or stderr.
    std::string Bytes() const {
        std::string all;
        for (const Part& p : parts_) all += p.bytes;
        return all;
    }
    bool operator==(const ShownText&) const = default;

private:
    ShownText& Add(std::string_view bytes, bool fileName) {
        if (bytes.empty()) return *this;
        if (!parts_.empty() && parts_.back().fileName == fileName)
            parts_.back().bytes += bytes;
        else
            parts_.push_back({std::string(bytes), fileName});
        return *this;
    }

    std::vector<Part> parts_;
};

// text, then a line naming where something failed and, when there is one,
// the system's reason, which comes in the system's own spelling as a file
// name does. An output that is the replay itself is told as the reason, then
// the output's name.
inline ShownText WhereAndWhy(std::string_view text, std::string_view where, std::error_code reason) {
    ShownText shown(text);
    if (IsKeptFileError(reason)) return shown.Text("\r\n").Text(kOutputIsReplayText).Text("\r\n").FileName(where);
    shown.Text("\r\n").FileName(where);
    if (reason) shown.Text(": ").FileName(reason.message());
    return shown;
}

}  // namespace vra
