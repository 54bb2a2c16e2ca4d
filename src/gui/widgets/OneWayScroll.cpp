#include "gui/widgets/OneWayScroll.h"

#include <QEvent>
#include <QScrollBar>

namespace vra {

OneWayScroll::OneWayScroll(Qt::Orientation scrolling, QWidget* parent) : QScrollArea(parent), scrolling_(scrolling) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    if (scrolling_ == Qt::Vertical) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // As high as the contents: a taller bar would only show them with
        // empty room around.
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
}

QSize OneWayScroll::minimumSizeHint() const {
    QSize size = QScrollArea::minimumSizeHint();
    if (!widget()) return size;
    const QSize contents = widget()->minimumSizeHint();
    if (scrolling_ == Qt::Vertical)
        size.setWidth(contents.width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
    else
        size.setHeight(contents.height() + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth());
    return size;
}

QSize OneWayScroll::sizeHint() const {
    QSize size = QScrollArea::sizeHint();
    if (scrolling_ == Qt::Horizontal) size.setHeight(minimumSizeHint().height());
    return size;
}

bool OneWayScroll::viewportEvent(QEvent* event) {
    // The contents were laid out anew (a longer text, a row shown): the
    // size they ask for across may have changed.
    if (event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::viewportEvent(event);
}

}  // namespace vra
