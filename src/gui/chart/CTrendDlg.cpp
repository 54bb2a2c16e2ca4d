#include "gui/chart/CTrendDlg.h"

#include "gui/chart/ChartDialogKit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace vra {

CTrendDlg::CTrendDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Trend"));
    auto* form = new QFormLayout(this);
    extension = NumberEdit(this, 268);
    extension->setText(QString::number(extensionCount));
    degree = NumberEdit(this, 270);
    degree->setText(QString::number(maxDegree));
    form->addRow(QStringLiteral("Expand trend with"), extension);
    form->addRow(QString(), new QLabel(QStringLiteral("values"), this));
    form->addRow(QStringLiteral("Max. degree for polynomial regression"), degree);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CTrendDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CTrendDlg::accept() {
    long long n = 0, m = 0;
    if (!ReadInteger(this, extension, 0, kMaxExtension, n)) return;
    if (!ReadInteger(this, degree, 2, 20, m)) return;
    extensionCount = n;
    maxDegree = m;
    QDialog::accept();
}

}  // namespace vra
