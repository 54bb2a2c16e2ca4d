#include "gui/replay/Chooselap.h"

#include "core/document/CarNumberText.h"
#include "core/document/SeriesName.h"
#include "core/platform/WaitBox.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/text/LapTime.h"
#include "gui/platform/Cp1252.h"
#include "gui/replay/ChooserSound.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <fmt/format.h>

#include <cmath>

namespace vra {

namespace {

constexpr const char* kSessionNodes[4] = {"Practice Laps", "Qualifying Laps", "Happy Hour Laps", "Race Laps"};
constexpr const char* kSessionNames[4] = {"Practice", "Qualifying", "Happy Hour", "Race"};
constexpr double kKphToMph = 0.6213722922;
// Frames per second of the replay's stream.
constexpr int kFrameRate = 36;

QString Text(const std::string& bytes) {
    return vra::Cp1252ToQString(bytes);
}

std::string FullName(const vra::Drivers::Driver& d) {
    return d.firstName + " " + d.lastName;
}

std::string Incidents(int flags) {
    std::string text;
    auto add = [&](const char* what) {
        if (!text.empty()) text += ", ";
        text += what;
    };
    if (flags & 64) add("Off track");
    if (flags & 32) add("Pitted");
    if (flags & 16) add("Incomplete");
    if (flags & 128) add("Black flag");
    if (flags & 0x0F) add("Unknown");
    return text;
}

}  // namespace

Chooselap::Chooselap(const vra::LapChoiceRequest& request, vra::Prompts& prompts, vra::WaitBox* waitBox,
                     QWidget* parent)
    : QDialog(parent), request_(request), prompts_(prompts), waitBox_(waitBox) {
    setObjectName(QStringLiteral("Chooselap"));

    tree_ = new QTreeWidget;
    tree_->setObjectName(QStringLiteral("LapTree"));
    tree_->setHeaderHidden(true);
    tree_->setMinimumSize(300, 360);
    onlySelectable_ = new QCheckBox(tr("Only show selectable laps"));
    auto* note = new QLabel(tr("(only lap times in bold are selectable)"));

    auto* left = new QVBoxLayout;
    left->addWidget(tree_, 1);
    left->addWidget(onlySelectable_);
    left->addWidget(note);

    // The replay's settings in their groups, side by side and all in view.
    auto* settingsColumn = new QVBoxLayout;
    auto* moreColumn = new QVBoxLayout;
    for (std::size_t g = 0; g < request_.info.size(); ++g) {
        const vra::LapChoiceRequest::InfoGroup& info = request_.info[g];
        auto* group = new QGroupBox(Text(info.title));
        auto* form = new QFormLayout(group);
        for (const auto& [label, text] : info.fields) {
            auto* value = new QLabel(Text(text));
            value->setTextFormat(Qt::PlainText);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(Text(label), value);
            infoFields_[{Text(info.title), Text(label)}] = value;
        }
        // The replay's own information and what the weekend was like first,
        // the settings of the opponents and of the game beside them.
        (g < 3 ? settingsColumn : moreColumn)->addWidget(group);
    }
    settingsColumn->addStretch(1);
    moreColumn->addStretch(1);

    auto* right = new QVBoxLayout;
    auto* driverGroup = new QGroupBox(tr("Selected driver information"));
    auto* driverForm = new QFormLayout(driverGroup);
    for (const char* label : {"Driver name:", "Chatnick:", "Car Physics:", "Car-number:", "Car-file:", "Type:"})
        AddField(driverForm, QString::fromLatin1(label));
    auto* ratings = new QHBoxLayout;
    for (const char* rating : {"RC", "ST", "SW", "SS", "LPI"}) {
        ratings->addWidget(new QLabel(QString::fromLatin1(rating)));
        auto* value = new QLabel;
        value->setMinimumWidth(24);
        fields_[QString::fromLatin1(rating)] = value;
        ratings->addWidget(value);
    }
    driverForm->addRow(tr("Ratings:"), ratings);
    right->addWidget(driverGroup);

    auto* lapGroup = new QGroupBox(tr("Selected lap information"));
    auto* lapForm = new QFormLayout(lapGroup);
    for (const char* label : {"Session:", "Laptime:", "Incident(s):", "Selectable lap:"})
        AddField(lapForm, QString::fromLatin1(label));
    right->addWidget(lapGroup);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    quality_ = buttons->addButton(tr("Quality Analyze"), QDialogButtonBox::ActionRole);
    quality_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &Chooselap::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Chooselap::reject);
    connect(quality_, &QPushButton::clicked, this, &Chooselap::OnQualityAnalyze);

    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(settingsColumn);
    columns->addLayout(moreColumn);
    columns->addLayout(right);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columns, 1);
    main->addWidget(buttons);

    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &Chooselap::OnSelChanged);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnItemDoubleClicked(item); });
    connect(onlySelectable_, &QCheckBox::toggled, this, &Chooselap::OnOnlySelectableToggled);

    BuildTree();
    ClearLapFields();
}

