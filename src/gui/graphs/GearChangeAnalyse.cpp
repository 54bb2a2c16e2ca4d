#include "gui/graphs/GearChangeAnalyse.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/graphs/GearShiftTable.h"
#include "core/graphs/LapLabel.h"
#include "core/replay/GetRpyInfo.h"
#include "gui/platform/Cp1252.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vra {

GearChangeAnalyse::GearChangeAnalyse(CRpyGraphDoc& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle(QStringLiteral("Gear Change Analyzer"));
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    top->addLayout(left, 1);

    auto* lapGroup = new QGroupBox(QStringLiteral("Select Lap"), this);
    auto* lapLayout = new QVBoxLayout(lapGroup);
    lapList_ = new QComboBox(lapGroup);
    lapLayout->addWidget(lapList_);
    left->addWidget(lapGroup);

    changeList_ = new QTableWidget(0, 6, this);
    changeList_->setSelectionMode(QAbstractItemView::SingleSelection);
    changeList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    changeList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    changeList_->verticalHeader()->hide();
    const QStringList titles = {QStringLiteral("Gearchange"), QStringLiteral("Meter "), QStringLiteral("Revs "),
                                QStringLiteral("Revs-"),      QStringLiteral("Speed-"), QStringLiteral("Time")};
    changeList_->setHorizontalHeaderLabels(titles);
    const QFontMetrics fm(changeList_->horizontalHeader()->font());
    int columns = 0;
    for (int c = 0; c < titles.size(); ++c) {
        changeList_->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        changeList_->setColumnWidth(c, fm.horizontalAdvance(titles[c]) + 15);
        columns += changeList_->columnWidth(c);
    }
    // All six columns side by side, beside the scroll bar a long lap needs.
    changeList_->setMinimumWidth(columns + 2 * changeList_->frameWidth() +
                                 changeList_->verticalScrollBar()->sizeHint().width());
    left->addWidget(changeList_, 1);

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    auto makeStatic = [this](int id, QWidget* parent) {
        auto* label = new QLabel(parent);
        label->setObjectName(QString::number(id));
        label->setMinimumWidth(40);
        statics_[id] = label;
        return label;
    };
    auto* stats = new QGroupBox(QStringLiteral("Statistics"), this);
    auto* grid = new QGridLayout(stats);
    grid->addWidget(new QLabel(QStringLiteral("No of gearchanges:"), stats), 0, 0, 1, 2);
    grid->addWidget(makeStatic(kChangeCount, stats), 0, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Time spent in neutral"), stats), 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("-during upshift:"), stats), 2, 0, 1, 2);
    grid->addWidget(makeStatic(kNeutralUp, stats), 2, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("-during downshift:"), stats), 3, 0, 1, 2);
    grid->addWidget(makeStatic(kNeutralDown, stats), 3, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Avg Revs"), stats), 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Avg Revs\n dropped"), stats), 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Avg Speed\n  dropped"), stats), 4, 3);
    for (int k = 0; k < GearShiftTable::kTargetGears; ++k) {
        grid->addWidget(new QLabel(QStringLiteral("%1->%2").arg(k + 1).arg(k + 2), stats), 5 + k, 0);
        grid->addWidget(makeStatic(kAvgRevsFirst + k, stats), 5 + k, 1);
        grid->addWidget(makeStatic(kAvgDroppedFirst + k, stats), 5 + k, 2);
        grid->addWidget(makeStatic(kAvgSpeedFirst + k, stats), 5 + k, 3);
    }
    right->addWidget(stats);
    auto* speed = new QGroupBox(QStringLiteral("Speedshifter analysis"), this);
    auto* speedLayout = new QVBoxLayout(speed);
    QLabel* shifts = makeStatic(kSpeedShifts, speed);
    shifts->setWordWrap(true);
    speedLayout->addWidget(shifts);
    right->addWidget(speed);
    right->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    right->addWidget(close, 0, Qt::AlignRight);

    FillLapList();
    connect(lapList_, &QComboBox::activated, this, [this](int entry) {
        changeList_->setRowCount(0);
        AnalyseGearChanges(entry);
    });
}

QLabel* GearChangeAnalyse::Static(int id) const {
    auto it = statics_.find(id);
    return it == statics_.end() ? nullptr : it->second;
}

void GearChangeAnalyse::FillLapList() {
    lapList_->clear();
    // Each entry carries its own slot, so the choice reads the lap it names.
    for (int slot = 0; slot < doc_.SlotMaximum(); ++slot)
        if (doc_.IsSlotUsed(slot)) lapList_->addItem(Cp1252ToQString(LapLabel(doc_.Slot(slot))), slot);
    lapList_->setCurrentIndex(-1);
}

void GearChangeAnalyse::AnalyseGearChanges(int entry) {
    if (entry < 0) return;
    const int slot = lapList_->itemData(entry).toInt();
    if (!doc_.IsSlotUsed(slot) || !doc_.Slot(slot).info) return;
    const GearShiftTable table = vra::AnalyseGearChanges(GearSamplesOf(*doc_.Slot(slot).info));

    // Nothing of an earlier lap may stay: a gear this lap never shifted
    // into shows no averages.
    for (auto& [id, label] : statics_) label->clear();
    changeList_->setRowCount(int(table.rows.size()));
    for (int row = 0; row < int(table.rows.size()); ++row)
        for (int c = 0; c < 6; ++c)
            changeList_->setItem(
                row, c, new QTableWidgetItem(QString::fromStdString(table.rows[std::size_t(row)][std::size_t(c)])));
    Static(kChangeCount)->setText(QString::fromStdString(table.changeCount));
    Static(kNeutralUp)->setText(QString::fromStdString(table.neutralUp));
    Static(kNeutralDown)->setText(QString::fromStdString(table.neutralDown));
    Static(kSpeedShifts)->setText(QString::fromStdString(table.speedShifts));
    for (int k = 0; k < GearShiftTable::kTargetGears; ++k) {
        const auto& avg = table.averages[std::size_t(k)];
        if (!avg) continue;
        Static(kAvgRevsFirst + k)->setText(QString::fromStdString((*avg)[0]));
        Static(kAvgDroppedFirst + k)->setText(QString::fromStdString((*avg)[1]));
        Static(kAvgSpeedFirst + k)->setText(QString::fromStdString((*avg)[2]));
    }
}

}  // namespace vra
