#pragma once
// The program's own pictures, drawn in code so that they scale cleanly and
// need no image files: toolbar glyphs and the picture shown while no track
// is loaded.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>

class Artwork {
public:
    enum class Glyph {
        ClearLaps,
        AddLap,
        Print,
        ZoomIn,
        ZoomOut,
        WholeTrack,
        Pan,
        RaceLine,
    };

    // A toolbar glyph of 16 x 15 pixels (scaled for high-density screens).
    static QIcon ToolIcon(Glyph glyph);
    // A lap toggle: a driving line in the lap's colour with the lap number.
    static QIcon LapIcon(int lap, QColor colour);
    // The welcome picture: a stylised circuit under an evening sky, 7:5.
    static QImage StartPicture(QSize size);
};
