#pragma once
// "Gear Change Analyzer": the user picks a loaded lap and sees its gear
// changes, one row each, with the lap's neutral times, the averages per
// upshift target gear and the speed-shift count.

#include <QDialog>

#include <map>

class QComboBox;
class QLabel;
class QTableWidget;

namespace vra {

class CRpyGraphDoc;

class GearChangeAnalyse : public QDialog {
    Q_OBJECT
public:
    // Ids of the statics: the change count, the neutral times, the averages
    // per target gear and the speed-shift line.
    static constexpr int kChangeCount = 1105;
    static constexpr int kNeutralUp = 1106;
    static constexpr int kNeutralDown = 1107;
    static constexpr int kAvgRevsFirst = 1108;     // 1108-1112 for gears 2-6
    static constexpr int kAvgDroppedFirst = 1113;  // 1113-1117
    static constexpr int kSpeedShifts = 1118;
    static constexpr int kAvgSpeedFirst = 1119;  // 1119-1123

    explicit GearChangeAnalyse(CRpyGraphDoc& doc, QWidget* parent = nullptr);

    QComboBox* LapList() const { return lapList_; }
    QTableWidget* ChangeList() const { return changeList_; }
    QLabel* Static(int id) const;

private:
    void FillLapList();
    void AnalyseGearChanges(int entry);

    CRpyGraphDoc& doc_;
    QComboBox* lapList_;
    QTableWidget* changeList_;
    std::map<int, QLabel*> statics_;
};

}  // namespace vra
