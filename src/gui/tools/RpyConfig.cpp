#include "gui/tools/RpyConfig.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

namespace {

enum class Key { Sample, StateA, PhysicsRate };

struct Block {
    const char* name;
    Key key;
    int bit;
    const char* contains;
    const char* cost;
    const char* recommendation;
};

constexpr const char* kSetupAdvice = "On. Note that this version of VELMRRA does not use the setup info yet.";

constexpr std::array<Block, RpyConfig::kBoxes> kBlocks = {{
    {"SampleHeader", Key::Sample, 0, "Misc general info", "51840", "Off. VELMRRA does not have any use for this data"},
    {"ChassisData", Key::Sample, 1, "Chassis variables", "172800",
     "Off. VELMRRA can calculate most of this with data found elsewhere."},
    {"WheelData", Key::Sample, 2, "Camber, forces, shocks etc", "146880",
     "On. This is great stuff for setting up the car."},
    {"TireData", Key::Sample, 3, "Tire temp and pressure", "146880", "On. Important setup information."},
    {"DrivelineData", Key::Sample, 4, "Engine and transmission", "34560", "On."},
    {"DriverInput", Key::Sample, 5, "Driver input such as throttle, brake etc", "51840",
     "Off. Most of this data can be found elsewhere in the replay."},
    {"CarSetup", Key::StateA, 3, "The setup used", "very small", kSetupAdvice},
    {"Pitstop", Key::StateA, 4, "Setup changes during pit stop", "very small", kSetupAdvice},
    {"Telemetry at physics rate (288Hz)", Key::PhysicsRate, 0, "", "x 8", "(VELMRRA does not use the extra data)"},
}};

constexpr const char* kOverview =
    "VELMR has the option to save a lot of valuable telemetry information to the telemetry. This telemetry "
    "information is taken directly from the physics engine of VELMR and is therefore extremely handy when it comes "
    "to setting up your car and analyze your driving.\n\nVELMR Replay Analyzer takes advantage of this and lets you "
    "examine this telemetry data in the graph (advanced tab).\n\nThere is a downside in turning on all available "
    "options, and that is the filesize of the replays. Saving everything will result in huge replay files and "
    "therefore you might not be able to save the replay for the entire weekend.\n\nThis dialog lets you configure "
    "what VELMR should save along with some recommendations when you use the Replay Analyzer. It also shows the "
    "effect the settings will have on your future replay filesize per minute of driving.";

std::int32_t& Field(CoreIniValues& v, Key key) {
    return key == Key::Sample ? v.record_telem_sample : v.record_telem_state_a;
}

}  // namespace

RpyConfig::RpyConfig(const CRpyGraphDoc& document, Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), file_(CoreIniEditor::Locate(document.SimFolder())) {
    setWindowTitle(tr("Configure VELMR Replay Settings"));
    auto* layout = new QVBoxLayout(this);
    auto* overview = new QLabel(QString::fromLatin1(kOverview), this);
    overview->setObjectName(QStringLiteral("overview"));
    overview->setWordWrap(true);
    layout->addWidget(overview);

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const QStringList headings = {QString(), tr("Contains:"), tr("Bytes/minute"), tr("Recommendation")};
    for (int c = 0; c < headings.size(); ++c) grid->addWidget(new QLabel(headings[c], this), 0, c);
    for (int i = 0; i < kBoxes; ++i) {
        const Block& b = kBlocks[std::size_t(i)];
        auto* box = new QCheckBox(QString::fromLatin1(b.name), this);
        box->setObjectName(QString::fromLatin1(b.name));
        boxes_[std::size_t(i)] = box;
        grid->addWidget(box, i + 1, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(b.contains), this), i + 1, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(b.cost), this), i + 1, 2);
        grid->addWidget(new QLabel(QString::fromLatin1(b.recommendation), this), i + 1, 3);
        // clicked, not toggled: only the user's own change flips a bit.
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { Toggle(i, on); });
    }

    auto* totalGroup = new QGroupBox(tr("Total effect on replay filesize"), this);
    auto* totalRow = new QHBoxLayout(totalGroup);
    total_ = new QLabel(totalGroup);
    total_->setObjectName(QStringLiteral("total"));
    totalRow->addWidget(total_);
    layout->addWidget(totalGroup);

    auto* presets = new QHBoxLayout;
    auto* recommended = new QPushButton(tr("Set recommended"), this);
    recommended->setObjectName(QStringLiteral("recommended"));
    auto* allOff = new QPushButton(tr("Turn off everything"), this);
    allOff->setObjectName(QStringLiteral("allOff"));
    presets->addWidget(recommended);
    presets->addWidget(allOff);
    presets->addStretch();
    layout->addLayout(presets);
    connect(recommended, &QPushButton::clicked, this, [this] {
        SetRecommended(values_);
        UpdateChecks();
        UpdateDataRate();
    });
    connect(allOff, &QPushButton::clicked, this, [this] {
        TurnOffEverything(values_);
        UpdateChecks();
        UpdateDataRate();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &RpyConfig::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RpyConfig::reject);

    if (auto read = CoreIniEditor::Read(file_))
        values_ = *read;
    else
        prompts_.alert(CoreIniEditor::Message({CoreIniEditor::Status::ReadFailed, {}}));
    UpdateChecks();
    UpdateDataRate();
}

QString RpyConfig::TotalText() const {
    return total_->text();
}

void RpyConfig::Toggle(int index, bool on) {
    const Block& b = kBlocks[std::size_t(index)];
    if (b.key == Key::PhysicsRate) {
        SetPhysicsRate(values_, on);
    } else {
        std::int32_t& field = Field(values_, b.key);
        field = on ? (field | (1 << b.bit)) : (field & ~(1 << b.bit));
    }
    // The setup blocks add almost nothing, so the total leaves them out.
    if (b.key != Key::StateA) UpdateDataRate();
}

void RpyConfig::UpdateChecks() {
    for (int i = 0; i < kBoxes; ++i) {
        const Block& b = kBlocks[std::size_t(i)];
        const bool on =
            b.key == Key::PhysicsRate ? PhysicsRateChecked(values_) : (Field(values_, b.key) & (1 << b.bit)) != 0;
        boxes_[std::size_t(i)]->setChecked(on);
    }
}

void RpyConfig::UpdateDataRate() {
    total_->setText(QString::fromStdString(DataRateText(values_)));
}

void RpyConfig::accept() {
    const CoreIniEditor::WriteResult result = CoreIniEditor::Write(file_, values_);
    const std::string text = CoreIniEditor::Message(result);
    if (result.status == CoreIniEditor::Status::Ok && result.missingKeys.empty())
        prompts_.message(text, {}, Icon::Information, Buttons::Ok);
    else
        prompts_.alert(text);
    QDialog::accept();
}

}  // namespace vra