QLabel* Chooselap::AddField(QFormLayout* form, const QString& label) {
    auto* value = new QLabel;
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, value);
    fields_[label] = value;
    return value;
}

QString Chooselap::Field(const QString& label) const {
    auto it = fields_.find(label);
    return it == fields_.end() ? QString() : it->second->text();
}

QString Chooselap::InfoField(const QString& group, const QString& label) const {
    auto it = infoFields_.find({group, label});
    return it == infoFields_.end() ? QString() : it->second->text();
}

bool Chooselap::IsLapEntry(const QTreeWidgetItem* item) {
    return item && ItemKind(item->data(0, KindRole).toInt()) == ItemKind::Lap;
}

bool Chooselap::IsLapItem(const QTreeWidgetItem* item) {
    // The time before the first crossing of the line is listed with the laps
    // but is no lap: it cannot be shown or loaded.
    return IsLapEntry(item) && item->data(0, LapRole).toInt() >= 1;
}

std::string Chooselap::FormatLapItem(std::uint32_t lapWord, int lapIndex, double trackLengthMetres, bool milesPerHour) {
    if (lapWord == kNoTime) return "No time";
    const std::uint32_t t = lapWord & 0x0FFFFFFF;
    std::string text = lapIndex == 0 ? "Time before start/finish" : fmt::format("Lap {}", lapIndex);
    text += fmt::format(": {}m{:02}.{:03}s", t / 60000, (t / 1000) % 60, t % 1000);
    if (lapIndex != 0 && t != 0 && trackLengthMetres > 0.0 && std::isfinite(trackLengthMetres)) {
        double speed = trackLengthMetres / (t * 0.001) * 3.6;
        if (milesPerHour) speed *= kKphToMph;
        text += " (" + vra::LapSpeedText(speed) + (milesPerHour ? "mph" : "kph") + ")";
    }
    const std::uint32_t flags = (lapWord >> 24) & 0xF0;
    if (flags != 0) text += fmt::format(" [{}]", flags);
    return text;
}

std::string Chooselap::QualityText(int samples, int missing, int longestGap, int foundRecords, std::uint32_t lapWord) {
    // Without samples there is nothing to judge: no quality and no gap.
    const int quality = samples > 0 ? int(100.0 - 100.0 * missing / samples) : 0;
    const int gap = samples > 0 ? longestGap / kFrameRate : 0;
    std::string text = fmt::format("Online quality of lapdata: {}%\nLargest online gap: {} seconds", quality, gap);
    if (std::int64_t(samples) * 1000 / kFrameRate < std::int64_t(lapWord & 0x0FFFFFFF))
        text += "\n\nPossible partly loss of data due to accelerated time\nor other disturbance.";
    if (foundRecords == 0 && quality > 0)
        text = "This laps seems to be a lap set under\r\naccelerated time and contains no data.";
    return text;
}

