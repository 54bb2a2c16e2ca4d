#pragma once
// The program's own pictures, drawn in code so that they scale cleanly and
// need no image files: toolbar glyphs and the picture shown while no track
// is loaded.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>

namespace vra {

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
        LapFinder,
        ArrangeLaps,
        MergeLaps,
        CdDatabase,
        GraphWindow,
        GearChange,
        ExportRecords,
        PbViewer,
        TractionCircle,
        TelemetrySettings,
        BeginningOfLap,
        FastReverse,
        Play,
        Pause,
        FastForward,
        Stop,
        RaceReplay,
    };

    // A toolbar glyph of 16 x 15 pixels (scaled for high-density screens).
    static QIcon ToolIcon(Glyph glyph);
    // The toolbar picture of command id (core/commands/CommandIds.h); a null
    // icon for a command that has none of its own.
    static QIcon CommandIcon(int id);
    // A lap toggle: a driving line in the lap's colour with the lap number.
    static QIcon LapIcon(int lap, QColor colour);
    // Sixteen pictures of a car seen from above, 24 x 24 pixels each side by
    // side, one per heading sector (sector 0 points up, then clockwise in
    // steps of 22.5 degrees); white stands for transparent.
    static QImage CarPictures();
    // The program's own icon (window, task bar): a track with its race line
    // and a chequered flag on a dark tile, drawn at 16 to 256 pixels.
    static QIcon ProgramIcon();
    // The welcome picture: a stylised circuit under an evening sky, 7:5.
    static QImage StartPicture(QSize size);
};

}  // namespace vra
