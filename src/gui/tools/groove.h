#pragma once
// The parameters of a groove file: the step along the track, how much the
// speed changes and the roll count, and the groove's width. OK is refused
// until each is a value the file can carry.

#include "core/export/GrooveFile.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace vra {

class Prompts;

class groove : public QDialog {
    Q_OBJECT
public:
    explicit groove(Prompts& prompts, QWidget* parent = nullptr);

    // The values of the last accepted OK.
    const GrooveSettings& Settings() const { return settings_; }
    QComboBox* Resolution() const { return resolution_; }
    QLineEdit* AccelerationFactor() const { return acceleration_; }
    QLineEdit* RollFactor() const { return roll_; }
    QLineEdit* Width() const { return width_; }

    void accept() override;

private:
    bool ReadFactor(QLineEdit* edit, int& value);

    Prompts& prompts_;
    GrooveSettings settings_;
    QComboBox* resolution_ = nullptr;
    QLineEdit* acceleration_ = nullptr;
    QLineEdit* roll_ = nullptr;
    QLineEdit* width_ = nullptr;
};

}  // namespace vra