void Chooselap::BuildTree() {
    // Rebuilt from the plain title each time, so the path is never repeated.
    setWindowTitle(QString::fromLatin1(kBaseTitle) + QStringLiteral(" from ") +
                   vra::FileNameToQString(request_.replayPath.string()));
    tree_->clear();
    const vra::Drivers* drivers = request_.drivers;
    if (!drivers) return;
    for (std::size_t i = 0; i < drivers->drivers.size(); ++i) {
        const vra::Drivers::Driver& d = drivers->drivers[i];
        const int driver = int(i);
        auto* node = new QTreeWidgetItem(tree_);
        node->setText(0, Text(FullName(d) + " #" + vra::CarNumberText(std::int16_t(d.carNumber))));
        node->setData(0, KindRole, int(ItemKind::Driver));
        node->setData(0, DriverRole, driver);
        for (int kind = 0; kind < vra::kSessionKinds; ++kind) {
            if (!drivers->sessionPresent[std::size_t(kind)]) continue;
            auto* session = new QTreeWidgetItem(node);
            session->setText(0, QString::fromLatin1(kSessionNodes[kind]));
            session->setData(0, KindRole, int(ItemKind::Session));
            session->setData(0, DriverRole, driver);
            session->setData(0, SessionRole, kind);
            const int count = drivers->LapCount(kind, driver);
            for (int lap = 0; count > 0 && lap <= count; ++lap) {
                const bool valid = drivers->IsLapValid(kind, driver, lap);
                auto* item = new QTreeWidgetItem(session);
                item->setText(
                    0, QString::fromStdString(FormatLapItem(drivers->LapWordAt(kind, driver, lap), lap,
                                                            request_.trackLengthMetres, request_.speedUnit == 1)));
                item->setData(0, KindRole, int(ItemKind::Lap));
                item->setData(0, DriverRole, driver);
                item->setData(0, SessionRole, kind);
                item->setData(0, LapRole, lap);
                item->setData(0, ValidRole, valid);
                if (valid) {
                    QFont font = item->font(0);
                    font.setBold(true);
                    item->setFont(0, font);
                }
            }
        }
    }
}

void Chooselap::ClearLapFields() {
    fields_[QStringLiteral("Laptime:")]->setText(tr("None selected"));
    fields_[QStringLiteral("Selectable lap:")]->setText(tr("No"));
    fields_[QStringLiteral("Incident(s):")]->clear();
    fields_[QStringLiteral("Session:")]->clear();
    quality_->setEnabled(false);
}

void Chooselap::OnSelChanged() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) return;
    QTreeWidgetItem* item = selected.front();
    if (IsLapItem(item)) {
        const QString text = item->text(0);
        const int colon = text.indexOf(QStringLiteral(": "));
        fields_[QStringLiteral("Laptime:")]->setText(colon >= 0 ? text.mid(colon + 2) : text);
        const int bracket = text.indexOf(QLatin1Char('['));
        fields_[QStringLiteral("Incident(s):")]->setText(
            bracket >= 0
                ? QString::fromStdString(Incidents(text.mid(bracket + 1).section(QLatin1Char(']'), 0, 0).toInt()))
                : tr("None reported"));
        const int session = item->data(0, SessionRole).toInt();
        fields_[QStringLiteral("Session:")]->setText(QString::fromLatin1(kSessionNames[session]));
        result_.session = session;
        const bool valid = item->data(0, ValidRole).toBool();
        fields_[QStringLiteral("Selectable lap:")]->setText(valid ? tr("Yes") : tr("No"));
        quality_->setEnabled(valid);
    } else {
        ClearLapFields();
    }
    FillDriverFields(item->data(0, DriverRole).toInt());
}

