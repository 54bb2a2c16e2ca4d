#include "gui/tools/Options.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SimFolderCheck.h"
#include "gui/dialogs/CFolderDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vra {

namespace {

// Damage-cost table entries and their labels; 19 has no label of its own and
// is never shown, but keeps its value through the dialog.
constexpr std::array<const char*, kEditedDamageCosts> kCostLabels = {
    "Brakeline", "Brakes",     "Clutch",     "Coolant leak", "Electrical", "Engine",      "Engine fire",
    "Fuel leak", "Fuelsystem", "Lost gears", "Oil leak",     "Radiator",   "Suspensions", "Hood",
    "Corners",   "Front",      "Rear",       "Roof",         "Sides",      "Unknown"};
constexpr std::size_t kFirstBodywork = 13;
constexpr std::size_t kHiddenCost = 19;

QString FromSystem(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

std::string ToSystem(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

// The two headings of the cost groups stand in the map's second lap colour.
QLabel* ColouredHeading(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    const Rgb c = CRpyGraphDoc::Palette()[1];
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(c.red, c.green, c.blue));
    label->setPalette(palette);
    return label;
}

}  // namespace

Options::Options(AppSettings& settings, CRpyGraphDoc* document, Prompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), document_(document), prompts_(prompts) {
    setWindowTitle(tr("Settings"));
    const OptionsValues v = LoadOptions(settings_);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    auto* left = new QVBoxLayout;
    top->addLayout(left);
    auto* units = new QGroupBox(tr("Speed Units"), this);
    auto* unitsRow = new QHBoxLayout(units);
    kph_ = new QRadioButton(tr("KPH"), units);
    kph_->setObjectName(QStringLiteral("kph"));
    mph_ = new QRadioButton(tr("MPH"), units);
    mph_->setObjectName(QStringLiteral("mph"));
    unitsRow->addWidget(kph_);
    unitsRow->addWidget(mph_);
    (v.speedUnit == 1 ? mph_ : kph_)->setChecked(true);
    left->addWidget(units);

    auto* misc = new QGroupBox(tr("Misc"), this);
    auto* miscBox = new QVBoxLayout(misc);
    qualityReport_ = new QCheckBox(tr("Quality report"), misc);
    qualityReport_->setObjectName(QStringLiteral("qualityReport"));
    qualityReport_->setChecked(v.dontShowQualReport == 0);
    miscBox->addWidget(qualityReport_);
    left->addWidget(misc);

    auto* reports = new QGroupBox(tr("Report Settings"), this);
    auto* reportsBox = new QVBoxLayout(reports);
    offTheTrack_ = new QCheckBox(tr("Remove off the track info in LapByLap"), reports);
    offTheTrack_->setObjectName(QStringLiteral("offTheTrack"));
    offTheTrack_->setChecked(v.offTheTrackInRaceReport != 0);
    damageInfo_ = new QCheckBox(tr("Include damage info in Race Report"), reports);
    damageInfo_->setObjectName(QStringLiteral("damageInfo"));
    damageInfo_->setChecked(v.retireInRaceReport != 0);
    nicknames_ = new QCheckBox(tr("If present, use nicknames in reports"), reports);
    nicknames_->setObjectName(QStringLiteral("nicknames"));
    nicknames_->setChecked(v.useNickNameInReports != 0);
    for (QCheckBox* box : {offTheTrack_, damageInfo_, nicknames_}) reportsBox->addWidget(box);
    left->addWidget(reports);

    auto* exportGroup = new QGroupBox(tr("Track Map Export"), this);
    auto* exportRow = new QHBoxLayout(exportGroup);
    exportRow->addWidget(new QLabel(tr("Size of exported BMP file (pixels):"), exportGroup));
    bitmapSize_ = new QLineEdit(QString::number(v.bmpSizeInPixel), exportGroup);
    bitmapSize_->setObjectName(QStringLiteral("bitmapSize"));
    exportRow->addWidget(bitmapSize_);
    left->addWidget(exportGroup);

    auto* folders = new QGridLayout;
    left->addLayout(folders);
    simFolder_ = AddFolderGroup(folders, 0, tr("Velmar Path"), QStringLiteral("simFolder"), [this](QLineEdit* edit) {
        if (auto folder = LocateSimExecutable(prompts_, ToSystem(edit->text()))) edit->setText(FromSystem(*folder));
    });
    altReplayPath_ = AddFolderGroup(folders, 1, tr("Alternative Replay Path"), QStringLiteral("altReplayPath"),
                                    [this](QLineEdit* edit) { BrowseFolder(edit); });
    recordsPath_ = AddFolderGroup(folders, 2, tr("Export Records Path"), QStringLiteral("recordsPath"),
                                  [this](QLineEdit* edit) { BrowseFolder(edit); });
    simFolder_->setText(FromSystem(v.simFolder));
    altReplayPath_->setText(FromSystem(v.altReplayPath));
    recordsPath_->setText(FromSystem(v.recordsPath));
    left->addStretch();

    auto* costs = new QGroupBox(tr("Damage Cost Settings (Mechanical Report)"), this);
    auto* costBox = new QVBoxLayout(costs);
    auto* columns = new QHBoxLayout;
    costBox->addLayout(columns);
    auto addColumn = [&](const QString& heading, const QString& name, std::size_t first, std::size_t end) {
        auto* grid = new QGridLayout;
        grid->addWidget(ColouredHeading(heading, name, costs), 0, 0, 1, 2);
        for (std::size_t i = first; i < end; ++i) {
            auto* label = new QLabel(QString::fromLatin1(kCostLabels[i]), costs);
            auto* edit = new QLineEdit(QString::number(v.damageCosts[i]), costs);
            edit->setObjectName(QStringLiteral("cost%1").arg(i));
            costs_[i] = edit;
            const int row = int(i - first) + 1;
            grid->addWidget(label, row, 0);
            grid->addWidget(edit, row, 1);
            if (i == kHiddenCost) {
                label->hide();
                edit->hide();
            }
        }
        grid->setRowStretch(int(end - first) + 1, 1);
        columns->addLayout(grid);
    };
    addColumn(tr("Other damages"), QStringLiteral("otherDamages"), 0, kFirstBodywork);
    addColumn(tr("Bodywork"), QStringLiteral("bodywork"), kFirstBodywork, kEditedDamageCosts);
    costBox->addWidget(new QLabel(
        tr("Settings refer to cost of 100% damage to that part,\npartly damaged parts will get the relative cost."),
        costs));
    top->addWidget(costs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &Options::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Options::reject);
}

QLineEdit* Options::AddFolderGroup(QGridLayout* grid, int row, const QString& title, const QString& name,
                                   std::function<void(QLineEdit*)> browse) {
    auto* group = new QGroupBox(title, this);
    auto* line = new QHBoxLayout(group);
    auto* edit = new QLineEdit(group);
    edit->setObjectName(name);
    auto* button = new QPushButton(tr("Browse"), group);
    button->setObjectName(name + QStringLiteral("Browse"));
    line->addWidget(edit, 1);
    line->addWidget(button);
    grid->addWidget(group, row, 0);
    connect(button, &QPushButton::clicked, this, [edit, browse] { browse(edit); });
    return edit;
}

void Options::BrowseFolder(QLineEdit* edit) {
    std::string chosen;
    CFolderDialog dialog(&chosen, this, edit->text());
    if (dialog.exec() == QDialog::Accepted) edit->setText(FromSystem(chosen));
}

void Options::accept() {
    OptionsInput in;
    in.switches.speedUnit = mph_->isChecked() ? 1 : 0;
    in.switches.dontShowQualReport = qualityReport_->isChecked() ? 0 : 1;
    in.switches.retireInRaceReport = damageInfo_->isChecked() ? 1 : 0;
    in.switches.offTheTrackInRaceReport = offTheTrack_->isChecked() ? 1 : 0;
    in.switches.useNickNameInReports = nicknames_->isChecked() ? 1 : 0;
    in.simFolderText = ToSystem(simFolder_->text());
    in.altReplayPathText = ToSystem(altReplayPath_->text());
    in.recordsPathText = ToSystem(recordsPath_->text());
    in.bitmapSizeText = bitmapSize_->text().toStdString();
    for (std::size_t i = 0; i < kEditedDamageCosts; ++i) in.costTexts[i] = costs_[i]->text().toStdString();

    const OptionsDecision d =
        DecideOptions(in, prompts_, [](std::string_view folder) { return FindSimExecutable(folder).has_value(); });
    simFolder_->setText(FromSystem(d.simFolder));
    if (d.refusedCost >= 0) {
        QLineEdit* edit = costs_[std::size_t(d.refusedCost)];
        edit->setFocus();
        edit->selectAll();
        return;
    }
    if (!d.accepted) return;
    StoreOptions(d.values, settings_, document_, prompts_);
    QDialog::accept();
}

SettingsDialogResult Options::Run(const SettingsDialogRequest& request, Prompts& prompts, QWidget* parent) {
    if (!request.settings) return {};
    Options dialog(*request.settings, request.document, prompts, parent);
    return {dialog.exec() == QDialog::Accepted};
}

}  // namespace vra
