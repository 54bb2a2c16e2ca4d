#include "gui/chart/CColourPopup.h"

#include "gui/chart/CColorButton.h"
#include "gui/chart/CDCEx.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace vra {

namespace {
constexpr int kEdge = 2;

ISize TextExtent(const CColorButton* b, const QFont& font) {
    const QFontMetrics m(font);
    int w = 0, h = 0;
    for (const QString& t : {b->defaultText, b->customText}) {
        if (t.isEmpty()) continue;
        w = std::max(w, m.horizontalAdvance(t));
        h = std::max(h, m.height());
    }
    return {w, h};
}
}  // namespace

CColourPopup::CColourPopup(CColorButton* button, const QColor& initial, QPoint bottomLeft)
    : QWidget(button, Qt::Popup),
      button_(button),
      grid_(kEdge, !button->defaultText.isEmpty(), !button->customText.isEmpty(), TextExtent(button, font())),
      initial_(initial),
      choosing_(initial) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    const ISize s = grid_.windowSize();
    QRect screen(0, 0, 100000, 100000);
    if (const QScreen* sc = button->screen()) screen = sc->availableGeometry();
    const Rect placed = grid_.Place({bottomLeft.x(), bottomLeft.y()}, button->height(),
                                    {screen.left(), screen.top(), screen.right() + 1, screen.bottom() + 1});
    setGeometry(placed.left, placed.top, s.cx, s.cy);
    for (int i = 0; i < ColourGrid::kColours; ++i) {
        (void)i;  // tool tips are answered in event() from the cell under the mouse
    }
    // Only the chosen cell is marked at first; nothing is current until the
    // mouse or a key picks a cell, so Return at once keeps the initial colour.
    chosen_ = grid_.CellFromColour(initial.isValid() ? std::optional<Rgb>(FromQColor(initial)) : std::nullopt);
    current_ = ColourGrid::kNone;
    show();
    setFocus();
}

QColor CColourPopup::CellColour(int cell) const {
    if (cell >= 0 && cell < ColourGrid::kColours) return ToQColor(ColourGrid::kTable[cell].rgb);
    return QColor();
}

void CColourPopup::SelectCell(int cell) {
    if (cell == current_) return;
    current_ = cell;
    update();
    if (cell == ColourGrid::kCustom) {
        button_->OnSelChange(initial_);
    } else if (cell == ColourGrid::kAutomatic) {
        choosing_ = QColor();
        button_->OnSelChange(choosing_);
    } else if (cell >= 0) {
        choosing_ = CellColour(cell);
        button_->OnSelChange(choosing_);
    }
}

void CColourPopup::FinishSelection(bool accept) {
    if (finished_) return;
    finished_ = true;
    if (accept && current_ == ColourGrid::kCustom) {
        dialogOpen_ = true;
        const QColor picked = button_->colourDialog ? button_->colourDialog(initial_, this) : QColor();
        dialogOpen_ = false;
        if (picked.isValid())
            choosing_ = picked;
        else
            accept = false;
    }
    if (!accept) choosing_ = initial_;
    CColorButton* button = button_;
    const QColor c = choosing_;
    close();
    if (accept)
        button->OnSelEndOK(c);
    else
        button->OnSelEndCancel(c);
}

void CColourPopup::closeEvent(QCloseEvent* e) {
    // Closed from outside (a press elsewhere): that is a cancel.
    if (!finished_) {
        finished_ = true;
        button_->OnSelEndCancel(initial_);
    }
    QWidget::closeEvent(e);
}

bool CColourPopup::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && !dialogOpen_) {
        FinishSelection(false);
        return true;
    }
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        const int cell = grid_.CellAt({help->pos().x(), help->pos().y()});
        if (cell >= 0)
            setToolTip(QString::fromUtf8(ColourGrid::kTable[cell].name.data(),
                                         static_cast<qsizetype>(ColourGrid::kTable[cell].name.size())));
        else
            setToolTip(QString());
    }
    return QWidget::event(e);
}

