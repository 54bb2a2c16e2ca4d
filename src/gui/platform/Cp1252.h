#pragma once
// The program's texts are Windows-1252 bytes, as the simulation writes them;
// Qt wants Unicode. These convert at the boundary.

#include <QString>

#include <string>
#include <string_view>

namespace vra {

QString Cp1252ToQString(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'.
std::string QStringToCp1252(const QString& text);

}  // namespace vra
