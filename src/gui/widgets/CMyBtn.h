#pragma once
// A small round push button: an elliptic window with a vertical blue
// gradient face, a white bold italic caption, and a light rim on its lower
// right half while it is held down. The race bar's driver and lap steppers
// use it, round only while a race is loaded; otherwise they are plain push
// buttons.

#include <QPushButton>

class QPainter;

namespace vra {

class CMyBtn : public QPushButton {
    Q_OBJECT
public:
    explicit CMyBtn(const QString& text, QWidget* parent = nullptr);

    // Paints a button of rect's size at rect on any painter: nothing outside
    // the ellipse inscribed in rect is touched.
    static void Paint(QPainter& p, const QRect& rect, const QString& caption, bool pressed, bool enabled,
                      const QPalette& palette);
    // The gradient's colour of row y of a face of the given height.
    static QColor GradientRow(int y, int height);

    // Round (the default) or drawn as the style's ordinary push button.
    void SetRound(bool round);
    bool IsRound() const { return round_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void MakeRound();

    bool round_ = true;
};

}  // namespace vra
