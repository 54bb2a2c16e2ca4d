#include "gui/platform/QtSettingsStore.h"

#include "core/base/FileUtil.h"
#include "core/document/OptionsModel.h"
#include "core/settings/AppSettings.h"
#include "gui/platform/Cp1252.h"

#include "support/FileSizeLimit.h"
#include "support/platform/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <sys/inotify.h>
#include <unistd.h>

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

TEST_F(QtSettings, QtsOwnReaderReadsBackWhatTheStoreWrote) {
    // Texts the file's syntax gives a meaning to, Windows-1252 bytes, an
    // escaped byte followed by hex digits, and every byte value.
    const std::vector<std::string> texts = {"a, b; c",
                                            "  spaced  ",
                                            "\"quoted\"",
                                            "back\\slash\\",
                                            "@at",
                                            "@ByteArray(not bytes)",
                                            "tab\there\r\nnext line",
                                            "caf\xE9"
                                            "1f",
                                            "=[General]#x",
                                            "",
                                            std::string("nul\0byte", 8),
                                            "\x80\x9F\xFF"};
    std::vector<std::uint8_t> allBytes(256);
    for (std::size_t i = 0; i < allBytes.size(); ++i) allBytes[i] = static_cast<std::uint8_t>(i);
    const QString path = store_.iniPath(SettingsKey::Program, SettingsScope::User);
    {
        // Left by an earlier version or by hand: kept as they are.
        QSettings earlier(path, QSettings::IniFormat);
        earlier.setValue("Window/geometry", QRect(1, 2, 3, 4));
        earlier.setValue("General/x", "a group named General");
        earlier.setValue("topLevel", QStringList{"one", "two, three"});
        earlier.setValue(QString::fromUtf8("Settings/odd key/\xC3\xBC"), "odd");
    }
    QtSettingsStore store(dir_.path());
    std::vector<SettingsChange> changes;
    for (std::size_t i = 0; i < texts.size(); ++i) changes.push_back({"Text" + std::to_string(i), texts[i]});
    changes.push_back({"Bytes", allBytes});
    changes.push_back({"Number", std::numeric_limits<std::int32_t>::min()});
    ASSERT_TRUE(store.apply(SettingsKey::Program, changes));

    const QSettings qt(path, QSettings::IniFormat);
    QtSettingsStore again(dir_.path());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string name = "Text" + std::to_string(i);
        EXPECT_EQ(qt.value(QString::fromStdString("Settings/" + name)).toString(), Cp1252ToQString(texts[i])) << i;
        EXPECT_EQ(again.readString(SettingsKey::Program, name), texts[i]) << i;
    }
    EXPECT_EQ(again.readBinary(SettingsKey::Program, "Bytes"), allBytes);
    EXPECT_EQ(again.readInt(SettingsKey::Program, "Number"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(qt.value("Window/geometry").toRect(), QRect(1, 2, 3, 4));
    EXPECT_EQ(qt.value("General/x").toString(), "a group named General");
    EXPECT_EQ(qt.value("topLevel").toStringList(), (QStringList{"one", "two, three"}));
    EXPECT_EQ(qt.value(QString::fromUtf8("Settings/odd key/\xC3\xBC")).toString(), "odd");
}

TEST_F(QtSettings, ASaveWritesTheFileOnceAndOnlyWhenSomethingChanged) {
    AppSettings s(store_);
    ASSERT_TRUE(s.Save());
    const QFileInfo file(store_.iniPath(SettingsKey::Program, SettingsScope::User));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(file.absolutePath()).constData(), IN_MOVED_TO), 0);
    auto replacements = [&] {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;
                 p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
                count += QFile::decodeName(reinterpret_cast<inotify_event*>(p)->name) == file.fileName();
        return count;
    };

    s.SetMph(0);
    s.SetRecordsPath("/records");
    s.SetDefaultPlayerIndex(3);
    ASSERT_TRUE(s.Save());
    EXPECT_EQ(replacements(), 1);
    ASSERT_TRUE(s.Save());
    EXPECT_EQ(replacements(), 0) << "nothing changed";
    ::close(watch);
}

