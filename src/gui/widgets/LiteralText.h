#pragma once
// Names of drivers and files are shown as they are spelt. A button, a check
// box, a radio button, a group box and a menu entry take "&" for the mark of
// their shortcut key; labels that show names are set to plain text, so that
// a name such as "<b>" is not taken for a tag either.

#include <QString>

namespace vra {

// The caption that shows text as it is, every "&" included.
inline QString LiteralCaption(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace vra
