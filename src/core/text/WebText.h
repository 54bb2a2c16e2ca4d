#pragma once
// Replay and report text (Windows-1252 bytes) as it goes into UTF-8 pages
// and XML files: every character converted, those XML 1.0 forbids (control
// bytes other than tab, line feed and carriage return) dropped, and markup
// escaped, so that a driver's name can never break the page it stands in.

#include "core/text/ShownText.h"

#include <string>
#include <string_view>

namespace vra {

// The character a Windows-1252 byte stands for; the five bytes without one
// keep the C1 control of the same value.
char32_t Cp1252CodePoint(unsigned char byte);

// Windows-1252 bytes as UTF-8, every byte kept.
std::string Cp1252ToUtf8(std::string_view text);

// Windows-1252 bytes as UTF-8, without the characters XML 1.0 forbids.
std::string Cp1252ToXmlText(std::string_view text);

// A file name in the system's encoding (UTF-8) as XML text: sequences that
// are not UTF-8 become U+FFFD and forbidden characters are dropped, so that
// no name can make the file unreadable.
std::string FileNameToXmlText(std::string_view name);

// A text of both kinds as XML text, each part converted as what it is.
std::string ShownTextToXmlText(const ShownText& text);

// UTF-8 text with "&", "<", ">", '"' and "'" written as entities.
std::string EscapeMarkup(std::string_view utf8);

}  // namespace vra
