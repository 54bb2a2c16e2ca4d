#include "core/reports/RtfRuns.h"

#include "core/text/WebText.h"

#include <cstdint>

namespace vra {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct Style {
    bool bold = false, italic = false, underline = false;
    bool skip = false;  // inside a destination whose text is not shown
};

// Destinations whose text is not part of the document's body.
bool IsSkippedDestination(std::string_view word) {
    return word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" || word == "pict" ||
           word == "header" || word == "footer" || word == "object" || word == "listtable" ||
           word == "listoverridetable" || word == "rsidtbl" || word == "generator";
}

class Parser {
public:
    explicit Parser(std::string_view rtf) : in_(rtf) { stack_.push_back({}); }

    std::vector<RtfRun> Run() {
        while (pos_ < in_.size() && size_ < kRtfMaxText) {
            const char c = in_[pos_++];
            switch (c) {
                case '{':
                    open();
                    break;
                case '}':
                    close();
                    break;
                case '\\':
                    control();
                    break;
                case '\r':
                case '\n':
                    break;
                default:
                    put(Cp1252CodePoint(static_cast<unsigned char>(c)));
                    break;
            }
        }
        return std::move(runs_);
    }

private:
    Style& style() { return stack_.back(); }

    void open() {
        // Groups beyond the limit are counted, not kept: their text is dropped.
        if (overflow_ > 0 || static_cast<int>(stack_.size()) > kRtfMaxGroupDepth) {
            ++overflow_;
            return;
        }
        Style inner = style();
        stack_.push_back(inner);
    }

    void close() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.size() > 1) stack_.pop_back();
    }

    bool hidden() const { return overflow_ > 0 || stack_.back().skip; }

    void put(char32_t c) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (hidden() || size_ >= kRtfMaxText) return;
        const Style& s = stack_.back();
        if (runs_.empty() || runs_.back().bold != s.bold || runs_.back().italic != s.italic ||
            runs_.back().underline != s.underline)
            runs_.push_back({{}, s.bold, s.italic, s.underline});
        runs_.back().text.push_back(c);
        ++size_;
    }

    void control() {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            symbol(c);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_]) && pos_ - start < 32) ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;  // an overlong word is cut, never read twice
        bool hasValue = false;
        bool negative = false;
        long value = 0;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        int digits = 0;
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9') {
            if (digits++ < 10) value = value * 10 + (in_[pos_] - '0');
            hasValue = true;
            ++pos_;
        }
        if (negative) value = -value;
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        wordDone(word, hasValue, value);
    }

    void symbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}':
                put(static_cast<char32_t>(static_cast<unsigned char>(c)));
                break;
            case '\'': {
                // Two hex digits; a cut escape gives no character.
                int code = 0;
                int digits = 0;
                while (digits < 2 && pos_ < in_.size() && HexValue(in_[pos_]) >= 0) {
                    code = code * 16 + HexValue(in_[pos_++]);
                    ++digits;
                }
                if (digits == 2) put(Cp1252CodePoint(static_cast<unsigned char>(code)));
                break;
            }
            case '*':
                if (overflow_ == 0) style().skip = true;
                break;
            case '\r':
            case '\n':
                put(U'\n');
                break;
            case '~':
                put(U'\u00A0');
                break;
            case '_':
                put(U'\u2011');
                break;
            default:
                break;
        }
    }

    void wordDone(std::string_view word, bool hasValue, long value) {
        const bool on = !hasValue || value != 0;
        if (word == "par" || word == "line") {
            put(U'\n');
        } else if (word == "tab") {
            put(U'\t');
        } else if (word == "b") {
            if (overflow_ == 0) style().bold = on;
        } else if (word == "i") {
            if (overflow_ == 0) style().italic = on;
        } else if (word == "ul") {
            if (overflow_ == 0) style().underline = on;
        } else if (word == "ulnone") {
            if (overflow_ == 0) style().underline = false;
        } else if (word == "plain") {
            if (overflow_ == 0) {
                style().bold = style().italic = style().underline = false;
            }
        } else if (word == "u" && hasValue) {
            // A signed 16-bit value; the character after it is the fallback
            // for readers without Unicode and is not shown.
            const long cp = value < 0 ? value + 65536 : value;
            if (cp > 0 && cp <= 0xFFFF) put(static_cast<char32_t>(cp));
            pendingSkip_ = 1;
        } else if (IsSkippedDestination(word)) {
            if (overflow_ == 0) style().skip = true;
        }
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Style> stack_;
    int overflow_ = 0;
    int pendingSkip_ = 0;
    std::size_t size_ = 0;
    std::vector<RtfRun> runs_;
};

}  // namespace

std::vector<RtfRun> RtfRuns(std::string_view rtf) {
    return Parser(rtf).Run();
}

}  // namespace vra
