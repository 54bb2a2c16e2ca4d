#include "core/document/LapQualityReport.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include "SimFolderFixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <tuple>

namespace vra::testing {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr const char* kTrackMissingPrefix =
    "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\nMake sure Velmar "
    "Path is set correctly in File->Settings\n\nDetailed error message:\n";
constexpr const char* kTrackIniMissing =
    "Track.ini or entire track seems to be missing in the tracks directory: Speeds will be misreported in the "
    "reports!";

class AddLap : public SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        ovalReplay = writeWith("oval.rpy", [](auto&) {});
    }

    // An oval replay with one tweak of its description.
    template <class Tweak>
    std::filesystem::path writeWith(const std::string& name, Tweak tweak) {
        auto b = replay("OVAL", oval.TotalLength());
        tweak(b);
        return write(b, name);
    }

    LapChoice raceLap(int driver = 0, int lap = 2) { return LapChoice{driver, 3, lap}; }
    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay;
};

TEST_F(AddLap, PathModeAddsTheChosenLapWithTrackTitleAndRecentEntry) {
    prompts.lapAnswer(raceLap(1, 2));
    EXPECT_TRUE(document().OnOpenDocument(ovalReplay));
    // The quality box is off by default.
    EXPECT_THAT(prompts.messages(), IsEmpty());
    ASSERT_EQ(prompts.lapRequests().size(), 1u);
    EXPECT_EQ(prompts.lapRequests()[0].replayPath, ovalReplay);
    EXPECT_NEAR(prompts.lapRequests()[0].trackLengthMetres, oval.TotalLength(), 0.01);
    ASSERT_EQ(doc->LapCount(), 1);
    const LapSlot& slot = doc->Slot(0);
    EXPECT_EQ(std::tuple(slot.driver, slot.session, slot.lap), std::tuple(1, 3, 2));
    EXPECT_EQ(doc->Title(), "OVAL");
    EXPECT_EQ(observer.titles.back(), "OVAL");
    EXPECT_THAT(observer.recent, ElementsAre(ovalReplay));
    ASSERT_TRUE(doc->TrackLoaded());
    EXPECT_NEAR(doc->TrackLength(), oval.TotalLength(), 0.01);
    EXPECT_TRUE(doc->NeedsFullRedraw());
    EXPECT_EQ(std::ranges::count_if(waitBox.calls(), [](const std::string& c) { return c.starts_with("show"); }), 1);
    EXPECT_FALSE(waitBox.visible());
    EXPECT_GT(slot.info->speed[10], 0.0);
}

TEST_F(AddLap, InteractiveModeAsksForAReplayInTheReplayFolderAndACancelChangesNothing) {
    prompts.openFileAnswer(std::nullopt);
    document().OnAddReplayLap();
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
    prompts.openFileAnswer(ovalReplay).lapAnswer(std::nullopt);
    doc->OnAddReplayLap();
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_THAT(prompts.messages(), IsEmpty());
    EXPECT_EQ(doc->Title(), "No lap selected");
    EXPECT_THAT(observer.recent, IsEmpty());
    prompts.openFileAnswer(ovalReplay).lapAnswer(raceLap());
    doc->OnAddReplayLap();
    EXPECT_EQ(doc->LapCount(), 1);
    ASSERT_EQ(prompts.openFileRequests().size(), 3u);
    for (const OpenFileRequest& request : prompts.openFileRequests())
        EXPECT_EQ(std::tuple(request.title, request.initialFolder), std::tuple("Select Replay File", root / "replay"));
}

