#include "gui/widgets/Artwork.h"

#include "core/commands/CommandIds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace vra {

namespace {

constexpr QSize kGlyphSize(16, 15);

QPixmap Canvas(int scale) {
    QPixmap pixmap(kGlyphSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(90, 60, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 13.5));
    p.setPen(QPen(Qt::black, 1.4));
    p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (plus) p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

// A sheet of paper with a mark of the given colour across it: the two lines
// make a cross (clear) or, shifted down and right, a plus (add).
void PageWithMark(QPainter& p, qreal left, QPen mark, QLineF a, QLineF b) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(left, 1.5, 10, 12));
    p.setPen(mark);
    p.drawLine(a);
    p.drawLine(b);
}

// A triangle of a playback button pointing right (or left) from x.
void Arrowhead(QPainter& p, qreal x, qreal width, bool right) {
    const qreal tip = right ? x + width : x - width;
    p.drawPolygon(QPolygonF({QPointF(x, 2.5), QPointF(tip, 7.5), QPointF(x, 12.5)}));
}

void DrawGlyph(QPainter& p, Artwork::Glyph glyph) {
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
        case Artwork::Glyph::ClearLaps:
            PageWithMark(p, 2.5, QPen(QColor(200, 0, 0), 2), QLineF(4, 4, 11, 11), QLineF(11, 4, 4, 11));
            break;
        case Artwork::Glyph::AddLap:
            PageWithMark(p, 1.5, QPen(QColor(0, 140, 0), 2.2), QLineF(11, 6, 11, 14), QLineF(7, 10, 15, 10));
            break;
        case Artwork::Glyph::Print:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(190, 190, 190));
            p.drawRect(QRectF(1.5, 6.5, 13, 5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10.5, 7, 3));
            break;
        case Artwork::Glyph::ZoomIn:
            Magnifier(p, true);
            break;
        case Artwork::Glyph::ZoomOut:
            Magnifier(p, false);
            break;
        case Artwork::Glyph::WholeTrack: {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5, 1.5, 13, 12));
            QPainterPath oval;
            oval.addRoundedRect(QRectF(4, 4.5, 8, 6), 3, 3);
            p.setPen(QPen(QColor(80, 80, 80), 1.6));
            p.drawPath(oval);
            break;
        }
        case Artwork::Glyph::Pan: {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(255, 224, 189));
            p.drawRoundedRect(QRectF(3.5, 6.5, 9, 7), 2, 2);
            for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRectF(3.5 + i * 2.2, 2 + (i % 3 == 0 ? 1 : 0), 2, 6), 1, 1);
            break;
        }
        case Artwork::Glyph::RaceLine: {
            QPainterPath line;
            line.moveTo(1, 12);
            line.cubicTo(5, 0, 11, 15, 15, 3);
            p.setPen(QPen(QColor(120, 120, 120), 3));
            p.drawPath(line);
            p.setPen(QPen(Qt::white, 1));
            p.drawPath(line);
            break;
        }
        case Artwork::Glyph::LapFinder: {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 9, 12));
            p.setPen(QColor(120, 120, 120));
            for (qreal y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(3, y), QPointF(9, y));
            p.setPen(QPen(QColor(90, 60, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(11.5, 10.5), QPointF(14.5, 13.5));
            p.setPen(QPen(Qt::black, 1.2));
            p.setBrush(QColor(220, 235, 255));
            p.drawEllipse(QRectF(6.5, 5.5, 6, 6));
            break;
        }
        case Artwork::Glyph::ArrangeLaps: {
            const QColor rows[] = {QColor(220, 0, 0), QColor(0, 0, 220), QColor(0, 160, 0)};
            for (int i = 0; i < 3; ++i) {
                p.setPen(Qt::black);
                p.setBrush(Qt::white);
                p.drawRect(QRectF(1.5, 1.5 + i * 4.5, 8, 3));
                p.setPen(QPen(rows[i], 1.2));
                p.drawLine(QPointF(3, 3 + i * 4.5), QPointF(8, 3 + i * 4.5));
            }
            p.setPen(QPen(Qt::black, 1.2));
            p.drawLine(QPointF(13, 2), QPointF(13, 13));
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygonF({QPointF(10.5, 4.5), QPointF(13, 1.5), QPointF(15.5, 4.5)}));
            p.drawPolygon(QPolygonF({QPointF(10.5, 10.5), QPointF(13, 13.5), QPointF(15.5, 10.5)}));
            break;
        }
        case Artwork::Glyph::MergeLaps: {
            QPainterPath upper(QPointF(1, 2.5));
            upper.cubicTo(5, 2.5, 6, 7.5, 9, 7.5);
            QPainterPath lower(QPointF(1, 12.5));
            lower.cubicTo(5, 12.5, 6, 7.5, 9, 7.5);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(220, 0, 0), 1.8));
            p.drawPath(upper);
            p.setPen(QPen(QColor(0, 0, 220), 1.8));
            p.drawPath(lower);
            p.setPen(QPen(Qt::black, 1.8));
            p.drawLine(QPointF(9, 7.5), QPointF(12, 7.5));
            p.setPen(Qt::black);
            p.setBrush(Qt::black);
            Arrowhead(p, 11.5, 3.5, true);
            break;
        }
        case Artwork::Glyph::CdDatabase:
            p.setPen(Qt::black);
            p.setBrush(QColor(200, 205, 215));
            p.drawEllipse(QRectF(1.5, 1, 13, 13));
            p.setPen(QPen(QColor(140, 190, 240), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(3.5, 3, 9, 9), 30 * 16, 60 * 16);
            p.drawArc(QRectF(3.5, 3, 9, 9), 210 * 16, 60 * 16);
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(6, 5.5, 4, 4));
            break;
        case Artwork::Glyph::GraphWindow: {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(0.5, 1.5, 15, 12));
            p.fillRect(QRectF(1, 2, 14, 2.5), QColor(0, 0, 140));
            QPainterPath curve(QPointF(2, 11));
            curve.lineTo(5, 7);
            curve.lineTo(8, 10);
            curve.lineTo(11, 6);
            curve.lineTo(14, 8);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(220, 0, 0), 1.2));
            p.drawPath(curve);
            break;
        }
        case Artwork::Glyph::GearChange:
            p.setPen(QPen(QColor(80, 80, 80), 1.6));
            for (qreal x : {3.5, 8.0, 12.5}) p.drawLine(QPointF(x, 3), QPointF(x, 13));
            p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
            p.setPen(Qt::black);
            p.setBrush(QColor(220, 0, 0));
            p.drawEllipse(QRectF(10, 1, 5, 5));
            break;
        case Artwork::Glyph::ExportRecords:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 9, 12));
            p.setPen(QColor(120, 120, 120));
            for (qreal y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(3, y), QPointF(9, y));
            p.setPen(QPen(QColor(0, 140, 0), 2));
            p.drawLine(QPointF(6, 9.5), QPointF(12, 9.5));
            p.setPen(QColor(0, 140, 0));
            p.setBrush(QColor(0, 140, 0));
            p.drawPolygon(QPolygonF({QPointF(11.5, 6), QPointF(15.5, 9.5), QPointF(11.5, 13)}));
            break;
        case Artwork::Glyph::PbViewer:
            p.setPen(Qt::black);
            p.setBrush(QColor(190, 190, 190));
            p.drawRect(QRectF(6.5, 0.5, 3, 2));
            p.setBrush(QColor(255, 230, 120));
            p.drawEllipse(QRectF(2, 2.5, 12, 12));
            p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 8.5), QPointF(8, 4.5));
            p.drawLine(QPointF(8, 8.5), QPointF(11, 10));
            break;
        case Artwork::Glyph::TractionCircle:
            p.setPen(QPen(QColor(150, 150, 150), 1));
            p.drawLine(QPointF(1, 7.5), QPointF(15, 7.5));
            p.drawLine(QPointF(8, 0.5), QPointF(8, 14.5));
            p.setPen(QPen(Qt::black, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(1.5, 1, 13, 13));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(220, 0, 0));
            p.drawEllipse(QRectF(9, 3, 3.5, 3.5));
            break;
        case Artwork::Glyph::TelemetrySettings: {
            const qreal knobs[] = {5, 10, 7};
            for (int i = 0; i < 3; ++i) {
                const qreal y = 3 + i * 4.5;
                p.setPen(QPen(QColor(120, 120, 120), 1.4));
                p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
                p.setPen(Qt::black);
                p.setBrush(QColor(90, 140, 220));
                p.drawRect(QRectF(knobs[i] - 1.5, y - 2, 3, 4));
            }
            break;
        }
        case Artwork::Glyph::BeginningOfLap:
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 140, 0));
            p.drawRect(QRectF(2.5, 2.5, 2, 10));
            Arrowhead(p, 13.5, 8, false);
            break;
        case Artwork::Glyph::FastReverse:
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 140, 0));
            Arrowhead(p, 8.5, 7, false);
            Arrowhead(p, 15, 6.5, false);
            break;
        case Artwork::Glyph::Play:
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 140, 0));
            Arrowhead(p, 4.5, 8, true);
            break;
        case Artwork::Glyph::Pause:
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 140, 0));
            p.drawRect(QRectF(4.5, 2.5, 2.5, 10));
            p.drawRect(QRectF(9.5, 2.5, 2.5, 10));
            break;
        case Artwork::Glyph::FastForward:
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 140, 0));
            Arrowhead(p, 1, 6.5, true);
            Arrowhead(p, 7.5, 7, true);
            break;
        case Artwork::Glyph::Stop:
            p.setPen(Qt::black);
            p.setBrush(QColor(200, 0, 0));
            p.drawRect(QRectF(3.5, 3, 9, 9));
            break;
        case Artwork::Glyph::RaceReplay:
            p.setPen(QPen(QColor(90, 60, 20), 1.5));
            p.drawLine(QPointF(2.5, 1.5), QPointF(2.5, 14.5));
            p.setPen(Qt::NoPen);
            for (int row = 0; row < 3; ++row)
                for (int col = 0; col < 4; ++col)
                    p.fillRect(QRectF(3.5 + col * 2.75, 1.5 + row * 2.75, 2.75, 2.75),
                               (row + col) % 2 ? Qt::black : Qt::white);
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(3.5, 1.5, 11, 8.25));
            break;
    }
}