void Chooselap::FillDriverFields(int driver) {
    if (driver == shownDriver_ || !request_.drivers) return;
    if (driver < 0 || std::size_t(driver) >= request_.drivers->drivers.size()) return;
    shownDriver_ = driver;
    const vra::Drivers::Driver& d = request_.drivers->drivers[std::size_t(driver)];
    const std::string name = FullName(d);
    fields_[QStringLiteral("Driver name:")]->setText(Text(name));
    const char* type = d.type == vra::DriverHuman ? "Human" : d.type == vra::DriverAi ? "AI-car" : "Non-competing";
    if (name == "Varn Osterlo") {
        type = "Alien";
        PlayChooserSound();
    }
    fields_[QStringLiteral("Type:")]->setText(QString::fromLatin1(type));
    fields_[QStringLiteral("Car Physics:")]->setText(Text(vra::SeriesName(d.physics, 1)));
    fields_[QStringLiteral("Car-number:")]->setText(
        Text(fmt::format("{:>4}", vra::CarNumberText(std::int16_t(d.carNumber)))));
    fields_[QStringLiteral("Chatnick:")]->setText(Text(d.nickname));
    fields_[QStringLiteral("Car-file:")]->setText(Text(d.fourthText));
    // The driver table of these replays carries no ratings.
    for (const char* rating : {"RC", "ST", "SW", "SS", "LPI"}) fields_[QString::fromLatin1(rating)]->clear();
}

void Chooselap::accept() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.front();
    if (!IsLapEntry(item)) {
        prompts_.message("Choose a lap to view!", "No lap choosen!", vra::Icon::Error, vra::Buttons::Ok);
        return;
    }
    // The time before the first crossing is a lap item like the others, one
    // that can never be taken.
    if (!IsLapItem(item) || !item->data(0, ValidRole).toBool()) {
        prompts_.message("Data for this lap is not stored in the replay file\nor lap isn't complete.",
                         "Not a valid lap!", vra::Icon::Error, vra::Buttons::Ok);
        return;
    }
    result_.driver = item->data(0, DriverRole).toInt();
    result_.session = item->data(0, SessionRole).toInt();
    result_.lap = item->data(0, LapRole).toInt();
    QDialog::accept();
}

void Chooselap::OnItemDoubleClicked(QTreeWidgetItem* item) {
    // Nodes only open and close; a lap item is answered as OK answers it.
    if (IsLapEntry(item)) accept();
}

void Chooselap::OnOnlySelectableToggled(bool checked) {
    if (checked) {
        for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
            QTreeWidgetItem* driver = tree_->topLevelItem(i);
            for (int s = 0; s < driver->childCount(); ++s) {
                QTreeWidgetItem* session = driver->child(s);
                for (int l = session->childCount() - 1; l >= 0; --l)
                    if (!session->child(l)->data(0, ValidRole).toBool()) delete session->takeChild(l);
            }
        }
        return;
    }
    result_.driver = -1;
    shownDriver_ = -1;
    tree_->clearSelection();
    ClearLapFields();
    BuildTree();
}

void Chooselap::OnQualityAnalyze() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty() || !request_.drivers) return;
    QTreeWidgetItem* item = selected.front();
    if (!IsLapItem(item)) return;
    const int driver = item->data(0, DriverRole).toInt();
    const int session = item->data(0, SessionRole).toInt();
    const int lap = item->data(0, LapRole).toInt();

    if (waitBox_) waitBox_->Show(vra::kPleaseWaitText);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    vra::GetRpyInfo info;
    info.ExtractLap(*request_.drivers, driver, lap, session, float(request_.trackLengthMetres));
    const std::string text = QualityText(info.sampleCount, info.missingCount, info.longestGap, info.foundCount,
                                         request_.drivers->LapWordAt(session, driver, lap));
    if (waitBox_) waitBox_->Hide();
    QApplication::restoreOverrideCursor();
    prompts_.message(text, "Quality report", vra::Icon::Information, vra::Buttons::Ok);
}

}  // namespace vra
