#include "SimFolderFixture.h"

#include "decode/KtTrackFile.h"
#include "document/LapQualityReport.h"
#include "replay/Drivers.h"
#include "replay/GetRpyInfo.h"
#include "replay/Header.h"
#include "track/TrackPath.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kTrackMissingPrefix =
    "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\nMake sure Velmar "
    "Path is set correctly in File->Settings\n\nDetailed error message:\n";
constexpr const char* kTrackIniMissing =
    "Track.ini or entire track seems to be missing in the tracks directory: Speeds will be misreported in the "
    "reports!";

class AddLap : public SimFolder {
protected:
    void SetUp() override
    {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        auto b = replay("OVAL", oval.TotalLength());
        ovalReplay = write(b, "oval.rpy");
    }

    LapChoice raceLap(int driver = 0, int lap = 2) { return LapChoice{driver, 3, lap}; }

    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay;
};

TEST_F(AddLap, PathModeAddsTheChosenLapWithTrackTitleAndRecentEntry)
{
    prompts.lapAnswer(raceLap(1, 2));
    EXPECT_TRUE(document().OnOpenDocument(ovalReplay));

    // The quality box is off by default.
    EXPECT_THAT(prompts.messages(), IsEmpty());
    ASSERT_EQ(prompts.lapRequests().size(), 1u);
    EXPECT_EQ(prompts.lapRequests()[0].replayPath, ovalReplay);
    EXPECT_NEAR(prompts.lapRequests()[0].trackLengthMetres, oval.TotalLength(), 0.01);
    ASSERT_EQ(doc->LapCount(), 1);
    const LapSlot& slot = doc->Slot(0);
    EXPECT_EQ(slot.driver, 1);
    EXPECT_EQ(slot.session, 3);
    EXPECT_EQ(slot.lap, 2);
    EXPECT_EQ(doc->Title(), "OVAL");
    EXPECT_EQ(observer.titles.back(), "OVAL");
    EXPECT_THAT(observer.recent, ElementsAre(ovalReplay));
    ASSERT_TRUE(doc->TrackLoaded());
    EXPECT_NEAR(doc->GetTrackPath()->Length(), oval.TotalLength(), 1e-6);
    EXPECT_NEAR(doc->TrackLength(), oval.TotalLength(), 0.01);
    EXPECT_TRUE(doc->NeedsFullRedraw());
    EXPECT_EQ(std::ranges::count_if(waitBox.calls(), [](const std::string& c) { return c.starts_with("show"); }), 1);
    EXPECT_FALSE(waitBox.visible());
    EXPECT_TRUE(slot.info->channelsReady);
    EXPECT_GT(slot.info->speed[10], 0.0);
}

TEST_F(AddLap, InteractiveModeAsksForAReplayInTheReplayFolder)
{
    prompts.openFileAnswer(ovalReplay).lapAnswer(raceLap());
    document().OnAddReplayLap();
    ASSERT_EQ(prompts.openFileRequests().size(), 1u);
    const OpenFileRequest& request = prompts.openFileRequests()[0];
    EXPECT_EQ(request.title, "Select Replay File");
    EXPECT_EQ(request.initialFolder, root / "replay");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label + request.filters[0].pattern, "Replay files (*.rpy)*.rpy");
    EXPECT_EQ(request.filters[1].label + request.filters[1].pattern, "All Files(*.*)*.*");
    EXPECT_EQ(doc->LapCount(), 1);
}

TEST_F(AddLap, CancelledFileDialogOrChooserChangesNothing)
{
    prompts.openFileAnswer(std::nullopt);
    document().OnAddReplayLap();
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());

    prompts.openFileAnswer(ovalReplay).lapAnswer(std::nullopt);
    doc->OnAddReplayLap();
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_THAT(prompts.messages(), IsEmpty());
    EXPECT_EQ(doc->Title(), "No lap selected");
    EXPECT_THAT(observer.recent, IsEmpty());
    EXPECT_FALSE(doc->TrackLoaded());
}

TEST_F(AddLap, APromptThatThrowsLeavesTheSlotFree)
{
    struct ClosingChooser : test::ScriptedPrompts {
        std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { throw std::runtime_error("closed"); }
    } closing;
    CRpyGraphDoc d(*settings, closing, waitBox);
    EXPECT_THROW(d.OnOpenDocument(ovalReplay), std::runtime_error);
    EXPECT_EQ(d.LapCount(), 0);
    EXPECT_FALSE(d.IsSlotUsed(0));
    d.AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_EQ(d.LapCount(), 1);
    EXPECT_TRUE(d.IsSlotUsed(0));
}

