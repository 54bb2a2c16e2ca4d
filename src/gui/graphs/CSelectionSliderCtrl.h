#pragma once
// A slider whose selection the user sets by holding Shift while moving the
// thumb; the selection shows as a band along the groove.

#include "core/graphs/SliderSelection.h"

#include <QSlider>

#include <functional>

namespace vra {

class CSelectionSliderCtrl : public QSlider {
    Q_OBJECT
public:
    explicit CSelectionSliderCtrl(QWidget* parent = nullptr);

    // Without it the slider keeps no selection and Shift does nothing.
    void SetEnableSelRange(bool on) { selRange_ = on; }
    bool EnableSelRange() const { return selRange_; }

    void SetSelection(int start, int end);
    void ClearSel();
    // -1, -1 without a selection.
    int SelectionStart() const { return selStart_; }
    int SelectionEnd() const { return selEnd_; }

    // Whether Shift is down; the keyboard by default.
    void SetShiftSource(std::function<bool()> source) { shiftHeld_ = std::move(source); }

signals:
    // After every move of the thumb and the end of a drag, once the
    // selection follows it.
    void scrolled();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnAction(int action);
    void OnMove(SliderSelection::Move move);

    SliderSelection selection_;
    bool selRange_ = false;
    int selStart_ = -1, selEnd_ = -1;
    std::function<bool()> shiftHeld_;
};

}  // namespace vra
