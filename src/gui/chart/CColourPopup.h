#pragma once
// The grid of 40 named colours under a colour button, with the optional
// "Automatic" and "More Colors..." boxes; mouse and keys pick a cell,
// Return, Space or a click inside accept, Escape or a click outside cancel.

#include "core/chart/ColourGrid.h"

#include <QColor>
#include <QWidget>

namespace vra {

class CColorButton;

class CColourPopup : public QWidget {
    Q_OBJECT
public:
    CColourPopup(CColorButton* button, const QColor& initial, QPoint bottomLeft);

    int current() const { return current_; }
    int chosen() const { return chosen_; }
    const ColourGrid& grid() const { return grid_; }
    void SelectCell(int cell);
    void FinishSelection(bool accept);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool event(QEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    QColor CellColour(int cell) const;
    CColorButton* button_;
    ColourGrid grid_;
    QColor initial_;
    QColor choosing_;
    int current_ = ColourGrid::kNone;
    int chosen_ = ColourGrid::kNone;
    bool finished_ = false;
    bool dialogOpen_ = false;
};

}  // namespace vra
