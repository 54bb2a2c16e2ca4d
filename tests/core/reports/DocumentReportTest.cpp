// The reports over the loaded laps: lap-time checks, sectors, speeds and
// pedals of laps added to a document from built replays.
#include "core/document/CRpyGraphDoc.h"
#include "core/document/SimFolderFixture.h"
#include "core/graphs/ChannelBuilders.h"
#include "core/graphs/GraphModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/reports/Report.h"
#include "core/text/LapTime.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class DocumentReports : public testing::SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        auto b = replay("OVAL", oval.TotalLength());
        b.desc.drivers[0].carId = 0;  // the saving player's laps are compared with their stored time
        b.desc.fullHook = [](const simkit::FrameContext& ctx, simkit::FullRecordFields& f) {
            f.throttle = 255;
            f.brake = ctx.frameNumber % 4 == 0 ? 102 : 0;
        };
        ovalReplay = write(b, "oval.rpy");
    }
    std::string Text(int kind) {
        Report r;
        r.document = &document();
        r.kind = kind;
        r.settings = ReportSettings::FromDocument(*doc);
        return r.Text();
    }
    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay;
};

TEST_F(DocumentReports, LapTimeCheckTellsOkADoubtfulTimeOrThatNoTrackIsLoaded) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    doc->AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    std::string text = Text(ReportKind::LaptimeVerifier);
    EXPECT_THAT(text, HasSubstr("Online Laptime Verifier\r\n\r\nLap 1: Alex Morgan, Race lap 2\r\nStored time: " +
                                FormatLapTime(testing::kLapMs) + "\r\nCalculated time: "));
    EXPECT_THAT(text, HasSubstr("\r\nOK\r\nLap 2: Driver1 Racer1, Race lap 2\r\n"));

    // The same lap, with a stored time far from what its distances give.
    auto& stored = const_cast<Drivers&>(*doc->Slot(0).drivers).drivers[0].sessions[3].times[2];
    stored += 5000;
    text = Text(ReportKind::LaptimeVerifier);
    EXPECT_THAT(text.substr(0, text.find("Lap 2:")), Not(HasSubstr("\r\nOK\r\n")));

    doc->OnNewDocument();
    std::filesystem::remove_all(root / "tracks" / "oval");
    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    ASSERT_EQ(doc->GetTrackPath(), nullptr);
    EXPECT_THAT(Text(ReportKind::LaptimeVerifier), HasSubstr("No track loaded: lap times cannot be checked.\r\n"));
    EXPECT_EQ(Text(ReportKind::Speed), "Speed Report\r\n\r\nNo track loaded: lap times cannot be checked.\r\n");
}

TEST_F(DocumentReports, SectorsAddUpToTheLapAndSpeedsFollowTheUnit) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    const auto& split = doc->Slot(0).info->splitMs;
    const auto sector = [](std::int64_t ms) { return FormatLapTime(static_cast<std::uint32_t>(ms)); };
    EXPECT_THAT(
        Text(ReportKind::SectorTimes),
        HasSubstr(fmt::format("{:>11}  {:>11}  {:>11}  {:>11}\r\n", sector(split[0]), sector(split[1] - split[0]),
                              sector(split[2] - split[1]), sector(testing::kLapMs - split[2]))));
    // Constant speed: a quarter of the lap in a quarter of its time.
    EXPECT_NEAR(static_cast<double>(split[1]), testing::kLapMs / 2.0, 100.0);

    // The lap runs at the track's length per lap time.
    const double kph = oval.TotalLength() / (testing::kLapMs / 1000.0) * 3.6;
    doc->SetSpeedUnit(0);
    const std::string text = Text(ReportKind::Speed);
    const auto at = text.find("Average speed: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::stod(text.substr(at + 15)), kph, kph * 0.02);
    EXPECT_THAT(text, HasSubstr(" kph\r\n"));
    doc->SetSpeedUnit(1);
    const std::string miles = Text(ReportKind::Speed);
    EXPECT_NEAR(std::stod(miles.substr(miles.find("Average speed: ") + 15)), kph * 0.6213722922, kph * 0.02);
    EXPECT_THAT(miles, HasSubstr(" mph\r\n"));
}

TEST_F(DocumentReports, SpeedsOverTheSamplesTheSpeedGraphPlots) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    doc->SetSpeedUnit(0);
    const auto number = [](const std::string& text, const std::string& label) {
        const auto at = text.find(label);
        return at == std::string::npos
                   ? std::string()
                   : text.substr(at + label.size(), text.find(' ', at + label.size()) - at - label.size());
    };

    // The speeds as measured: the report names the extremes of the Speed graph.
    const GetRpyInfo& info = *doc->Slot(0).info;
    GraphModel graph(32);
    BuilderRanges ranges;
    const int slot = AddChannelSeries(graph, kSpeedChannel, 0, 0, BuilderLap{&info, nullptr, {}, {}}, 0, ranges);
    const CGraphProps& plotted = *graph.GetGraph(slot);
    ASSERT_GT(plotted.Count(), 100);
    std::string text = Text(ReportKind::Speed);
    EXPECT_EQ(number(text, "Max speed: "), fmt::format("{:.3f}", plotted.Maximum().y));
    EXPECT_EQ(number(text, "Min speed: "), fmt::format("{:.3f}", plotted.Minimum().y));
    double sum = 0.0;
    for (const Point2D& p : plotted.Points()) sum += p.y;
    EXPECT_EQ(number(text, "Average speed: "), fmt::format("{:.3f}", sum / plotted.Count()));

    // A lap driven at one speed: entry 0 holds the start values, and the
    // samples at the lines no measured speed.
    auto& speed = const_cast<GetRpyInfo&>(info).speed;
    for (int i = 2; i < info.sampleCount; ++i) speed[static_cast<std::size_t>(i)] = 160.2;
    text = Text(ReportKind::Speed);
    EXPECT_THAT(text, HasSubstr("Max speed: 160.200 kph\r\nMin speed: 160.200 kph\r\nAverage speed: 160.200 kph\r\n"));
    doc->SetSpeedUnit(1);
    EXPECT_THAT(Text(ReportKind::Speed),
                HasSubstr("Max speed: 99.544 mph\r\nMin speed: 99.544 mph\r\nAverage speed: 99.544 mph\r\n"));
}

TEST_F(DocumentReports, PedalsOnlyForTheSavingPlayersLaps) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    doc->AddLapFromLapFinder(ovalReplay, 2, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    const std::string text = Text(ReportKind::ThrottleBrake);
    // Full throttle throughout; 40 % brake on every fourth frame.
    EXPECT_THAT(text, HasSubstr("Lap 1: Alex Morgan, Race lap 2\r\nThrottle: "));
    const auto number = [&](const std::string& label) {
        return std::stod(text.substr(text.find(label) + label.size()));
    };
    EXPECT_THAT(text, HasSubstr("Throttle: 100.0%\r\n"));
    EXPECT_NEAR(number("Brake: "), 10.0, 0.2);
    EXPECT_NEAR(number("Braking: "), 25.0, 0.5);
    EXPECT_THAT(text, HasSubstr("% of the samples\r\n"));
    EXPECT_THAT(text, HasSubstr("Lap 2: Driver2 Racer2, Race lap 2\r\nNo pedal data: the replay records it for the "
                                "saving player's car only.\r\n"));
}

}  // namespace
}  // namespace vra