TEST_F(AddLap, LapFinderModeTakesTheGivenLapWithoutAskingAndKeepsTheFirstLapsTrack)
{
    document().AddLapFromLapFinder(ovalReplay, 2, 3, 1);
    const TrackPath* first = doc->GetTrackPath();
    const int updates = observer.viewUpdates;
    doc->AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
    ASSERT_EQ(doc->LapCount(), 2);
    EXPECT_EQ(doc->Slot(0).driver, 2);
    EXPECT_EQ(doc->Slot(0).lap, 1);
    EXPECT_EQ(doc->Slot(1).lap, 2);
    EXPECT_EQ(doc->GetTrackPath(), first);
    EXPECT_EQ(observer.viewUpdates, updates);
}

TEST_F(AddLap, SixthLapIsRefusedBeforeAnyQuestionAndANewDocumentClearsThemAll)
{
    // Opening the same replay again gives another lap.
    for (int i = 0; i < 5; ++i)
        document().AddLapFromLapFinder(ovalReplay, i % 3, 3, 1 + i % 3);
    ASSERT_EQ(doc->LapCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(doc->Slot(i).plotter->ColourIndex(), i);
    doc->OnAddReplayLap();
    doc->OnOpenDocument(ovalReplay);
    EXPECT_THAT(prompts.log(), ElementsAre("message: Max number of laps already loaded!",
                                           "message: Max number of laps already loaded!"));
    EXPECT_EQ(doc->LapCount(), 5);

    doc->SetMapFitted(true);
    doc->SetFullRedraw(false);
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_FALSE(doc->IsSlotUsed(4));
    EXPECT_EQ(doc->Title(), "No lap selected");
    EXPECT_FALSE(doc->TrackLoaded());
    EXPECT_EQ(doc->GetTrackPath(), nullptr);
    EXPECT_FALSE(doc->MapFitted());
    EXPECT_TRUE(doc->NeedsFullRedraw());
    EXPECT_EQ(observer.clearings, 1);
    // A new first lap decodes the track again.
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_TRUE(doc->TrackLoaded());
}

TEST_F(AddLap, HeaderFailuresNameTheReplayKindThenThePath)
{
    auto orl = replay("OVAL", oval.TotalLength());
    orl.spec.header.fileWord = 2;
    auto kt = replay("OVAL", oval.TotalLength());
    kt.spec.header.fileWord = 3;
    const auto orlPath = write(orl, "orl.rpy");
    const auto ktPath = write(kt, "kt.rpy");
    const auto garbage = root / "replay" / "garbage.rpy";
    std::ofstream(garbage) << "not a replay";

    document().OnOpenDocument(orlPath);
    doc->OnOpenDocument(ktPath);
    doc->OnOpenDocument(garbage);
    doc->OnOpenDocument(root / "replay" / "absent.rpy");
    EXPECT_THAT(prompts.messages(),
                ElementsAre("HeaderClass: Orl replays not supported!", orlPath.string(),
                            "HeaderClass: Kt/QUOLN replays not supported!", ktPath.string(),
                            "HeaderClass: Error reading file!", garbage.string(),
                            "HeaderClass: Error reading file!", (root / "replay" / "absent.rpy").string()));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
}

TEST_F(AddLap, AnotherTrackIsRefused)
{
    auto other = replay("ROAD", 1000.0);
    const auto otherPath = write(other, "road.rpy");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(otherPath, 0, 3, 1);
    EXPECT_THAT(prompts.messages(), ElementsAre("This file is not from the same track!"));
    EXPECT_EQ(doc->LapCount(), 1);
}

TEST_F(AddLap, UnreadableDriverTableGivesTheSlotBack)
{
    auto b = replay("OVAL", oval.TotalLength());
    std::vector<std::uint8_t> bytes = b.build();
    bytes.resize(static_cast<std::size_t>(b.layout().driverTable + 20));
    const auto cut = root / "replay" / "cut.rpy";
    std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
    prompts.lapAnswer(raceLap());
    document().OnOpenDocument(cut);
    EXPECT_THAT(prompts.messages(), ElementsAre("DriversClass: Error reading file!"));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
}

TEST_F(AddLap, FailedExtractionKeepsTrackAndRecentEntryButNotTheTitle)
{
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 99);
    EXPECT_THAT(prompts.messages(), ElementsAre("RpyDataClass: Error reading file!"));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_TRUE(doc->TrackLoaded());
    EXPECT_THAT(observer.recent, ElementsAre(ovalReplay));
    EXPECT_EQ(doc->Title(), "No lap selected");
    EXPECT_FALSE(waitBox.visible());

    // With a lap left the title keeps its track.
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(ovalReplay, 7, 3, 1);
    EXPECT_EQ(doc->LapCount(), 1);
    EXPECT_EQ(doc->Title(), "OVAL");
}

