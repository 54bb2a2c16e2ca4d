#pragma once

#include "core/view/GradientProgress.h"

#include <QWidget>

#include <cstdint>

namespace vra {

// A progress bar drawn as a colour gradient laid over its whole width, of
// which the part up to the position shows, with an optional percentage.
class CGradientProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CGradientProgressCtrl(QWidget* parent = nullptr);

    void SetRange(std::int16_t lower, std::int16_t upper);
    void SetRange32(std::int32_t lower, std::int32_t upper);
    void SetPos(std::int32_t position);

    // Colours, percent switch and range; change and then call update().
    vra::GradientProgress& Bar() { return bar_; }
    const vra::GradientProgress& Bar() const { return bar_; }

    QSize sizeHint() const override { return {200, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    vra::GradientProgress bar_;
};

}  // namespace vra
