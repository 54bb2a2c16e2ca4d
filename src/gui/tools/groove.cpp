#include "gui/tools/groove.h"

#include "core/export/GrooveExport.h"
#include "core/platform/Prompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vra {

namespace {

constexpr int kResolutions = 20;
constexpr int kDefaultResolution = 4;

}  // namespace

groove::groove(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setWindowTitle(tr("Export Lap To Groove (GRV) File"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Groove Creation Parameters"), this);
    auto* form = new QFormLayout(group);
    resolution_ = new QComboBox(group);
    for (int i = 1; i <= kResolutions; ++i) resolution_->addItem(QStringLiteral("%1.%2").arg(i / 10).arg(i % 10));
    resolution_->setCurrentIndex(kDefaultResolution);
    acceleration_ = new QLineEdit(QStringLiteral("100"), group);
    roll_ = new QLineEdit(QStringLiteral("100"), group);
    width_ = new QLineEdit(QStringLiteral("3.0"), group);
    form->addRow(tr("Resolution (meters):"), resolution_);
    form->addRow(tr("Acceleration factor(%):"), acceleration_);
    form->addRow(tr("Roll factor(%):"), roll_);
    form->addRow(tr("Groove width(meters):"), width_);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &groove::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &groove::reject);
}

bool groove::ReadFactor(QLineEdit* edit, int& value) {
    const auto parsed = ParseGrooveFactor(edit->text().toStdString());
    if (!parsed || *parsed < 0 || *parsed > kGrooveFactorMaximum) {
        prompts_.alert(parsed ? kGrooveFactorRangeText : kGrooveFactorNotIntegerText);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    value = int(*parsed);
    return true;
}

void groove::accept() {
    GrooveSettings s;
    s.resolutionIndex = resolution_->currentIndex();
    if (!ReadFactor(acceleration_, s.accelerationPercent) || !ReadFactor(roll_, s.rollPercent)) return;
    const std::string width = width_->text().toStdString();
    if (!IsGrooveWidth(width)) {
        prompts_.alert(kGrooveWidthText);
        width_->setFocus();
        width_->selectAll();
        return;
    }
    s.widthText = width;
    settings_ = s;
    QDialog::accept();
}

}  // namespace vra
