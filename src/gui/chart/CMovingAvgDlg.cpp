#include "gui/chart/CMovingAvgDlg.h"

#include "gui/chart/ChartDialogKit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace vra {

CMovingAvgDlg::CMovingAvgDlg(long long largestWindow, QWidget* parent) : QDialog(parent), largest(largestWindow) {
    setWindowTitle(QStringLiteral("Moving average"));
    auto* form = new QFormLayout(this);
    type = Named(new QComboBox(this), 234);
    type->addItems({QStringLiteral("Simple"), QStringLiteral("Linear"), QStringLiteral("Exponential"),
                    QStringLiteral("Triangular"), QStringLiteral("Sine-weighted")});
    window = NumberEdit(this, 263);
    window->setText(QString::number(windowSize));
    form->addRow(QStringLiteral("Type"), type);
    form->addRow(QStringLiteral("Windowsize"), window);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CMovingAvgDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CMovingAvgDlg::accept() {
    long long w = 0;
    if (!ReadInteger(this, window, 1, largest, w)) return;
    windowSize = w;
    typeIndex = type->currentIndex();
    QDialog::accept();
}

}  // namespace vra
