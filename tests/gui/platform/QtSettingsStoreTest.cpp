#include "gui/platform/QtSettingsStore.h"

#include "core/settings/AppSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vra;

namespace {

class QtSettings : public testing::Test {
protected:
    QTemporaryDir dir_;
    QtSettingsStore store_{dir_.path()};
};

}  // namespace

TEST_F(QtSettings, EveryKindOfValueSurvivesARoundTripThroughTheFiles) {
    // A long path with a Windows-1252 byte, an empty text, a negative number
    // and the binary damage-cost table.
    const std::string longPath = "/data/" + std::string(300, 'x') + "/caf\xE9";
    DamageCostTable costs{};
    for (std::size_t i = 0; i < costs.size(); ++i) costs[i] = 1000 * static_cast<std::uint32_t>(i) + 7;
    {
        AppSettings s(store_);
        s.SetDefaultPlayerIndex(-1);
        s.SetAltReplayPath(longPath);
        s.SetRecordsPath("");
        ASSERT_TRUE(s.Save());
        ASSERT_TRUE(s.SaveDamageCosts(costs));
    }
    QtSettingsStore again(dir_.path());
    AppSettings s(again);
    EXPECT_EQ(s.DefaultPlayerIndex(), -1);
    EXPECT_EQ(s.AltReplayPath(), longPath);
    EXPECT_EQ(s.RecordsPath(), "");
    EXPECT_EQ(s.LoadDamageCosts(), costs);
}

TEST_F(QtSettings, TheSimulationsMachineWideFolderIsReadButNeverWritten) {
    const QString systemIni = store_.iniPath(SettingsKey::Simulation, SettingsScope::System);
    {
        QSettings sys(systemIni, QSettings::IniFormat);
        sys.setValue("Directory", "/opt/velmar");
    }
    AppSettings s(store_);
    EXPECT_EQ(s.SimFolder(), "/opt/velmar");
    s.SetSimFolder("/home/me/velmar");
    ASSERT_TRUE(s.Save());

    EXPECT_EQ(QSettings(systemIni, QSettings::IniFormat).value("Directory").toString(), "/opt/velmar");
    EXPECT_EQ(AppSettings(store_).SimFolder(), "/home/me/velmar");
}

TEST_F(QtSettings, KindsAreKeptOrConvertedFromText) {
    ASSERT_TRUE(store_.writeInt(SettingsKey::Program, "MPH", -5));
    ASSERT_TRUE(store_.writeString(SettingsKey::Program, "RecordsPath", "@odd text"));
    const std::uint8_t blob[] = {0, 1, 0xFF, '\n'};
    ASSERT_TRUE(store_.writeBinary(SettingsKey::Program, "DamageCost", blob));

    QtSettingsStore again(dir_.path());
    EXPECT_EQ(again.readInt(SettingsKey::Program, "MPH"), -5);
    EXPECT_EQ(again.readString(SettingsKey::Program, "RecordsPath"), "@odd text");
    EXPECT_EQ(again.readBinary(SettingsKey::Program, "DamageCost"), (std::vector<std::uint8_t>{0, 1, 0xFF, '\n'}));
    EXPECT_FALSE(again.readInt(SettingsKey::Program, "RecordsPath"));
    EXPECT_FALSE(again.readBinary(SettingsKey::Program, "RecordsPath"));
    EXPECT_FALSE(again.readInt(SettingsKey::Program, "Missing"));

    EXPECT_TRUE(again.remove(SettingsKey::Program, "MPH"));
    EXPECT_FALSE(QtSettingsStore(dir_.path()).contains(SettingsKey::Program, "MPH"));
}

TEST_F(QtSettings, AHandEditedNumberReadsAsANumber) {
    {
        QSettings program(store_.iniPath(SettingsKey::Program, SettingsScope::User), QSettings::IniFormat);
        program.setValue("Settings/BMPSizeInPixel", " 1024 ");
        program.setValue("Settings/MPH", "yes");
    }
    AppSettings s(store_);
    EXPECT_EQ(s.BMPSizeInPixel(), 1024);
    EXPECT_EQ(s.Mph(), 1) << "not a number: the default";
}
