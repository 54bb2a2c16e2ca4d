#pragma once
// Asks which of the loaded laps an action applies to when more than one is
// loaded: one radio button per lap slot. The same dialog serves the reports
// built from one replay and the saving of one lap, each with its own title.

#include "core/platform/Prompts.h"

#include <QDialog>

#include <array>
#include <span>
#include <string>

class QButtonGroup;
class QRadioButton;

namespace vra {

class ChooseLapForReport : public QDialog {
    Q_OBJECT
public:
    static constexpr std::string_view kReportTitle = "Reports only based on one file - choose which to use";
    static constexpr std::string_view kSaveTitle = "Choose lap to extract and save in new replay file";
    static constexpr std::string_view kNoChoiceText = "Choose file to base the report on!";

    // texts: one per slot, empty for a slot without a lap. The buttons of the
    // first two slots always show; the others only with a text.
    ChooseLapForReport(std::string_view title, const std::array<std::string, 5>& texts, Prompts& prompts,
                       QWidget* parent = nullptr);
    // The same with the texts already decoded (file names).
    ChooseLapForReport(std::string_view title, std::span<const QString, 5> texts, Prompts& prompts,
                       QWidget* parent = nullptr);

    // The pressed slot 0-4, or -1.
    int Choice() const { return choice_; }
    QRadioButton* Button(int slot) const { return buttons_[static_cast<std::size_t>(slot)]; }

public slots:
    void accept() override;

private:
    Prompts& prompts_;
    QButtonGroup* group_;
    std::array<QRadioButton*, 5> buttons_{};
    int choice_ = -1;
};

}  // namespace vra
