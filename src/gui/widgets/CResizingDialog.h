#pragma once

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <vector>

class QSizeGrip;

namespace vra {

// A dialog that the user can resize while its controls follow the new size,
// each by its own rule per axis. It carries a size grip in the bottom-right
// corner and never gets smaller than the size it had when it was set up.
//
// A derived dialog places its controls at their initial positions, gives the
// dialog its initial size, calls OnInitDialog() and then registers the
// controls that should follow with SetControlInfo().
class CResizingDialog : public QDialog {
    Q_OBJECT
public:
    // How a control follows the dialog along one axis.
    enum class Mode {
        Fixed,         // stays where it is
        Stretch,       // its far edge follows the dialog's edge
        Move,          // moves with the dialog's edge, keeping its size
        Proportional,  // keeps its size and its near edge at the same fraction of the dialog
    };

    explicit CResizingDialog(QWidget* parent = nullptr);

    QSizeGrip* Grip() const { return grip_; }
    bool Initialised() const { return initialised_; }

protected:
    // Remembers the current size as the smallest allowed and puts the grip
    // into the bottom-right corner.
    void OnInitDialog();
    // Registers a child control with its horizontal and vertical modes. The
    // exclude flag marks controls that paint their whole area themselves;
    // widgets paint double-buffered, so it only documents the intent.
    void SetControlInfo(QWidget* control, Mode horizontalMode, Mode verticalMode, bool exclude = false);

    void resizeEvent(QResizeEvent* event) override;

private:
    struct ControlInfo {
        QPointer<QWidget> control;
        Mode horizontalMode = Mode::Fixed;
        Mode verticalMode = Mode::Fixed;
        QRect rect;
        bool exclude = false;
        // For the proportional mode: the space before the near edge over the
        // space after it at registration (infinite for a control whose near
        // edge lies on the dialog's far edge).
        double horizontalRatio = 0.0;
        double verticalRatio = 0.0;
    };

    void Layout(ControlInfo& info, QSize newSize);

    std::vector<ControlInfo> controls_;
    QSize size_;
    QSizeGrip* grip_ = nullptr;
    bool initialised_ = false;
};

}  // namespace vra
