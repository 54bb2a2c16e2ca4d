#pragma once
// Asks how the laps of a merged replay are synchronised: all leaving the line
// together, all arriving together, the difference split, or an advantage
// typed per lap, never more than the lap's time behind the fastest.

#include "core/document/MergeParametersModel.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vra {

class MergeParameters : public QDialog {
    Q_OBJECT
public:
    MergeParameters(const MergeParametersRequest& request, Prompts& prompts, QWidget* parent = nullptr);

    MergeAdvantages Advantages() const { return model_.Advantages(); }

    QRadioButton* SyncButton(MergeSync sync) const { return sync_[static_cast<std::size_t>(sync)]; }
    QLabel* NameLabel(int row) const { return names_[static_cast<std::size_t>(row)]; }
    QLineEdit* Edit(int row) const { return edits_[static_cast<std::size_t>(row)]; }
    QLabel* MaxLabel(int row) const { return maxima_[static_cast<std::size_t>(row)]; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplySync(MergeSync sync);
    // Checks one row's edit; tells the user and gives the edit the focus back
    // when its value is too large.
    bool CheckRow(int row);

    MergeParametersModel model_;
    Prompts& prompts_;
    std::array<QRadioButton*, 4> sync_{};
    std::array<QLabel*, 5> names_{};
    std::array<QLineEdit*, 5> edits_{};
    std::array<QLabel*, 5> maxima_{};
    QPushButton* ok_ = nullptr;
    // Set while the refusal shows: the message box takes the focus from the
    // edit, which must not be checked (and refused) again for that.
    bool telling_ = false;
};

}  // namespace vra
