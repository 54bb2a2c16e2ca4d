#pragma once
// Where one lap beats another: the track as a band coloured by the speed
// difference of two chosen laps along the distance, with the scale
// automatic or a typed range, a legend and the two laps' colour swatches.

#include "core/document/SpeedTrackModel.h"

#include <QDialog>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vra {

class CRpyGraphDoc;

// The band, fitted to the picture, on the dialog's own face colour.
class SpeedTrackPicture : public QWidget {
    Q_OBJECT
public:
    explicit SpeedTrackPicture(QWidget* parent = nullptr);
    void SetVisitor(const SpdTrkVisitor* visitor);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SpdTrkVisitor* visitor_ = nullptr;
};

class SpeedTrack : public QDialog {
    Q_OBJECT
public:
    explicit SpeedTrack(const CRpyGraphDoc& document, QWidget* parent = nullptr);
    ~SpeedTrack() override;

    QComboBox* FirstList() const { return first_; }
    QComboBox* SecondList() const { return second_; }
    SpeedTrackPicture* Picture() const { return picture_; }
    const SpdTrkVisitor* Visitor() const { return visitor_.get(); }

private:
    void FillLists();
    void Choose(SpeedTrackModel::Role role, QComboBox* list);
    void Recompute();
    void SetManual(bool manual);

    SpeedTrackModel model_;
    std::unique_ptr<SpdTrkVisitor> visitor_;
    bool manual_ = false;
    std::int32_t range_ = 0;
    QComboBox* first_ = nullptr;
    QComboBox* second_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    QRadioButton* manualButton_ = nullptr;
    QLineEdit* rangeEdit_ = nullptr;
    QLabel* unit_ = nullptr;
    QLabel* minimum_ = nullptr;
    QLabel* halfMinimum_ = nullptr;
    QLabel* halfMaximum_ = nullptr;
    QLabel* maximum_ = nullptr;
    SpeedTrackPicture* picture_ = nullptr;
};

}  // namespace vra
