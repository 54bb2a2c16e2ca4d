#pragma once
// A scroll area for a docked bar's contents: it scrolls one way only and
// asks for the contents' whole extent the other way, beside the scroll bar,
// so that the bar may be made as short (or narrow) as the window needs
// while nothing of its contents hides across the scrolling direction.

#include <QScrollArea>

namespace vra {

class OneWayScroll : public QScrollArea {
    Q_OBJECT
public:
    // Qt::Vertical scrolls up and down, Qt::Horizontal sideways.
    explicit OneWayScroll(Qt::Orientation scrolling, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    Qt::Orientation scrolling_;
};

}  // namespace vra
