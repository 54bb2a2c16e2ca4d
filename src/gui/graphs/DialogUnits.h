#pragma once
// Dialog layouts given in dialog units: a quarter of the font's average
// character width across, an eighth of its height down, so that a layout
// made for one font fits the texts of any other.

#include <QFontMetrics>
#include <QRect>
#include <QWidget>

#include <algorithm>

namespace vra {

class DialogUnits {
public:
    explicit DialogUnits(const QWidget& w) {
        const QFontMetrics fm(w.font());
        baseX_ = std::max(1, fm.averageCharWidth());
        baseY_ = std::max(1, fm.height());
    }
    int X(int units) const { return (units * baseX_ + 2) / 4; }
    int Y(int units) const { return (units * baseY_ + 4) / 8; }
    QRect operator()(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y)); }

private:
    int baseX_ = 6, baseY_ = 13;
};

}  // namespace vra