TEST_F(AddLap, LapFinderModeTakesTheGivenLapsWithoutAskingUpToFiveAndANewDocumentClearsThemAll) {
    document().AddLapFromLapFinder(ovalReplay, 2, 3, 1);
    const TrackPath* first = doc->GetTrackPath();
    const int updates = observer.viewUpdates;
    // Opening the same replay again gives another lap.
    for (int i = 1; i < 5; ++i) doc->AddLapFromLapFinder(ovalReplay, i % 3, 3, 1 + i % 3);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
    ASSERT_EQ(doc->LapCount(), 5);
    EXPECT_EQ(std::tuple(doc->Slot(0).driver, doc->Slot(0).lap, doc->Slot(1).lap), std::tuple(2, 1, 2));
    EXPECT_EQ(doc->GetTrackPath(), first);
    EXPECT_EQ(observer.viewUpdates, updates);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(doc->Slot(i).plotter->ColourIndex(), i);
    // A sixth lap is refused before any question.
    doc->OnAddReplayLap();
    doc->OnOpenDocument(ovalReplay);
    EXPECT_THAT(prompts.log(), ElementsAre("message: Max number of laps already loaded!",
                                           "message: Max number of laps already loaded!"));
    EXPECT_EQ(doc->LapCount(), 5);
    doc->SetMapFitted(true);
    doc->SetFullRedraw(false);
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_FALSE(doc->IsSlotUsed(4));
    EXPECT_EQ(doc->GetTrackPath(), nullptr);
    EXPECT_FALSE(doc->MapFitted());
    EXPECT_TRUE(doc->NeedsFullRedraw());
    EXPECT_EQ(observer.clearings, 1);
    // A new first lap decodes the track again.
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_TRUE(doc->TrackLoaded());
}

TEST_F(AddLap, APromptThatThrowsLeavesTheSlotFree) {
    struct ClosingChooser : test::ScriptedPrompts {
        std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { throw std::runtime_error("closed"); }
    } closing;
    CRpyGraphDoc d(*settings, closing, waitBox);
    EXPECT_THROW(d.OnOpenDocument(ovalReplay), std::runtime_error);
    EXPECT_FALSE(d.IsSlotUsed(0));
    d.AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_EQ(d.LapCount(), 1);
}

TEST_F(AddLap, HeaderFailuresNameTheReplayKindThenThePath) {
    const auto orlPath = writeWith("orl.rpy", [](auto& b) { b.desc.header.fileWord = 2; });
    const auto ktPath = writeWith("kt.rpy", [](auto& b) { b.desc.header.fileWord = 3; });
    const auto garbage = root / "replay" / "garbage.rpy", absent = root / "replay" / "absent.rpy";
    std::ofstream(garbage) << "not a replay";
    for (const auto& path : {orlPath, ktPath, garbage, absent}) document().OnOpenDocument(path);
    EXPECT_THAT(prompts.messages(), ElementsAre("HeaderClass: Orl replays not supported!", orlPath.string(),
                                                "HeaderClass: Kt/QUOLN replays not supported!", ktPath.string(),
                                                "HeaderClass: Error reading file!", garbage.string(),
                                                "HeaderClass: Error reading file!", absent.string()));
    EXPECT_EQ(prompts.shown()[1].parts, ShownText().FileName(orlPath));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
}

TEST_F(AddLap, AnotherTrackIsRefused) {
    auto other = replay("ROAD", 1000.0);
    const auto otherPath = write(other, "road.rpy");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(otherPath, 0, 3, 1);
    EXPECT_THAT(prompts.messages(), ElementsAre("This file is not from the same track!"));
    EXPECT_EQ(doc->LapCount(), 1);
}

TEST_F(AddLap, DriverTableFailuresAreToldAndGiveTheSlotBack) {
    auto b = replay("OVAL", oval.TotalLength());
    const auto cut = write(b, "cut.rpy");
    std::filesystem::resize_file(cut, static_cast<std::uintmax_t>(b.layout().driverTable + 20));
    simkit::ReplayBuilder crowd;
    crowd.drivers(50).session(3, 1, kLapMs).trackLength(oval.TotalLength());
    crowd.desc.settings.trackName = "OVAL";
    const auto fifty = write(crowd, "fifty.rpy");
    prompts.lapAnswer(raceLap()).lapAnswer(raceLap());
    document().OnOpenDocument(cut);
    doc->OnOpenDocument(fifty);
    // The reader's explanation comes before the driver-table message.
    const auto tooMany = AllOf(StartsWith("This replay cannot be opened as it contains more drivers\n"),
                               EndsWith("Please, state also this number: 50"));
    const std::string driversError = "DriversClass: Error reading file!";
    EXPECT_THAT(prompts.messages(), ElementsAre(driversError, tooMany, driversError));
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_THAT(prompts.lapRequests(), IsEmpty());
    // Any command reading a driver table tells the same; an explanation
    // belongs to the file it was given for.
    test::ScriptedPrompts other;
    Drivers drivers;
    EXPECT_FALSE(CRpyGraphDoc::LoadDrivers(drivers, fifty, other));
    EXPECT_FALSE(CRpyGraphDoc::LoadDrivers(drivers, root / "replay" / "absent.rpy", other));
    EXPECT_TRUE(CRpyGraphDoc::LoadDrivers(drivers, ovalReplay, other));
    EXPECT_THAT(other.messages(), ElementsAre(tooMany, driversError, driversError));
}