TEST_F(AddLap, MissingTrackStillAddsTheLapWithTheMessage)
{
    auto b = replay("NOWHERE", 1500.0);
    const auto path = write(b, "nowhere.rpy");
    prompts.lapAnswer(raceLap());
    document().OnOpenDocument(path);
    // track.ini is looked for before the chooser and again after the track.
    EXPECT_THAT(prompts.messages(), ElementsAre(kTrackIniMissing, std::string(kTrackMissingPrefix) +
                                                                      "Error: cannot open track file",
                                                kTrackIniMissing));
    EXPECT_EQ(doc->LapCount(), 1);
    EXPECT_FALSE(doc->TrackLoaded());
    EXPECT_EQ(doc->GetTrackPath(), nullptr);
    EXPECT_EQ(doc->Title(), "NOWHERE");
    EXPECT_EQ(doc->TrackLength(), 0.0);
    EXPECT_DOUBLE_EQ(doc->TrackDistanceUnit(), 1.0 / 1024.0);
    ASSERT_TRUE(doc->Slot(0).plotter);
    EXPECT_EQ(doc->Slot(0).info->speed[10], 0.0);
}

TEST_F(AddLap, QualityReportCountsAHoleInTheCarsRecords)
{
    // Two seconds (72 frames) of lap 2 of car 1 without the other cars' records.
    auto b = replay("OVAL", oval.TotalLength());
    const double holeStart =
        static_cast<double>(simkit::ReplayBuilder::LapStartMs(b.spec.sessions[0].cars[1], 2)) + 10000.0;
    b.spec.frameHook = [holeStart](simkit::FrameContext& ctx) {
        if (ctx.sessionMs >= holeStart && ctx.sessionMs < holeStart + 72 * 1000.0 / 36.0 - 1.0)
            std::erase_if(ctx.records, [](const simkit::FrameRecord& r) { return r.type == 3; });
    };
    const auto path = write(b, "hole.rpy");
    settings->SetDontShowQualReport(0);
    document().AddLapFromLapFinder(path, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].icon, Icon::Information);
    // About 1450 samples with 72 missing: 95 %.
    EXPECT_EQ(prompts.shown()[0].text, "Online quality of lapdata: 95%\nLargest online gap: 2 seconds"
                    "\n\nIf you don't wish to see this report - \nturn it off in File->Settings");
    EXPECT_EQ(doc->Slot(0).info->missingCount, 72);
}

TEST_F(AddLap, LapDrivenInItsStoredTimePassesTheLapTimeCheck)
{
    // Car id 0 equals the saving player's index, so the check compares.
    auto b = replay("OVAL", oval.TotalLength());
    b.spec.drivers[0].carId = 0;
    const auto path = write(b, "own.rpy");
    document().AddLapFromLapFinder(path, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    EXPECT_THAT(prompts.messages(), IsEmpty());
    // The check did run: the distances give the builder's lap time.
    const GetRpyInfo& lap = *doc->Slot(0).info;
    const LapTimeCheckInput in{lap.distance, lap.distanceStepStart, lap.distanceStepEnd, lap.sampleCount,
                               oval.TotalLength()};
    EXPECT_NEAR(static_cast<double>(CalculatedLapTimeMs(in).value_or(0)), kLapMs, 30.0);
}

TEST_F(AddLap, LockedWheelsOfTheSavingPlayersLapOnly)
{
    // The builder's wheels never turn: every wheel of the saving player's lap
    // counts as locked at speed; other cars' wheels are not recorded.
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    doc->AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    const auto& own = doc->Slot(0).lockedWheels;
    const auto& other = doc->Slot(1).lockedWheels;
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(own[w].at(100), 1.0);
        EXPECT_EQ(other[w].at(100), 0.0);
    }

    doc->OnNewDocument();
    auto turning = replay("OVAL", oval.TotalLength());
    turning.spec.fullHook = [](const simkit::FrameContext& ctx, simkit::FullRecordFields& f) {
        for (auto& r : f.wheelRotation)
            r = static_cast<std::uint32_t>(ctx.frameNumber % 1000);
    };
    doc->AddLapFromLapFinder(write(turning, "turning.rpy"), 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(doc->Slot(0).lockedWheels[w].at(100), 0.0);
}

TEST_F(AddLap, PhysicsWarningOncePerSetOfLaps)
{
    auto truck = replay("OVAL", oval.TotalLength());
    truck.spec.drivers[0].physics = 3;
    const auto truckPath = write(truck, "truck.rpy");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(truckPath, 0, 3, 1);
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    doc->AddLapFromLapFinder(truckPath, 0, 3, 2);
    const std::string warning = "Please note that you have now loaded\r\nlaps using different physics.";
    EXPECT_THAT(prompts.messages(), ElementsAre(warning));
    EXPECT_TRUE(doc->PhysicsWarningShown());

    doc->OnNewDocument();
    EXPECT_FALSE(doc->PhysicsWarningShown());
    doc->AddLapFromLapFinder(truckPath, 0, 3, 1);
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_THAT(prompts.messages(), ElementsAre(warning, warning));
}

}  // namespace
}  // namespace vra::testing
