#pragma once
// The adjustable zoom rectangle over the plot: a hatched border with eight
// handles that the mouse moves or resizes.

#include <QCursor>
#include <QRect>

class QPainter;

namespace vra {

class CRectTracker {
public:
    static constexpr int kHandle = 8;

    // -1 outside; 0-7 the handles (corners clockwise from top-left, then
    // the sides' middles top, right, bottom, left); 8 inside.
    int HitTest(const QPoint& p) const;
    Qt::CursorShape CursorFor(int hit) const;
    // Moves (hit 8) or resizes by the handle, never turning the rectangle over.
    void Track(int hit, const QPoint& from, const QPoint& to);
    void Draw(QPainter& painter) const;
    // The area the drawing covers, handles included.
    QRect Bounds() const { return rect.adjusted(-kHandle, -kHandle, kHandle, kHandle); }

    QRect rect{10, 10, 40, 40};
};

}  // namespace vra
