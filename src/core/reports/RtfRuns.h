#pragma once
// The formatted text of a rich-text (RTF) document, as runs of characters
// that share one style: what a help window needs, and nothing more.
// Paragraphs, line breaks and tabs become characters; bold, italic and
// underline are kept; fonts, colours, style sheets, document information and
// every optional destination are left out; words not known are ignored.
// Any bytes are accepted: groups nest 64 deep at most (deeper groups are
// dropped), the text stops at one mebi-character, and a brace without its
// partner ends or opens nothing.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

struct RtfRun {
    std::u32string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const RtfRun&, const RtfRun&) = default;
};

inline constexpr int kRtfMaxGroupDepth = 64;
inline constexpr std::size_t kRtfMaxText = std::size_t{1} << 20;

std::vector<RtfRun> RtfRuns(std::string_view rtf);

}  // namespace vra
