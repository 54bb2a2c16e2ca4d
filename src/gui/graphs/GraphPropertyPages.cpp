#include "gui/graphs/GraphPropertyPages.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vra {

namespace {

QColor ToQColor(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

QLineEdit* NumberEdit(double v) {
    return new QLineEdit(QString::number(v, 'g', 15));
}

// The framework's integer check: a whole number, then its bounds.
bool CheckDecimals(QWidget* page, QLineEdit* edit) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (!ok) {
        QMessageBox::warning(page, QString(), QObject::tr("Please enter an integer."));
    } else if (v < 0 || v > 10) {
        QMessageBox::warning(page, QString(), QObject::tr("Please enter an integer between 0 and 10."));
        ok = false;
    }
    if (!ok) edit->setFocus();
    return ok;
}

}  // namespace

GraphPropertySheet::GraphPropertySheet(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Properties"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void GraphPropertySheet::AddPage(GraphPropertyPage* page, const QString& title) {
    pages_.push_back(page);
    tabs_->addTab(page, title);
}

void GraphPropertySheet::accept() {
    for (GraphPropertyPage* p : pages_)
        if (!p->Validate()) {
            tabs_->setCurrentWidget(p);
            return;
        }
    QDialog::accept();
}

CGraphPropertyPage::CGraphPropertyPage(const GraphRange& r, int flags) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Coordinates range"), this);
    auto* form = new QFormLayout(group);
    form->addRow(tr("x1 ="), x1_ = NumberEdit(r.x1));
    form->addRow(tr("x2 ="), x2_ = NumberEdit(r.x2));
    form->addRow(tr("y1 ="), y1_ = NumberEdit(r.y1));
    form->addRow(tr("y2 ="), y2_ = NumberEdit(r.y2));
    layout->addWidget(group);
    layout->addWidget(marks_ = new QCheckBox(tr("Point marks"), this));
    layout->addWidget(coordinates_ = new QCheckBox(tr("Mouse coordinates"), this));
    layout->addWidget(grid_ = new QCheckBox(tr("Axis"), this));
    marks_->setChecked(flags & kPointMarks);
    coordinates_->setChecked(flags & kCoordinates);
    grid_->setChecked(flags & kGrid);
    layout->addStretch();
}

bool CGraphPropertyPage::Validate() {
    for (QLineEdit* e : {x1_, x2_, y1_, y2_}) {
        bool ok = false;
        e->text().toDouble(&ok);
        if (!ok) {
            QMessageBox::warning(this, QString(), tr("Please enter a number."));
            e->setFocus();
            return false;
        }
    }
    return true;
}

GraphRange CGraphPropertyPage::Range() const {
    return {x1_->text().toDouble(), x2_->text().toDouble(), y1_->text().toDouble(), y2_->text().toDouble()};
}

int CGraphPropertyPage::ApplyTo(int flags) const {
    flags &= ~(kPointMarks | kCoordinates | kGrid);
    if (marks_->isChecked()) flags |= kPointMarks;
    if (coordinates_->isChecked()) flags |= kCoordinates;
    if (grid_->isChecked()) flags |= kGrid;
    return flags;
}

CAxisPropertyPage::CAxisPropertyPage(const GraphAxisInfo& x, const GraphAxisInfo& y) {
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const QString& title, const GraphAxisInfo& a, QLineEdit*& dec, QLineEdit*& name,
                     QLineEdit*& unit) {
        auto* g = new QGroupBox(title, this);
        auto* form = new QFormLayout(g);
        form->addRow(tr("Precision"), dec = new QLineEdit(QString::number(a.Decimals())));
        form->addRow(tr("Title"), name = new QLineEdit(QString::fromStdString(a.Name())));
        form->addRow(tr("UOM"), unit = new QLineEdit(QString::fromStdString(a.Unit())));
        layout->addWidget(g);
    };
    group(tr("X Axis"), x, xDecimals_, xName_, xUnit_);
    group(tr("Y Axis"), y, yDecimals_, yName_, yUnit_);
    layout->addStretch();
}

bool CAxisPropertyPage::Validate() {
    return CheckDecimals(this, xDecimals_) && CheckDecimals(this, yDecimals_);
}
std::string CAxisPropertyPage::XName() const {
    return xName_->text().toStdString();
}
std::string CAxisPropertyPage::XUnit() const {
    return xUnit_->text().toStdString();
}
int CAxisPropertyPage::XDecimals() const {
    return xDecimals_->text().trimmed().toInt();
}
std::string CAxisPropertyPage::YName() const {
    return yName_->text().toStdString();
}
std::string CAxisPropertyPage::YUnit() const {
    return yUnit_->text().toStdString();
}
int CAxisPropertyPage::YDecimals() const {
    return yDecimals_->text().trimmed().toInt();
}

void SeriesItemDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    p->save();
    const bool selected = option.state & QStyle::State_Selected;
    // A selected entry keeps a one-pixel ring of the list's own colour
    // around its highlight; the name takes the text colour of its state.
    p->fillRect(option.rect, option.palette.base());
    if (selected) p->fillRect(option.rect.adjusted(1, 1, -1, -1), option.palette.highlight());
    const QRect swatch(option.rect.left() + 2, option.rect.top() + 2, 20, option.rect.height() - 4);
    p->fillRect(swatch, index.data(Qt::DecorationRole).value<QColor>());
    p->setPen(selected ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
    p->drawText(option.rect.adjusted(25, 3, 0, 0), Qt::AlignTop | Qt::AlignLeft, index.data().toString());
    p->restore();
}

QSize SeriesItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), 20);
}

void SetSeriesEntry(QComboBox& combo, int entry, const CGraphProps& g) {
    combo.setItemText(entry, QString::fromStdString(g.name));
    combo.setItemData(entry, ToQColor(g.colour), Qt::DecorationRole);
}

CGraphicsPropertyPage::CGraphicsPropertyPage(GraphModel& graph) {
    int slot = -1;
    for (CGraphProps* g = graph.GetFirstGraph(slot); g; g = graph.GetNextGraph(slot))
        copies_.push_back(std::make_unique<CGraphProps>(*g, slot));
    auto* layout = new QVBoxLayout(this);
    combo_ = new QComboBox(this);
    combo_->setItemDelegate(new SeriesItemDelegate(combo_));
    for (std::size_t i = 0; i < copies_.size(); ++i) {
        combo_->addItem(QString());
        SetSeriesEntry(*combo_, static_cast<int>(i), *copies_[i]);
    }
    layout->addWidget(combo_);
    title_ = new QLineEdit(this);
    title_->setReadOnly(true);
    layout->addWidget(title_);
    auto* row = new QHBoxLayout;
    auto* colour = new QPushButton(tr("Color"), this);
    auto* title = new QPushButton(tr("Title"), this);
    hide_ = new QPushButton(tr("Hide"), this);
    auto* all = new QPushButton(tr("Show all"), this);
    for (QPushButton* b : {colour, title, hide_, all}) row->addWidget(b);
    layout->addLayout(row);
    layout->addStretch();
    connect(colour, &QPushButton::clicked, this, &CGraphicsPropertyPage::ChooseColour);
    connect(title, &QPushButton::clicked, this, &CGraphicsPropertyPage::EditTitle);
    connect(hide_, &QPushButton::clicked, this, &CGraphicsPropertyPage::ToggleHidden);
    connect(all, &QPushButton::clicked, this, &CGraphicsPropertyPage::ShowAll);
    // Entry 0 stands selected, but the title shows only once the user picks.
    if (!copies_.empty()) combo_->setCurrentIndex(0);
    connect(combo_, &QComboBox::currentIndexChanged, this, [this] {
        const CGraphProps* g = Current();
        title_->setText(g ? QString::fromStdString(g->name) : QString());
        Refresh();
    });
}

CGraphProps* CGraphicsPropertyPage::Current() {
    const int i = combo_->currentIndex();
    return i >= 0 && static_cast<std::size_t>(i) < copies_.size() ? copies_[std::size_t(i)].get() : nullptr;
}

void CGraphicsPropertyPage::Refresh() {
    const CGraphProps* g = Current();
    hide_->setText(g && !g->visible ? tr("Show") : tr("Hide"));
    if (g) SetSeriesEntry(*combo_, combo_->currentIndex(), *g);
}

void CGraphicsPropertyPage::ChooseColour() {
    CGraphProps* g = Current();
    if (!g) return;
    const QColor c = QColorDialog::getColor(ToQColor(g->colour), this);
    if (!c.isValid()) return;
    g->colour = Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue())};
    Refresh();
}

void CGraphicsPropertyPage::EditTitle() {
    CGraphProps* g = Current();
    if (!g) return;
    bool ok = false;
    const QString t =
        QInputDialog::getText(this, tr("Title"), QString(), QLineEdit::Normal, QString::fromStdString(g->name), &ok);
    if (!ok) return;
    g->name = t.toStdString();
    title_->setText(t);
    Refresh();
}

void CGraphicsPropertyPage::ToggleHidden() {
    if (CGraphProps* g = Current()) g->visible = !g->visible;
    Refresh();
}

void CGraphicsPropertyPage::ShowAll() {
    for (auto& c : copies_) c->visible = true;
    Refresh();
}

}  // namespace vra
