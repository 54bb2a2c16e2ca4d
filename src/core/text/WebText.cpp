#include "core/text/WebText.h"

#include <array>

namespace vra {

namespace {

// Windows-1252 bytes 0x80-0x9F; the rest are the first 256 code points.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t Cp1252CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char32_t>(byte);
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) PutUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(ch)));
    return out;
}

std::string Cp1252ToXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') continue;
        PutUtf8(out, Cp1252CodePoint(b));
    }
    return out;
}

std::string FileNameToXmlText(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(name[i]); };
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char b = byte(i);
        if (b < 0x80) {
            if (b >= 0x20 || b == '\t' || b == '\n' || b == '\r') out += static_cast<char>(b);
            ++i;
            continue;
        }
        const std::size_t n = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
        bool valid = n != 0 && i + n <= name.size();
        char32_t c = valid ? (b & (0x7F >> n)) : 0;
        for (std::size_t k = 1; valid && k < n; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8 either.
        valid = valid && !(n == 3 && c < 0x800) && !(n == 4 && (c < 0x10000 || c > 0x10FFFF)) &&
                !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE && c != 0xFFFF;
        if (valid) {
            out.append(name.substr(i, n));
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string ShownTextToXmlText(const ShownText& text) {
    std::string out;
    for (const ShownText::Part& part : text.Parts())
        out += part.fileName ? FileNameToXmlText(part.bytes) : Cp1252ToXmlText(part.bytes);
    return out;
}

std::string EscapeMarkup(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace vra
