#include "gui/replay/LapFinderDialog.h"

#include "core/document/CRpyGraphDoc.h"
#include "gui/platform/Cp1252.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vra {

namespace {

// The button text of each sort mode: 1 unsorted, 2 driver, 3 lap time, 4
// game mode, 5 session, 6 replay file, 7 file date, 8 physics.
constexpr std::array<const char*, 8> kSortTexts = {"Unsorted (fastest)", "By Driver",  "By Laptime",
                                                   "By Game mode",       "By Session", "By Replay File",
                                                   "By Filedate",        "By Physics"};
// The modes in the order the dialog shows them, four to a column: the file
// date stands before the replay file.
constexpr std::array<int, 8> kSortOrder = {1, 2, 3, 4, 5, 7, 6, 8};

}  // namespace

LapFinderDialog::LapFinderDialog(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, Clipboard& clipboard,
                                 QWidget* parent)
    : QDialog(parent), doc_(doc), clipboard_(clipboard), finder_(doc, volumes, waitBox) {
    setWindowTitle(tr("Lap Finder"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Choose track to view:"), this));
    tracks_ = new QComboBox(this);
    top->addWidget(tracks_, 1);
    layout->addLayout(top);

    auto* options = new QHBoxLayout;
    auto* select = new QGroupBox(tr("Select options"), this);
    auto* selectLayout = new QVBoxLayout(select);
    const char* filterTexts[3] = {"Show all laps", "Don't show AI laps", "Show only local drivers laps"};
    for (int i = 0; i < 3; ++i) {
        filters_[std::size_t(i)] = new QRadioButton(tr(filterTexts[i]), select);
        selectLayout->addWidget(filters_[std::size_t(i)]);
        connect(filters_[std::size_t(i)], &QRadioButton::clicked, this, [this, i] {
            finder_.SetFilter(static_cast<LapFinder::Filter>(i));
            OnTrackChosen();
        });
    }
    options->addWidget(select);
    auto* sort = new QGroupBox(tr("Sort options"), this);
    auto* sortLayout = new QGridLayout(sort);
    for (int place = 0; place < 8; ++place) {
        const int mode = kSortOrder[std::size_t(place)];
        auto* b = new QRadioButton(tr(kSortTexts[std::size_t(mode - 1)]), sort);
        b->setAutoExclusive(false);
        sorts_[std::size_t(mode - 1)] = b;
        sortLayout->addWidget(b, place % 4, place / 4);
        connect(b, &QRadioButton::clicked, this, [this, mode] { OnSort(mode); });
    }
    options->addWidget(sort);
    layout->addLayout(options);

    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(tr("Number of laps in table:"), this));
    count_ = new QLabel(QStringLiteral("0"), this);
    counts->addWidget(count_);
    counts->addStretch();
    layout->addLayout(counts);
    status_ = new QLabel(this);
    layout->addWidget(status_);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSortingEnabled(false);
    QStringList headings;
    for (std::string_view h : LapFinder::Headings()) headings << QString::fromLatin1(h.data(), qsizetype(h.size()));
    list_->setHeaderLabels(headings);
    const QFontMetrics fm(list_->header()->font());
    for (int c = 0; c < 7; ++c) {
        const int w = fm.horizontalAdvance(headings[c]);
        list_->setColumnWidth(c, c == 5 ? (w - 10) * 3 : w + 15);
    }
    // The key and the disc label are kept for loading, never shown.
    list_->setColumnHidden(7, true);
    list_->setColumnHidden(8, true);
    list_->header()->setSectionsClickable(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(list_, 1);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &LapFinderDialog::OnColumnClick);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu()->popup(list_->viewport()->mapToGlobal(at)); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &LapFinderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LapFinderDialog::reject);
    resize(900, 560);

    // First only the laps of the players who saved the replays, unsorted.
    filters_[std::size_t(LapFinder::Filter::OnlyLocal)]->setChecked(true);
    CheckSortButton();
    const std::vector<std::string> names = finder_.FillTrackList();
    // The tracks are folders: their names are file names.
    for (const std::string& n : names) tracks_->addItem(FileNameToQString(n));
    tracks_->setCurrentIndex(-1);
    if (auto initial = finder_.InitialTrack(names)) {
        tracks_->setCurrentIndex(tracks_->findText(FileNameToQString(*initial), Qt::MatchExactly));
        OnTrackChosen();
    }
    connect(tracks_, &QComboBox::activated, this, [this] { OnTrackChosen(); });
}

QMenu* LapFinderDialog::PopupMenu() {
    if (!popup_) {
        popup_ = new QMenu(this);
        popup_->addAction(tr("Copy table to clipboard "), this, &LapFinderDialog::CopyTableToClipboard);
        popup_->addAction(tr("(Can be pasted into Excel)"))->setEnabled(false);
    }
    return popup_;
}

void LapFinderDialog::OnTrackChosen() {
    if (tracks_->currentIndex() < 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    finder_.OnTrackChosen(QStringToFileName(tracks_->currentText()));
    QApplication::restoreOverrideCursor();
    CheckSortButton();
    FillList();
    count_->setText(QString::number(finder_.RowCount()));
    status_->setText(Cp1252ToQString(finder_.StatusText()));
}

void LapFinderDialog::OnSort(int mode) {
    if (finder_.SortBy(static_cast<LapFinder::SortMode>(mode))) FillList();
    CheckSortButton();
}

void LapFinderDialog::OnColumnClick(int column) {
    const LapFinder::SortMode before = finder_.GetSortMode();
    finder_.OnColumnClick(column);
    if (finder_.GetSortMode() != before) FillList();
    CheckSortButton();
}

void LapFinderDialog::CheckSortButton() {
    for (int i = 0; i < 8; ++i) sorts_[std::size_t(i)]->setChecked(i + 1 == finder_.GetSortMode());
}

void LapFinderDialog::FillList() {
    list_->clear();
    QList<QTreeWidgetItem*> items;
    const auto& rows = finder_.Rows();
    items.reserve(qsizetype(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < LapFinderRow::kColumns; ++c) {
            const std::string& cell = rows[r].text[std::size_t(c)];
            item->setText(c, LapFinderRow::IsFileNameColumn(c) ? FileNameToQString(cell) : Cp1252ToQString(cell));
        }
        item->setData(0, RowRole, int(r));
        items.append(item);
    }
    list_->addTopLevelItems(items);
}

void LapFinderDialog::CopyTableToClipboard() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    finder_.CopyTableToClipboard(clipboard_);
    QApplication::restoreOverrideCursor();
}

void LapFinderDialog::accept() {
    std::vector<int> selected;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->isSelected()) selected.push_back(item->data(0, RowRole).toInt());
    }
    if (finder_.OnOK(selected)) QDialog::accept();
}

}  // namespace vra
