#pragma once
// A font asked for by its height gets that height for its whole cell, ascent
// and descent together, as the layouts of the program's pages and controls
// were measured; Qt's pixel size is the smaller height of the letters alone.

#include <QFont>
#include <QFontMetrics>

#include <algorithm>

namespace vra {

// Sets font's pixel size so that its cell is at most pixels high.
inline void SetCellHeight(QFont& font, int pixels) {
    font.setPixelSize(pixels);
    if (const int cell = QFontMetrics(font).height(); cell > pixels)
        font.setPixelSize(std::max(1, pixels * pixels / cell));
}

}  // namespace vra