// The toolbar pictures of the commands. A new toolbar command gets its icon
// here: add a Glyph (Artwork.h), draw it in DrawGlyph above (16 x 15, thin
// black outlines round light or signal-coloured fills) and add its row; the
// main frame gives every command on a toolbar the picture of its row.
struct CommandGlyph {
    int id;
    Artwork::Glyph glyph;
};
constexpr CommandGlyph kCommandGlyphs[] = {
    {cmd::FileNew, Artwork::Glyph::ClearLaps},
    {cmd::AddReplayLap, Artwork::Glyph::AddLap},
    {cmd::AddLapWithLapFinder, Artwork::Glyph::LapFinder},
    {cmd::MoveRemoveLaps, Artwork::Glyph::ArrangeLaps},
    {cmd::MergeLaps, Artwork::Glyph::MergeLaps},
    {cmd::FilePrint, Artwork::Glyph::Print},
    {cmd::GraphWindow, Artwork::Glyph::GraphWindow},
    {cmd::GearChangeAnalyzer, Artwork::Glyph::GearChange},
    {cmd::CdDatabaseCreator, Artwork::Glyph::CdDatabase},
    {cmd::ExportRecords, Artwork::Glyph::ExportRecords},
    {cmd::PbViewer, Artwork::Glyph::PbViewer},
    {cmd::TractionCircle, Artwork::Glyph::TractionCircle},
    {cmd::TelemetrySettings, Artwork::Glyph::TelemetrySettings},
    {cmd::MoveToBeginningOfLap, Artwork::Glyph::BeginningOfLap},
    {cmd::FastReverse, Artwork::Glyph::FastReverse},
    {cmd::Play, Artwork::Glyph::Play},
    {cmd::Pause, Artwork::Glyph::Pause},
    {cmd::FastForward, Artwork::Glyph::FastForward},
    {cmd::Stop, Artwork::Glyph::Stop},
    {cmd::ToggleRaceReplay, Artwork::Glyph::RaceReplay},
    {cmd::ZoomIn, Artwork::Glyph::ZoomIn},
    {cmd::ZoomOut, Artwork::Glyph::ZoomOut},
    {cmd::ShowWholeTrack, Artwork::Glyph::WholeTrack},
    {cmd::PanningTool, Artwork::Glyph::Pan},
    {cmd::ToggleRaceLine, Artwork::Glyph::RaceLine},
};

}  // namespace