// Every per-sample array of every kept lap holds its samples and sample 0.
void ExpectWholeLaps(const CRpyGraphDoc& doc) {
    for (int i = 0; i < CRpyGraphDoc::kSlotMaximum; ++i) {
        if (!doc.IsSlotUsed(i)) continue;
        const GetRpyInfo& l = *doc.Slot(i).info;
        const std::size_t n = static_cast<std::size_t>(l.sampleCount) + 1;
        EXPECT_TRUE(l.channelsReady);
        for (std::size_t size :
             {l.distance.size(), l.lateral.size(), l.distanceM.size(), l.lateralM.size(), l.revolutions.size(),
              l.wheelDelta[3].size(), l.speed.size(), l.slipAngle.size(), l.accelTotal.size(), l.accelTravelLat.size(),
              l.mapX.size() - 2, l.oilTemperature.size(), l.wheelDirection[0].size()})
            EXPECT_EQ(size, n) << "slot " << i;
    }
}

// A car that never shows in the frames has no start or finish line.
TEST_F(AddLap, ALapWithoutItsLinesIsRefusedAfterItsReport) {
    const auto absent = writeWith("absent.rpy", [](auto& b) { b.desc.sessions[0].cars[2].onTrack = false; });
    settings->SetDontShowQualReport(0);
    document().AddLapFromLapFinder(absent, 2, 3, 2);
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_THAT(prompts.messages()[0], HasSubstr("Online quality of lapdata: 0%"));
    EXPECT_EQ(prompts.messages()[1], "RpyDataClass: Error reading file!");
    EXPECT_FALSE(doc->IsSlotUsed(0));
    EXPECT_EQ(doc->LapCount(), 0);
    EXPECT_EQ(doc->Title(), "No lap selected");
    EXPECT_FALSE(waitBox.visible());
    // The slot is free for the next lap, and every kept lap is whole.
    doc->AddLapFromLapFinder(absent, 1, 3, 2);
    doc->AddLapFromLapFinder(absent, 2, 3, 1);
    EXPECT_EQ(doc->LapCount(), 1);
    EXPECT_TRUE(doc->IsSlotUsed(0));
    ExpectWholeLaps(*doc);
}

TEST_F(AddLap, FailedExtractionKeepsTrackAndRecentEntryButNotTheTitle) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 99);
    EXPECT_THAT(prompts.messages(), ElementsAre("RpyDataClass: Error reading file!"));
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

TEST_F(AddLap, MissingTrackStillAddsTheLapWithTheMessage) {
    auto b = replay("NOWHERE", 1500.0);
    const auto path = write(b, "nowhere.rpy");
    prompts.lapAnswer(raceLap());
    document().OnOpenDocument(path);
    // track.ini is looked for before the chooser and again after the track;
    // the replay and the track it names are told.
    EXPECT_THAT(prompts.messages(), ElementsAre(kTrackIniMissing,
                                                std::string(kTrackMissingPrefix) +
                                                    "Error: cannot open track file\nReplay: " + path.string() +
                                                    "\nTrack: \"NOWHERE\" in " + (root / "tracks").string(),
                                                kTrackIniMissing));
    EXPECT_EQ(doc->LapCount(), 1);
    EXPECT_EQ(doc->GetTrackPath(), nullptr);
    EXPECT_EQ(doc->Title(), "NOWHERE");
    EXPECT_DOUBLE_EQ(doc->TrackDistanceUnit(), 1.0 / 1024.0);
    EXPECT_EQ(doc->Slot(0).info->speed[10], 0.0);
}

