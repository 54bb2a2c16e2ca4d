#pragma once
// The lap chooser: the replay's settings, and a tree of its drivers, their
// sessions and every recorded lap with time, average speed and incidents.
// Only laps whose data the replay holds in full are shown bold and can be
// chosen; for such a lap a data quality report can be run first.

#include "core/platform/Prompts.h"

#include <QDialog>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

class QCheckBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vra {
class WaitBox;

class Chooselap : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kBaseTitle = "Choose Lap To Load";
    static constexpr std::uint32_t kNoTime = 0xCDCDCDCD;

    // What one tree item stands for.
    enum class ItemKind { Driver, Session, Lap };
    enum Role { KindRole = Qt::UserRole + 1, DriverRole, SessionRole, LapRole, ValidRole };

    // request must outlive the dialog; waitBox may be null.
    Chooselap(const vra::LapChoiceRequest& request, vra::Prompts& prompts, vra::WaitBox* waitBox = nullptr,
              QWidget* parent = nullptr);

    // The chosen lap after the dialog closed with OK.
    vra::LapChoice Result() const { return result_; }

    // The text of one lap item. No average speed when the track length or
    // the lap time is zero (there is nothing to divide by).
    static std::string FormatLapItem(std::uint32_t lapWord, int lapIndex, double trackLengthMetres, bool milesPerHour);
    // The data quality report of an extracted lap.
    static std::string QualityText(int samples, int missing, int longestGap, int foundRecords, std::uint32_t lapWord);

    QTreeWidget* Tree() const { return tree_; }
    QCheckBox* OnlySelectable() const { return onlySelectable_; }
    QPushButton* QualityButton() const { return quality_; }
    // A read-only field of the selected driver or lap by its label
    // ("Laptime:", "Driver name:" ...).
    QString Field(const QString& label) const;
    // A field of the replay's settings by its group and label.
    QString InfoField(const QString& group, const QString& label) const;

public slots:
    void accept() override;
    void OnQualityAnalyze();

private:
    void BuildTree();
    void OnSelChanged();
    void OnOnlySelectableToggled(bool checked);
    void OnItemDoubleClicked(QTreeWidgetItem* item);
    void FillDriverFields(int driver);
    void ClearLapFields();
    QLabel* AddField(QFormLayout* form, const QString& label);
    // Any entry under a session, the time before the first crossing included.
    static bool IsLapEntry(const QTreeWidgetItem* item);
    // An entry of a lap itself, which can be shown or loaded when valid.
    static bool IsLapItem(const QTreeWidgetItem* item);

    const vra::LapChoiceRequest& request_;
    vra::Prompts& prompts_;
    vra::WaitBox* waitBox_;
    vra::LapChoice result_;
    int shownDriver_ = -1;
    QTreeWidget* tree_ = nullptr;
    QCheckBox* onlySelectable_ = nullptr;
    QPushButton* quality_ = nullptr;
    std::map<QString, QLabel*> fields_;
    std::map<std::pair<QString, QString>, QLabel*> infoFields_;
};

}  // namespace vra