QIcon Artwork::ToolIcon(Glyph glyph) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap = Canvas(scale);
        QPainter p(&pixmap);
        DrawGlyph(p, glyph);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Artwork::CommandIcon(int id) {
    for (const CommandGlyph& row : kCommandGlyphs)
        if (row.id == id) return ToolIcon(row.glyph);
    return {};
}

QIcon Artwork::LapIcon(int lap, QColor colour) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap = Canvas(scale);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath line;
        line.moveTo(1, 13);
        line.cubicTo(4, 4, 8, 12, 15, 2);
        p.setPen(QPen(colour, 2.2));
        p.drawPath(line);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 0, 9, 9), Qt::AlignCenter, QString::number(lap));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QImage Artwork::StartPicture(QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = image.width();
    const qreal h = image.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(24, 36, 86));
    sky.setColorAt(0.55, QColor(214, 112, 60));
    sky.setColorAt(0.56, QColor(52, 110, 48));
    sky.setColorAt(1.0, QColor(28, 70, 30));
    p.fillRect(image.rect(), sky);

    // A circuit seen from above the grandstand: a wide loop in perspective.
    QPainterPath track;
    track.moveTo(w * 0.10, h * 0.82);
    track.cubicTo(w * 0.05, h * 0.60, w * 0.35, h * 0.58, w * 0.55, h * 0.62);
    track.cubicTo(w * 0.80, h * 0.66, w * 0.98, h * 0.70, w * 0.88, h * 0.86);
    track.cubicTo(w * 0.78, h * 0.98, w * 0.20, h * 0.98, w * 0.10, h * 0.82);
    p.setPen(QPen(QColor(70, 70, 74), h * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(track);
    p.setPen(QPen(QColor(235, 235, 235), qMax<qreal>(1.0, h * 0.004), Qt::DashLine));
    p.drawPath(track);

    // Start line in chequers.
    const qreal cell = qMax<qreal>(1.0, h * 0.012);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 2; ++col)
            p.fillRect(QRectF(w * 0.45 + col * cell, h * 0.94 - h * 0.03 + row * cell, cell, cell),
                       (row + col) % 2 ? Qt::black : Qt::white);
    p.end();
    return image;
}

