#pragma once
// The program's texts are Windows-1252 bytes, as the simulation writes them;
// file and folder names are the system's own encoding; Qt wants Unicode.
// These convert at the boundary, each kind as what it is.

#include "core/text/ShownText.h"

#include <QString>

#include <string>
#include <string_view>

namespace vra {

QString Cp1252ToQString(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'.
std::string QStringToCp1252(const QString& text);

// A file or folder name (or a path) as the system spells it.
QString FileNameToQString(std::string_view bytes);
std::string QStringToFileName(const QString& name);

// A text joined from both kinds, each part decoded as its kind.
QString ShownTextToQString(const ShownText& text);

}  // namespace vra
