// The report commands over the document and scripted prompts: which replay a
// report gets, and every refusal by its message sequence.
#include "core/reports/ReportFlows.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/document/LoadedLapChoice.h"
#include "core/document/SimFolderFixture.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kNoLap = "No replay lap loaded!";
constexpr const char* kReportOnly = "Do you wish to choose a replay file to be used in the report only?";

class Flows : public testing::SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        std::filesystem::rename(root / "replay", root / "Replay");
        writeTrack("oval", oval);
        auto b = replay("OVAL", oval.TotalLength());
        ovalReplay = write(b, "oval.rpy");
    }
    std::filesystem::path write(simkit::ReplayBuilder& b, const std::string& name) {
        const auto path = root / "Replay" / name;
        EXPECT_TRUE(b.writeFile(path));
        return path;
    }

    ReportFlows flows() {
        return ReportFlows(
            document(), prompts, [this] { return ChooseLoadedLap(*doc, prompts); },
            [this](Report& r) {
                shown.push_back({r.kind, r.header ? r.header->path : std::filesystem::path(), r.Text()});
            });
    }

    struct Shown {
        int kind;
        std::filesystem::path replay;
        std::string text;
    };
    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay;
    std::vector<Shown> shown;
};

TEST_F(Flows, WithoutALapAReplayMayBeChosenForTheReportOnly) {
    const std::string folderBefore = document().SimFolder();
    prompts.answer(Button::Ok).answer(Button::No);
    flows().Run(ReportKind::Race);
    EXPECT_THAT(prompts.messages(), ElementsAre(kNoLap, kReportOnly));

    prompts.answer(Button::Ok).answer(Button::Yes).openFileAnswer(std::nullopt);
    flows().Run(ReportKind::Race);
    ASSERT_EQ(prompts.openFileRequests().size(), 1u);
    EXPECT_EQ(prompts.openFileRequests()[0].title, "Select Replay File");
    EXPECT_EQ(prompts.openFileRequests()[0].initialFolder, root / "Replay");
    EXPECT_EQ(prompts.openFileRequests()[0].filters[0].label, "Replay files (*.rpy)");
    EXPECT_EQ(doc->SimFolder(), folderBefore);
    EXPECT_THAT(shown, IsEmpty());

    prompts.answer(Button::Ok).answer(Button::Yes).openFileAnswer(ovalReplay);
    flows().Run(ReportKind::LapChart);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ReportKind::LapChart);
    EXPECT_EQ(shown[0].replay, ovalReplay);
    EXPECT_THAT(shown[0].text, HasSubstr("Lap 3: 1 2 3\r\n"));
    EXPECT_EQ(doc->SimFolder(), folderBefore);
}

TEST_F(Flows, AReplayThatCannotBeReadIsToldAndNoReportShown) {
    std::ofstream(root / "Replay" / "bad.rpy", std::ios::binary) << "bad";
    prompts.answer(Button::Ok).answer(Button::Yes).openFileAnswer(root / "Replay" / "bad.rpy");
    flows().Run(ReportKind::Qualifying);
    EXPECT_THAT(prompts.messages(), ElementsAre(kNoLap, kReportOnly, "HeaderClass: Error reading file!",
                                                (root / "Replay" / "bad.rpy").string()));
    EXPECT_EQ(prompts.shown().back().parts, ShownText().FileName(root / "Replay" / "bad.rpy"));

    simkit::ReplayBuilder crowded;
    crowded.drivers(50).session(3, 1, 30000);
    const auto crowdedPath = write(crowded, "crowded.rpy");
    Drivers probe;
    ASSERT_NE(probe.Load(crowdedPath), Drivers::LoadResult::Ok);
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Ok).answer(Button::Yes).openFileAnswer(crowdedPath);
    flows().Run(ReportKind::Mechanical);
    EXPECT_THAT(prompts.messages(),
                ElementsAre(kNoLap, kReportOnly, probe.Message(), "DriversClass: Error reading file!"));

    // A replay without a race, where a tool needs one.
    simkit::ReplayBuilder practice;
    practice.drivers(2).session(0, 1, 30000);
    const auto practicePath = write(practice, "practice.rpy");
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Ok).answer(Button::Yes).openFileAnswer(practicePath);
    bool ran = false;
    flows().LapOrFile([&](const Header&, const Drivers&) { ran = true; }, true);
    EXPECT_THAT(prompts.messages(), ElementsAre(kNoLap, kReportOnly, "This replay file does not contain race info!"));
    EXPECT_FALSE(ran);
    EXPECT_THAT(shown, IsEmpty());
}

TEST_F(Flows, LoadedLapsAreUsedAndTheOtherVariantsRefuseWithoutOne) {
    flows().Run(ReportKind::DetailedRace);
    EXPECT_THAT(prompts.messages(), ElementsAre(kNoLap, "This report cannot be run unless you have loaded a lap."));
    prompts = test::ScriptedPrompts();
    flows().Run(ReportKind::Speed);
    flows().Run(ReportKind::CarFile);
    flows().Run(ReportKind::Ratings);
    EXPECT_THAT(prompts.messages(), ElementsAre(kNoLap, kNoLap, kNoLap));
    EXPECT_THAT(shown, IsEmpty());

    prompts = test::ScriptedPrompts();
    doc->AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    flows().Run(ReportKind::Ratings);
    flows().Run(ReportKind::DetailedRace);
    flows().Run(ReportKind::Speed);
    EXPECT_THAT(prompts.log(), IsEmpty());
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].replay, ovalReplay);
    EXPECT_EQ(shown[1].replay, ovalReplay);
    EXPECT_EQ(shown[2].replay, std::filesystem::path());
    EXPECT_THAT(shown[2].text, HasSubstr("Lap 1: Driver1 Racer1, Race lap 2\r\n"));

    // Two laps: the user picks one; cancelling ends there.
    doc->AddLapFromLapFinder(ovalReplay, 2, 3, 1);
    prompts.loadedLapAnswer(-1).answer(Button::No);
    flows().Run(ReportKind::Race);
    EXPECT_THAT(prompts.messages(), ElementsAre(kReportOnly));
    EXPECT_EQ(shown.size(), 3u);
}

}  // namespace
}  // namespace vra
