#pragma once
// Dialog layouts given in dialog units: a quarter of the font's average
// character width across, an eighth of its height down, so that a layout
// made for one font fits the texts of any other. The average is taken over
// the 52 letters and rounded, as dialog units are defined; a font's own
// average character width is narrower and would clip the texts.

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QRect>
#include <QWidget>

#include <algorithm>

namespace vra {

class DialogUnits {
public:
    explicit DialogUnits(const QWidget& w) {
        const QFontMetrics fm(w.font());
        const int letters =
            fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX_ = std::max(1, (letters / 26 + 1) / 2);
        baseY_ = std::max(1, fm.height());
    }
    int X(int units) const { return (units * baseX_ + 2) / 4; }
    int Y(int units) const { return (units * baseY_ + 4) / 8; }
    QRect operator()(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y)); }

private:
    int baseX_ = 6, baseY_ = 13;
};

// The style may set a check box or a radio button wider than the layout
// allowed for: such a control, or a one-line label, too narrow for its text
// grows to the right until the text fits.
inline void WidenToTexts(QWidget& dialog) {
    auto widen = [](QWidget& control) {
        const int needed = control.sizeHint().width();
        if (needed > control.width()) control.resize(needed, control.height());
    };
    for (QCheckBox* b : dialog.findChildren<QCheckBox*>())
        if (!b->text().isEmpty()) widen(*b);
    for (QRadioButton* b : dialog.findChildren<QRadioButton*>())
        if (!b->text().isEmpty()) widen(*b);
    for (QLabel* l : dialog.findChildren<QLabel*>())
        if (!l->text().isEmpty() && !l->wordWrap()) widen(*l);
}

}  // namespace vra
