#pragma once
// "Time Difference Info": the difference between two laps at the finish
// line, the most ahead and behind, their spread and at the graph cursor.

#include <QDialog>

class QGroupBox;
class QLabel;

namespace vra {

class TimeDiffForGraph : public QDialog {
    Q_OBJECT
public:
    explicit TimeDiffForGraph(QWidget* owner);
    void SetGroupText(const QString& text);
    // 1037-1041 by id.
    void SetText(int id, const QString& text);
    QString Text(int id) const;
    QString GroupText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* group_;
    QLabel* values_[5];  // 1037 .. 1041
    bool placed_ = false;
};

}  // namespace vra
