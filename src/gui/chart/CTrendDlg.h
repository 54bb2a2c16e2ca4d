#pragma once
// Asks how far a trend reaches past the curve and the coefficient count of
// a polynomial trend.

#include <QDialog>
#include <QLineEdit>

namespace vra {

class CTrendDlg : public QDialog {
    Q_OBJECT
public:
    // A longer extension would only allocate points nobody can see.
    static constexpr long long kMaxExtension = 1000000;

    explicit CTrendDlg(QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* extension;
    QLineEdit* degree;
    long long extensionCount = 0;
    long long maxDegree = 5;
};

}  // namespace vra
