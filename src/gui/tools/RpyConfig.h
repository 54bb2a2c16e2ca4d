#pragma once
// Which telemetry the simulation records into its replays: four keys of its
// core.ini, shown as nine boxes with what each block holds, what it costs
// per minute of driving and what we recommend. OK rewrites the file in
// place; Cancel leaves it alone.

#include "core/settings/CoreIniEditor.h"

#include <QDialog>

#include <array>
#include <filesystem>

class QCheckBox;
class QLabel;

namespace vra {

class CRpyGraphDoc;
class Prompts;

class RpyConfig : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBoxes = 9;

    // Reads core.ini of the document's simulation folder; a file that cannot
    // be read is told to the user and every box starts off.
    RpyConfig(const CRpyGraphDoc& document, Prompts& prompts, QWidget* parent = nullptr);

    const CoreIniValues& Values() const { return values_; }
    QCheckBox* Box(int index) const { return boxes_.at(std::size_t(index)); }
    QString TotalText() const;

    void accept() override;

private:
    void Toggle(int index, bool on);
    void UpdateChecks();
    void UpdateDataRate();

    Prompts& prompts_;
    std::filesystem::path file_;
    CoreIniValues values_;
    std::array<QCheckBox*, kBoxes> boxes_{};
    QLabel* total_ = nullptr;
};

}  // namespace vra