TEST_F(QtSettings, AFullDiskKeepsTheSettingsSavedBefore) {
    const QString path = store_.iniPath(SettingsKey::Program, SettingsScope::User);
    AppSettings s(store_);
    s.SetMph(0);
    s.SetRecordsPath("/records");
    s.SetBMPSizeInPixel(1024);
    ASSERT_TRUE(s.Save());
    ASSERT_TRUE(store_.writeString(SettingsKey::Program, "File1", "/replays/last.rpy"));
    const auto before = ReadWholeFile(QFile::encodeName(path).toStdString(), 1 << 20);
    ASSERT_TRUE(before);

    s.SetMph(1);
    s.SetRecordsPath("/elsewhere/" + std::string(4000, 'r'));
    {
        // Room for a page less than the new file needs.
        vra::test::FileSizeLimit diskFull(before->size() + 100);
        ASSERT_TRUE(diskFull.active());
        EXPECT_FALSE(s.Save());
    }
    EXPECT_EQ(s.LastSaveError(), std::make_error_code(std::errc::file_too_large).message());
    EXPECT_EQ(ReadWholeFile(QFile::encodeName(path).toStdString(), 1 << 20), before);
    EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files), QStringList{QFileInfo(path).fileName()})
        << "no temporary file is left";

    QtSettingsStore again(dir_.path());
    AppSettings reread(again);
    EXPECT_EQ(reread.Mph(), 0);
    EXPECT_EQ(reread.RecordsPath(), "/records");
    EXPECT_EQ(reread.BMPSizeInPixel(), 1024);
    EXPECT_EQ(again.readString(SettingsKey::Program, "File1"), "/replays/last.rpy");

    // With room again, the same save goes through.
    EXPECT_TRUE(s.Save());
    QtSettingsStore third(dir_.path());
    EXPECT_EQ(AppSettings(third).Mph(), 1);
}

TEST_F(QtSettings, ASaveThatCannotWriteOneKeyKeepsBothKeysAsSavedBefore) {
    const QString simPath = store_.iniPath(SettingsKey::Simulation, SettingsScope::User);
    const QString programPath = store_.iniPath(SettingsKey::Program, SettingsScope::User);
    auto bytes = [](const QString& path) { return ReadWholeFile(QFile::encodeName(path).toStdString(), 1 << 20); };
    AppSettings s(store_);
    test::ScriptedPrompts prompts;
    OptionsValues v;
    v.simFolder = "/home/me/velmar";
    v.recordsPath = "/records";
    ASSERT_TRUE(StoreOptions(v, s, nullptr, prompts));
    const auto simBefore = bytes(simPath);
    const auto programBefore = bytes(programPath);
    ASSERT_TRUE(simBefore && programBefore);

    // The simulation's small file fits on the disk, the program's grown file
    // does not.
    v.simFolder = "/elsewhere/velmar";
    v.recordsPath = "/elsewhere/" + std::string(4000, 'r');
    {
        vra::test::FileSizeLimit diskFull(programBefore->size() + 100);
        ASSERT_TRUE(diskFull.active());
        EXPECT_FALSE(StoreOptions(v, s, nullptr, prompts));
    }
    EXPECT_THAT(prompts.messages(),
                testing::ElementsAre(SettingsNotSavedText(std::make_error_code(std::errc::file_too_large).message())));
    EXPECT_EQ(bytes(simPath), simBefore);
    EXPECT_EQ(bytes(programPath), programBefore);
    for (const QString& path : {simPath, programPath})
        EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files), QStringList{QFileInfo(path).fileName()})
            << "no temporary file is left";

    // With room again, one save writes both.
    ASSERT_TRUE(StoreOptions(v, s, nullptr, prompts));
    QtSettingsStore again(dir_.path());
    AppSettings reread(again);
    EXPECT_EQ(reread.SimFolder(), "/elsewhere/velmar");
    EXPECT_EQ(reread.RecordsPath(), v.recordsPath);
    EXPECT_EQ(prompts.messages().size(), 1u);
}
