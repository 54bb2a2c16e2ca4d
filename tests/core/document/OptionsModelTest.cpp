#include "core/document/OptionsModel.h"

#include "core/settings/SimFolderCheck.h"

#include "SimFolderFixture.h"

#include <gmock/gmock.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Options : public SimFolder {
protected:
    OptionsInput input(const std::string& folder) {
        OptionsInput in;
        in.switches = LoadOptions(*settings);
        in.simFolderText = folder;
        in.bitmapSizeText = "768";
        for (std::size_t i = 0; i < kEditedDamageCosts; ++i) in.costTexts[i] = std::to_string(100 + i);
        return in;
    }
    OptionsDecision decide(const OptionsInput& in) {
        return DecideOptions(in, prompts, [](std::string_view f) { return FindSimExecutable(f).has_value(); });
    }
    std::filesystem::path otherSim(const std::string& exeName) {
        const auto dir = root / "Other Sim";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / exeName) << "exe";
        return dir;
    }
    const std::string kMissing = std::string(kOptionsExecutableMissingText);
};

TEST_F(Options, AFolderHoldingTheExecutableInAnyCaseIsAccepted) {
    const auto other = otherSim("velmar.EXE");
    for (const std::string& folder : {root.string(), root.string() + "/", other.string() + "\\"}) {
        const auto d = decide(input(folder + "\r\nsecond line"));
        EXPECT_TRUE(d.accepted) << folder;
        EXPECT_EQ(d.values.simFolder, folder);
    }
    EXPECT_THAT(prompts.log(), IsEmpty());
}

TEST_F(Options, AMissingExecutableIsLocatedUntilFoundAndCancelKeepsTheDialogOpen) {
    const auto other = otherSim("VELMAR.EXE");
    prompts.openFileAnswer(root / "nothing" / "VELMAR.exe").openFileAnswer(other / "VELMAR.EXE");
    auto d = decide(input((root / "nowhere").string()));
    EXPECT_TRUE(d.accepted);
    EXPECT_EQ(d.values.simFolder, other.string());
    EXPECT_THAT(prompts.log(), ElementsAre("message: " + kMissing, "openFile: Locate VELMAR.exe",
                                           "message: " + kMissing, "openFile: Locate VELMAR.exe"));
    const auto& filters = prompts.openFileRequests()[0].filters;
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].label, "Velmar exe File (VELMAR.exe)");
    EXPECT_EQ(filters[1].pattern, "*.*");

    // An empty folder asks at once; cancelling refuses OK instead of asking forever.
    test::ScriptedPrompts cancelling;
    d = DecideOptions(input(""), cancelling, [](std::string_view) { return true; });
    EXPECT_FALSE(d.accepted);
    EXPECT_THAT(cancelling.log(), ElementsAre("openFile: Locate VELMAR.exe"));
}

TEST_F(Options, TypedValuesAreStoredAsTheSettingsExpectThem) {
    EXPECT_EQ(ParseBitmapSize(" 300"), 300);
    EXPECT_EQ(ParseBitmapSize("+1024px"), 1024);
    for (const char* bad : {"abc", "0", "-5", "99999999999999", "2147483648", ""})
        EXPECT_EQ(ParseBitmapSize(bad), 768) << bad;
    EXPECT_EQ(ParseBitmapSize("2147483647"), 2147483647);
    EXPECT_EQ(ParseDamageCost(" 250 "), 250u);
    EXPECT_EQ(ParseDamageCost("4294967295"), 4294967295u);
    for (const char* bad : {"", "abc", "-5", "12x", "4294967296"}) EXPECT_FALSE(ParseDamageCost(bad)) << bad;

    OptionsInput in = input(root.string());
    in.altReplayPathText = "";
    in.recordsPathText = std::string(300, 'r');
    in.costTexts[7] = "12x";
    auto d = decide(in);
    EXPECT_FALSE(d.accepted);
    EXPECT_EQ(d.refusedCost, 7);
    EXPECT_THAT(prompts.messages(), ElementsAre(std::string(kCostNotIntegerText)));
    in.costTexts[7] = "7";
    d = decide(in);
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.values.altReplayPath, "");
    EXPECT_EQ(d.values.recordsPath, std::string(300, 'r'));
    EXPECT_EQ(d.values.damageCosts[7], 7u);
    EXPECT_EQ(d.values.damageCosts[19], 119u);
}

TEST_F(Options, StoringWritesSettingsDocumentAndStoreButKeepsTheCostsItDoesNotEdit) {
    DamageCostTable table = kDefaultDamageCosts;
    table[20] = 4321;
    ASSERT_TRUE(settings->SaveDamageCosts(table));
    CRpyGraphDoc& d = document();
    OptionsValues v = LoadOptions(*settings);
    EXPECT_EQ(v.damageCosts[19], kDefaultDamageCosts[19]);
    v.speedUnit = 0;
    v.dontShowQualReport = 1;
    v.bmpSizeInPixel = 300;
    v.altReplayPath = "/alt";
    v.simFolder = root.string() + "/";
    v.damageCosts[0] = 9;
    ASSERT_TRUE(StoreOptions(v, *settings, &d, prompts));
    EXPECT_EQ(d.SpeedUnit(), 0);
    EXPECT_EQ(d.BMPSizeInPixel(), 300);
    EXPECT_EQ(d.AltReplayPath(), "/alt");
    EXPECT_EQ(d.SimFolder(), root.string() + "/");
    AppSettings reread(store);
    EXPECT_EQ(reread.Mph(), 0);
    EXPECT_EQ(reread.DontShowQualReport(), 1);
    EXPECT_EQ(reread.BMPSizeInPixel(), 300);
    const DamageCostTable stored = reread.LoadDamageCosts();
    EXPECT_EQ(stored[0], 9u);
    EXPECT_EQ(stored[19], kDefaultDamageCosts[19]);
    EXPECT_EQ(stored[20], 4321u);

    store.setReadOnly(true);
    EXPECT_FALSE(StoreOptions(v, *settings, &d, prompts));
    EXPECT_THAT(prompts.messages(),
                ElementsAre("The settings could not be saved.\nThe settings saved before are kept."));
}

}  // namespace
}  // namespace vra::testing
