#pragma once
// Replay and report text (Windows-1252 bytes) as it goes into UTF-8 pages
// and XML files: every character converted, those XML 1.0 forbids (control
// bytes other than tab, line feed and carriage return) dropped, and markup
// escaped, so that a driver's name can never break the page it stands in.

#include <string>
#include <string_view>

namespace vra {

// Windows-1252 bytes as UTF-8, without the characters XML 1.0 forbids.
std::string Cp1252ToXmlText(std::string_view text);

// A file name in the system's encoding (UTF-8) as XML text: sequences that
// are not UTF-8 become U+FFFD and forbidden characters are dropped, so that
// no name can make the file unreadable.
std::string FileNameToXmlText(std::string_view name);

// UTF-8 text with "&", "<", ">", '"' and "'" written as entities.
std::string EscapeMarkup(std::string_view utf8);

}  // namespace vra
