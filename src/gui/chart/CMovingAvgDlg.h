#pragma once
// Asks for the kind and window of a moving average.

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

namespace vra {

class CMovingAvgDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMovingAvgDlg(long long largestWindow, QWidget* parent = nullptr);
    void accept() override;

    QComboBox* type;
    QLineEdit* window;
    int typeIndex = 0;
    long long windowSize = 10;
    long long largest;
};

}  // namespace vra