QImage Artwork::CarPictures() {
    QImage strip(16 * 24, 24, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int sector = 0; sector < 16; ++sector) {
        p.save();
        p.translate(sector * 24 + 12, 12);
        p.rotate(sector * 22.5);
        p.setPen(Qt::black);
        p.setBrush(QColor(200, 30, 30));
        p.drawRoundedRect(QRectF(-4, -9, 8, 18), 2, 2);
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(-6, -8, 2, 4));
        p.drawRect(QRectF(4, -8, 2, 4));
        p.drawRect(QRectF(-6, 4, 2, 4));
        p.drawRect(QRectF(4, 4, 2, 4));
        p.setBrush(QColor(120, 180, 230));
        p.drawRect(QRectF(-3, -4, 6, 3));
        p.restore();
    }
    p.end();
    return strip;
}

QIcon Artwork::ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1d, 0x27, 0x33));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
        QPainterPath track(QPointF(12, 48));
        track.cubicTo(QPointF(12, 20), QPointF(26, 14), QPointF(34, 24));
        track.cubicTo(QPointF(42, 34), QPointF(52, 36), QPointF(52, 16));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(track);
        p.setPen(QPen(QColor(0xe0, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(track);
        p.setPen(Qt::NoPen);
        p.fillRect(QRectF(40, 38, 2, 20), Qt::white);
        p.fillRect(QRectF(42, 38, 16, 12), Qt::white);
        for (int row = 0; row < 3; ++row)
            for (int col = row % 2; col < 4; col += 2) p.fillRect(QRectF(42 + 4 * col, 38 + 4 * row, 4, 4), Qt::black);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace vra
