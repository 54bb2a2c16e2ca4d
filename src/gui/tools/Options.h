#pragma once
// The settings dialog: units, report switches, the exported map's size, the
// simulation's folder and two more folders, and the damage costs of the
// mechanical report. Nothing is written before OK, and OK is refused until
// every value is sound and the folder holds the simulation.

#include "core/document/OptionsModel.h"
#include "core/platform/Prompts.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

namespace vra {

class AppSettings;
class CRpyGraphDoc;
class Prompts;

class Options : public QDialog {
    Q_OBJECT
public:
    // document may be null (its copies are then not written). prompts asks
    // for the executable and shows the messages.
    Options(AppSettings& settings, CRpyGraphDoc* document, Prompts& prompts, QWidget* parent = nullptr);

    void accept() override;

    // Runs the dialog for a settings request.
    static SettingsDialogResult Run(const SettingsDialogRequest& request, Prompts& prompts, QWidget* parent);

private:
    QLineEdit* AddFolderGroup(QGridLayout* grid, int row, const QString& title, const QString& name,
                              std::function<void(QLineEdit*)> browse);
    void BrowseFolder(QLineEdit* edit);

    AppSettings& settings_;
    CRpyGraphDoc* document_;
    Prompts& prompts_;
    QRadioButton* kph_ = nullptr;
    QRadioButton* mph_ = nullptr;
    QCheckBox* qualityReport_ = nullptr;
    QCheckBox* offTheTrack_ = nullptr;
    QCheckBox* damageInfo_ = nullptr;
    QCheckBox* nicknames_ = nullptr;
    QLineEdit* bitmapSize_ = nullptr;
    QLineEdit* simFolder_ = nullptr;
    QLineEdit* altReplayPath_ = nullptr;
    QLineEdit* recordsPath_ = nullptr;
    std::array<QLineEdit*, kEditedDamageCosts> costs_{};
};

}  // namespace vra
