#include "SimFolderFixture.h"

#include <gmock/gmock.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Document : public SimFolder {};

TEST_F(Document, StartsEmptyWithTheSettingsCopies) {
    settings->SetMph(0);
    settings->SetAltReplayPath(std::string(300, 'a'));
    settings->SetDefaultPlayerIndex(4);
    settings->SetDefaultPhysics(2);
    CRpyGraphDoc& d = document();
    EXPECT_THAT(prompts.log(), IsEmpty());
    EXPECT_EQ(d.LapCount(), 0);
    EXPECT_EQ(d.Title(), "No lap selected");
    EXPECT_EQ(d.SpeedUnit(), 0);
    EXPECT_EQ(d.AltReplayPath(), std::string(300, 'a'));
    EXPECT_EQ(d.SimFolder(), root.string());
    EXPECT_EQ(d.DefaultPlayer(), 4);
    EXPECT_EQ(d.DefaultPhysics(), 2);
    EXPECT_DOUBLE_EQ(d.TrackDistanceUnit(), 1.0 / 1024.0);
}

TEST_F(Document, MissingSimulationAsksForTheFolderInTheSettingsDialog) {
    settings->SetSimFolder((root / "elsewhere").string());
    CRpyGraphDoc* seen = nullptr;
    prompts.settingsAnswer([&](const SettingsDialogRequest& r) {
        seen = r.document;
        return SettingsDialogResult{};
    });
    document();
    EXPECT_THAT(prompts.log(), ElementsAre("message: Unable to find the file Velmar.exe in the specified "
                                           "VELMR-directory.\nPlease choose a valid Velmar directory.",
                                           "editSettings"));
    EXPECT_EQ(seen, doc.get());
}

TEST_F(Document, WritesDefaultPlayerAndPhysicsBackWhenItEnds) {
    document().SetDefaultPlayer(6);
    doc->SetDefaultPhysics(3);
    doc.reset();
    AppSettings reread(store);
    EXPECT_EQ(reread.DefaultPlayerIndex(), 6);
    EXPECT_EQ(reread.DefaultPhysics(), 3);
}

TEST_F(Document, TellsTheUserWhenTheSettingsCannotBeSaved) {
    document().SetDefaultPlayer(6);
    store.setReadOnly(true);
    doc.reset();
    EXPECT_THAT(prompts.messages(),
                ElementsAre("The settings could not be saved.\nThe settings saved before are kept."));
    EXPECT_EQ(AppSettings(store).DefaultPlayerIndex(), -1);
}

}  // namespace
}  // namespace vra::testing
