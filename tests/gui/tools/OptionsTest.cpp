#include "gui/tools/Options.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/settings/AppSettings.h"

#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace vra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(scratch.path() / "velmar.exe") << "exe";
        settings.SetSimFolder(scratch.path().string());
        settings.SetMph(0);
        settings.SetDontShowQualReport(0);
        settings.SetBMPSizeInPixel(300);
        settings.SetAltReplayPath("/alt/replays");
        DamageCostTable costs = kDefaultDamageCosts;
        costs[19] = 77;
        costs[20] = 88;
        settings.SaveDamageCosts(costs);
        doc = std::make_unique<CRpyGraphDoc>(settings, prompts, waitBox);
    }
    template <class T>
    T* child(QDialog& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void pressOk(QDialog& d) { d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

    const test::ScratchDir scratch{"options"};
    test::MemorySettingsStore store;
    AppSettings settings{store};
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    std::unique_ptr<CRpyGraphDoc> doc;
};

TEST_F(OptionsDialog, ShowsTheStoredValuesWithTheCostHeadingsInTheSecondLapColour) {
    Options dialog(settings, doc.get(), prompts);
    EXPECT_TRUE(child<QRadioButton>(dialog, "kph")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(dialog, "mph")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "qualityReport")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dialog, "bitmapSize")->text(), QStringLiteral("300"));
    EXPECT_EQ(child<QLineEdit>(dialog, "altReplayPath")->text(), QStringLiteral("/alt/replays"));
    EXPECT_EQ(child<QLineEdit>(dialog, "cost5")->text(), QString::number(kDefaultDamageCosts[5]));
    EXPECT_FALSE(child<QLineEdit>(dialog, "cost19")->isVisibleTo(&dialog));
    const Rgb c = CRpyGraphDoc::Palette()[1];
    for (const char* name : {"bodywork", "otherDamages"})
        EXPECT_EQ(child<QLabel>(dialog, name)->palette().color(QPalette::WindowText), QColor(c.red, c.green, c.blue));
}

TEST_F(OptionsDialog, OkStoresEverythingAndABadCostKeepsTheDialogOpen) {
    Options dialog(settings, doc.get(), prompts);
    dialog.show();
    child<QRadioButton>(dialog, "mph")->setChecked(true);
    child<QCheckBox>(dialog, "qualityReport")->setChecked(false);
    child<QLineEdit>(dialog, "bitmapSize")->setText(QStringLiteral("-5"));
    child<QLineEdit>(dialog, "altReplayPath")->clear();
    child<QLineEdit>(dialog, "cost3")->setText(QStringLiteral("abc"));
    pressOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_THAT(prompts.messages(), ElementsAre(std::string(kCostNotIntegerText)));
    EXPECT_EQ(settings.Mph(), 0);
    EXPECT_EQ(doc->SpeedUnit(), 0);

    child<QLineEdit>(dialog, "cost3")->setText(QStringLiteral("333"));
    pressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    AppSettings stored(store);
    EXPECT_EQ(stored.Mph(), 1);
    EXPECT_EQ(stored.DontShowQualReport(), 1);
    EXPECT_EQ(stored.BMPSizeInPixel(), 768);
    EXPECT_EQ(stored.AltReplayPath(), "");
    const DamageCostTable costs = stored.LoadDamageCosts();
    EXPECT_EQ(costs[3], 333u);
    EXPECT_EQ(costs[19], 77u);
    EXPECT_EQ(costs[20], 88u);
    EXPECT_EQ(doc->SpeedUnit(), 1);
    EXPECT_EQ(doc->BMPSizeInPixel(), 768);
}

TEST_F(OptionsDialog, CancelWritesNothing) {
    Options dialog(settings, doc.get(), prompts);
    dialog.show();
    child<QRadioButton>(dialog, "mph")->setChecked(true);
    child<QLineEdit>(dialog, "bitmapSize")->setText(QStringLiteral("1000"));
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(settings.Mph(), 0);
    EXPECT_EQ(doc->BMPSizeInPixel(), 300);
    EXPECT_THAT(prompts.log(), IsEmpty());
}

}  // namespace
}  // namespace vra