void CColourPopup::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const int cell = grid_.CellAt({p.x(), p.y()});
    if (cell != ColourGrid::kNone) SelectCell(cell);
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* e) {
    FinishSelection(rect().contains(e->position().toPoint()));
}

void CColourPopup::keyPressEvent(QKeyEvent* e) {
    using K = ColourGrid::Key;
    switch (e->key()) {
        case Qt::Key_Down:
            SelectCell(grid_.Move(current_, K::Down));
            break;
        case Qt::Key_Up:
            SelectCell(grid_.Move(current_, K::Up));
            break;
        case Qt::Key_Left:
            SelectCell(grid_.Move(current_, K::Left));
            break;
        case Qt::Key_Right:
            SelectCell(grid_.Move(current_, K::Right));
            break;
        case Qt::Key_Escape:
            FinishSelection(false);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            FinishSelection(true);
            break;
        default:
            QWidget::keyPressEvent(e);
    }
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette pal = palette();
    // The system's 3-D colours: face, highlight, light, shadow, dark shadow.
    const QColor face = pal.button().color(), highlight = pal.light().color(), light = pal.midlight().color(),
                 shadow = pal.dark().color(), darkShadow = pal.shadow().color();
    const int m = grid_.margin();
    // A one-pixel ring: the top and left lines in one colour, the bottom
    // and right lines, corners included, in the other.
    auto ring = [&](const QRect& q, const QColor& topLeft, const QColor& bottomRight) {
        p.fillRect(QRect(q.left(), q.top(), q.width() - 1, 1), topLeft);
        p.fillRect(QRect(q.left(), q.top(), 1, q.height() - 1), topLeft);
        p.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), bottomRight);
        p.fillRect(QRect(q.right(), q.top(), 1, q.height()), bottomRight);
    };
    // The current cell stands out raised, the chosen one (when not
    // current) is pressed in.
    auto edge = [&](int cell, const QRect& q) {
        if (cell == current_)
            ring(q, highlight, shadow);
        else if (cell == chosen_)
            ring(q, shadow, highlight);
    };
    auto toQRect = [](const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); };
    auto textBox = [&](int cell, const Rect& r, const QString& text) {
        const QRect q = toQRect(r);
        p.fillRect(q, face);
        const QRect inner = q.adjusted(1, 1, -1, -1);
        p.fillRect(inner, cell == chosen_ && cell != current_ ? light : face);
        const QRect frame = inner.adjusted(2 * m, 2 * m, -2 * m, -2 * m);
        if (frame.width() > 0 && frame.height() > 0) {
            p.setPen(shadow);
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame.adjusted(0, 0, -1, -1));
        }
        edge(cell, q);
        p.setPen(pal.buttonText().color());
        p.drawText(q, Qt::AlignCenter | Qt::TextSingleLine, text);
    };

    p.fillRect(rect(), face);
    if (grid_.hasAutomatic()) textBox(ColourGrid::kAutomatic, grid_.automaticBox(), button_->defaultText);
    for (int i = 0; i < ColourGrid::kColours; ++i) {
        const QRect q = toQRect(grid_.CellRect(i));
        p.fillRect(q, i == chosen_ && i != current_ ? highlight : face);
        edge(i, q);
        const QRect swatch = q.adjusted(m + 1, m + 1, -m - 1, -m - 1);
        p.fillRect(swatch, CellColour(i));
        p.setPen(shadow);
        p.setBrush(Qt::NoBrush);
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    if (grid_.hasCustom()) {
        const Rect r = grid_.customBox();
        textBox(ColourGrid::kCustom, r, button_->customText);
        // An etched line in the gap above the box separates it from the grid.
        const int from = r.left + 2 * m, to = r.right - 2 * m;
        p.fillRect(QRect(from, r.top - 2, to - from, 1), shadow);
        p.fillRect(QRect(from, r.top - 1, to - from, 1), highlight);
    }
    // A raised edge around the popup, two pixels wide.
    ring(rect(), light, darkShadow);
    ring(rect().adjusted(1, 1, -1, -1), highlight, shadow);
}

}  // namespace vra
