#include "gui/chart/CLabelDlg.h"

#include "gui/chart/CXGraph.h"
#include "gui/chart/ChartDialogKit.h"

#include <QFormLayout>
#include <QHBoxLayout>

namespace vra {

CLabelDlg::CLabelDlg(CXGraphLabel& label, CXGraph& chart, QWidget* parent)
    : QDialog(parent), label_(label), chart_(chart) {
    setWindowTitle(QStringLiteral("Properties"));
    auto* form = new QFormLayout(this);
    background = Named(new CColorButton(this), 207);
    form->addRow(QStringLiteral("Backgroundcolor"), background);
    // The font dialog has no colour of its own, so the text colour has its button.
    textColour = new CColorButton(this);
    textColour->setObjectName(QStringLiteral("textColour"));
    form->addRow(QStringLiteral("Text color"), textColour);
    font = Named(new QPushButton(QStringLiteral("Font"), this), 255);
    form->addRow(font);
    alignment = Named(new QComboBox(this), 254);
    alignment->addItems({QStringLiteral("Left"), QStringLiteral("Centered"), QStringLiteral("Right")});
    form->addRow(QStringLiteral("Alignment"), alignment);
    curve = Named(new QComboBox(this), 256);
    for (int i = 0; i < chart.model().CurveCount(); ++i)
        curve->addItem(QStringLiteral("%1 %2")
                           .arg(i + 1, 2, 10, QLatin1Char('0'))
                           .arg(QString::fromStdString(chart.model().curves[static_cast<std::size_t>(i)].name)));
    form->addRow(QStringLiteral("Connect to curve"), curve);
    transparent = Named(new QCheckBox(QStringLiteral("Transparent"), this), 257);
    border = Named(new QCheckBox(QStringLiteral("Border"), this), 253);
    form->addRow(transparent, border);
    auto* row = new QHBoxLayout;
    apply = Named(new QPushButton(QStringLiteral("Apply"), this), 100);
    ok = Named(new QPushButton(QStringLiteral("OK"), this), 1);
    cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), 2);
    for (auto* b : {apply, ok, cancel}) row->addWidget(b);
    form->addRow(row);

    border->setChecked(label.border);
    background->SetColour(ToQColor(label.background));
    textColour->SetColour(ToQColor(label.textColour));
    alignment->setCurrentIndex(std::clamp(label.format, 0, 2));
    curve->setCurrentIndex(label.curve >= 0 && label.curve < curve->count() ? label.curve : -1);
    transparent->setChecked(label.transparent);
    apply->setEnabled(false);

    auto changed = [this] { apply->setEnabled(true); };
    connect(border, &QCheckBox::toggled, this, changed);
    connect(transparent, &QCheckBox::toggled, this, changed);
    connect(alignment, &QComboBox::currentIndexChanged, this, changed);
    connect(curve, &QComboBox::currentIndexChanged, this, changed);
    connect(background, &CColorButton::colourChanged, this, changed);
    connect(textColour, &CColorButton::colourChanged, this, changed);
    connect(font, &QPushButton::clicked, this, [this, changed] {
        QFont f = QtFont(label_.font);
        QColor c = ToQColor(label_.textColour);
        if (!ChartDialogs().font(this, f, &c)) return;
        label_.font.family = f.family() == QStringLiteral("Liberation Sans") ? "Arial" : f.family().toStdString();
        label_.font.height = f.pixelSize() > 0 ? f.pixelSize() : static_cast<int>(f.pointSizeF() * 96 / 72 + 0.5);
        label_.font.weight = f.weight();
        label_.font.italic = f.italic();
        label_.font.underline = f.underline();
        label_.font.strikeOut = f.strikeOut();
        label_.textColour = FromQColor(c);
        textColour->SetColour(c);
        changed();
    });
    connect(apply, &QPushButton::clicked, this, &CLabelDlg::Apply);
    connect(ok, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CLabelDlg::Apply() {
    label_.border = border->isChecked();
    if (background->GetColour().isValid()) label_.background = FromQColor(background->GetColour());
    if (textColour->GetColour().isValid()) label_.textColour = FromQColor(textColour->GetColour());
    label_.format = alignment->currentIndex();
    label_.curve = curve->currentIndex();
    label_.transparent = transparent->isChecked();
    chart_.update();
    apply->setEnabled(false);
}

}  // namespace vra