TEST_F(AddLap, ATrackNamedWithAccentsIsFoundInAFolderSpeltInUtf8) {
    // The replay holds "Mühle" in Windows-1252; the copied folder and its
    // files are named in UTF-8.
    writeTrack("M\xC3\xBChle", oval);
    auto b = replay("M\xFChle", oval.TotalLength());
    const auto path = write(b, "muehle.rpy");
    prompts.lapAnswer(raceLap());
    document().OnOpenDocument(path);
    EXPECT_THAT(prompts.messages(), IsEmpty());
    ASSERT_TRUE(doc->TrackLoaded());
    EXPECT_NEAR(doc->TrackLength(), oval.TotalLength(), 0.01);
}

TEST_F(AddLap, QualityReportCountsAHoleInTheCarsRecords) {
    // Two seconds (72 frames) of lap 2 of car 1 without the other cars' records.
    const auto path = writeWith("hole.rpy", [](simkit::ReplayBuilder& b) {
        const double start = double(simkit::ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[1], 2)) + 10000.0;
        b.desc.frameHook = [start](simkit::FrameContext& ctx) {
            if (ctx.sessionMs >= start && ctx.sessionMs < start + 72 * 1000.0 / 36.0 - 1.0)
                std::erase_if(ctx.records, [](const simkit::FrameRecord& r) { return r.type == 3; });
        };
    });
    settings->SetDontShowQualReport(0);
    document().AddLapFromLapFinder(path, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].icon, Icon::Information);
    // About 1450 samples with 72 missing: 95 %.
    EXPECT_EQ(prompts.shown()[0].text,
              "Online quality of lapdata: 95%\nLargest online gap: 2 seconds"
              "\n\nIf you don't wish to see this report - \nturn it off in File->Settings");
    EXPECT_EQ(doc->Slot(0).info->missingCount, 72);
}

TEST_F(AddLap, TheSavingPlayersLapPassesTheLapTimeCheckAndOnlyItsWheelsLock) {
    // Car id 0 equals the saving player's index, so the check compares.
    const auto own = writeWith("own.rpy", [](auto& b) { b.desc.drivers[0].carId = 0; });
    document().AddLapFromLapFinder(own, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    EXPECT_THAT(prompts.messages(), IsEmpty());
    // The check did run: the distances give the builder's lap time.
    const GetRpyInfo& lap = *doc->Slot(0).info;
    const LapTimeCheckInput in{lap.distance, lap.distanceStepStart, lap.distanceStepEnd, lap.sampleCount,
                               oval.TotalLength()};
    EXPECT_NEAR(static_cast<double>(CalculatedLapTimeMs(in).value_or(0)), kLapMs, 30.0);
    // The builder's wheels never turn: every wheel of the saving player's lap
    // counts as locked at speed; other cars' wheels are not recorded.
    doc->AddLapFromLapFinder(own, 1, 3, 2);
    doc->AddLapFromLapFinder(writeWith("turning.rpy",
                                       [](auto& b) {
                                           b.desc.fullHook = [](const simkit::FrameContext& ctx,
                                                                simkit::FullRecordFields& f) {
                                               for (auto& r : f.wheelRotation)
                                                   r = static_cast<std::uint32_t>(ctx.frameNumber % 1000);
                                           };
                                       }),
                             0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 3);
    for (int w = 0; w < 4; ++w)
        EXPECT_THAT((std::vector{doc->Slot(0).lockedWheels[w].at(100), doc->Slot(1).lockedWheels[w].at(100),
                                 doc->Slot(2).lockedWheels[w].at(100)}),
                    ElementsAre(1.0, 0.0, 0.0));
    ExpectWholeLaps(*doc);
}

TEST_F(AddLap, PhysicsWarningOncePerSetOfLaps) {
    const auto truckPath = writeWith("truck.rpy", [](auto& b) { b.desc.drivers[0].physics = 3; });
    for (const auto& [path, lap] : {std::pair{ovalReplay, 1}, {truckPath, 1}, {ovalReplay, 2}, {truckPath, 2}})
        document().AddLapFromLapFinder(path, 0, 3, lap);
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
