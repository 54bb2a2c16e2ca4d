#include "core/document/LoadedLapChoice.h"
#include "core/document/ReplayFiles.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/WriterOutput.h"

#include "SimFolderFixture.h"

#include <gmock/gmock.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::uint8_t> Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FolderEntries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ReplayCommands : public SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        auto b = replay("OVAL", oval.TotalLength());
        b.desc.settings.temperature = 31;
        // Driver 0 laps in exactly a minute and a millisecond less.
        b.desc.sessions[0].cars[0].laps = {60000, 59999, 60000};
        ovalReplay = write(b, "oval.rpy");
    }

    std::filesystem::path out(const std::string& name) const { return root / "out" / name; }

    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay;
};

// Every command that needs a lap says so and asks nothing else.
TEST_F(ReplayCommands, WithoutALapEveryCommandSaysSoAndAsksNothing) {
    document().OnSaveReplayLap();
    doc->OnSaveTelemetryText();
    doc->OnMergeLaps();
    doc->OnCompressReplay();
    doc->OnFixTransAmRideHeight();
    EXPECT_EQ(prompts.log(), std::vector<std::string>(5, "message: No replay file loaded!"));
}

TEST_F(ReplayCommands, OneLapIsSavedWithoutAChooserAndTheExtensionAppended) {
    std::filesystem::create_directories(root / "out");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    prompts.saveFileAnswer(out("kept"));
    doc->OnSaveReplayLap();
    EXPECT_THAT(prompts.log(), ElementsAre("saveFile: Ale_Mor_OVAL_0m 59.999s.rpy"));
    ASSERT_EQ(prompts.saveFileRequests().size(), 1u);
    const SaveFileRequest& request = prompts.saveFileRequests()[0];
    EXPECT_EQ(request.initialFolder, root / "replay");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].label, "Replay files (*.rpy)");
    EXPECT_EQ(request.filters[0].pattern, "*.rpy");

    // The saved file holds the same lap.
    Drivers saved;
    ASSERT_EQ(saved.Load(out("kept.rpy")), Drivers::LoadResult::Ok);
    GetRpyInfo again;
    ASSERT_EQ(again.ExtractLap(saved, 0, 2, 3, static_cast<float>(oval.TotalLength())), GetRpyInfo::Result::Ok);
    ASSERT_EQ(again.AllocateChannels(1), GetRpyInfo::Result::Ok);
    EXPECT_EQ(again.distanceM, doc->Slot(0).info->distanceM);

    // A name that holds the extension in any case keeps it as it is; the
    // weather flag adds the temperature.
    prompts.saveFileAnswer(out("Mine.RPY")).saveFileAnswer(std::nullopt);
    doc->OnSaveReplayLap();
    EXPECT_TRUE(std::filesystem::exists(out("Mine.RPY")));
    EXPECT_EQ(FolderEntries(root / "out"), (std::vector<std::string>{"Mine.RPY", "kept.rpy"}));
}

TEST_F(ReplayCommands, DefaultNamesCarryTheWeatherAndNoCharacterAFileNameCannotHold) {
    auto b = replay("OVAL", oval.TotalLength());
    b.desc.settings.weather = 1;
    b.desc.settings.temperature = 31;
    b.desc.drivers[0].firstName = "J/:k";
    b.desc.drivers[0].lastName = "<*>?\"|";
    b.desc.sessions[0].cars[0].laps = {60000, 59999, 60000};
    const auto weather = write(b, "weather.rpy");
    document().AddLapFromLapFinder(weather, 0, 3, 1);
    doc->OnSaveReplayLap();
    doc->OnSaveTelemetryText();
    EXPECT_THAT(prompts.log(),
                ElementsAre("saveFile: J_______OVAL_1m 00.000s_31F.rpy", "saveFile: J_______OVAL_1m 00.000s.txt"));
    EXPECT_EQ(SafeFileName(std::string("a\x01\x1f\x7f b\\c", 8)), "a___ b_c");
}

// With several laps the user picks one; the texts name each loaded lap.
TEST_F(ReplayCommands, SeveralLapsAskWhichAndACancelWritesNothing) {
    std::filesystem::create_directories(root / "out");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(ovalReplay, 2, 3, 3);
    prompts.loadedLapAnswer(-1).loadedLapAnswer(1).saveFileAnswer(std::nullopt);
    doc->OnSaveReplayLap();
    doc->OnSaveReplayLap();
    EXPECT_THAT(prompts.log(), ElementsAre("chooseLoadedLap: Choose lap to extract and save in new replay file",
                                           "chooseLoadedLap: Choose lap to extract and save in new replay file",
                                           "saveFile: Dri_Rac_OVAL_0m 40.500s.rpy"));
    EXPECT_EQ(prompts.loadedLapRequests()[0].texts,
              (std::array<std::string, 5>{"Alex Morgan 1m 00.000s", "Driver2 Racer2 0m 40.500s", "", "", ""}));
    EXPECT_THAT(FolderEntries(root / "out"), IsEmpty());

    prompts.loadedLapAnswer(0).saveFileAnswer(out("lap.txt"));
    doc->OnSaveTelemetryText();
    const auto text = Bytes(out("lap.txt"));
    const std::string head(text.begin(), text.begin() + 20);
    EXPECT_EQ(head.substr(0, head.find("\r\n")), std::to_string(doc->Slot(0).info->sampleCount - 1) + ", 60000");
}

// Reports that read one replay take the only lap as it is and otherwise
// let the user pick among the used slots by their files' names.
TEST_F(ReplayCommands, ReportsChooseALoadedLapByItsFileName) {
    EXPECT_EQ(ChooseLoadedLap(document(), prompts), -1);
    EXPECT_THAT(prompts.log(), ElementsAre("message: No replay lap loaded!"));

    doc->AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    EXPECT_EQ(ChooseLoadedLap(*doc, prompts), 0);
    EXPECT_EQ(prompts.log().size(), 1u);

    auto b = replay("OVAL", oval.TotalLength());
    const auto second = write(b, "second r\xc3\xa9play.rpy");
    doc->AddLapFromLapFinder(second, 2, 3, 3);
    prompts.loadedLapAnswer(1).loadedLapAnswer(-1).loadedLapAnswer(3);
    EXPECT_EQ(ChooseLoadedLap(*doc, prompts), 1);
    EXPECT_EQ(ChooseLoadedLap(*doc, prompts), -1);
    EXPECT_EQ(ChooseLoadedLap(*doc, prompts), -1);  // a free slot's button
    ASSERT_EQ(prompts.loadedLapRequests().size(), 3u);
    const LoadedLapChoiceRequest& request = prompts.loadedLapRequests()[0];
    EXPECT_EQ(request.title, "Reports only based on one file - choose which to use");
    EXPECT_TRUE(request.fileNames);
    EXPECT_EQ(request.texts, (std::array<std::string, 5>{"oval.rpy", "second r\xc3\xa9play.rpy", "", "", ""}));
}

// No command ever writes over the replay it reads, by any spelling of it.
TEST_F(ReplayCommands, TheSourceIsNeverTheDestination) {
    // A name that holds both extensions, so that neither command appends one.
    const auto source = root / "replay" / "oval.txt.rpy";
    std::filesystem::copy_file(ovalReplay, source);
    document().AddLapFromLapFinder(source, 0, 3, 2);
    const auto before = Bytes(source);
    const auto symlink = root / "link.txt.rpy", hardlink = root / "hard.txt.rpy";
    std::filesystem::create_symlink(source, symlink);
    std::filesystem::create_hard_link(source, hardlink);
    const auto relative = root / "replay" / ".." / "replay" / "oval.txt.rpy";
    for (const auto& spelling : {source, relative, symlink, hardlink}) {
        prompts.saveFileAnswer(spelling).saveFileAnswer(spelling).saveFileAnswer(spelling);
        doc->OnSaveReplayLap();
        doc->OnSaveTelemetryText();
        doc->OnCompressReplay();
    }
    EXPECT_EQ(prompts.messages(), std::vector<std::string>(12, std::string(kSameFileText)));
    EXPECT_EQ(Bytes(source), before);
    EXPECT_FALSE(IsSameFile(source, root / "replay" / "oval.txt.rpy.txt"));
}

// A name without the extension is not the name the dialog asked about: a
// file of the name with the extension appended is replaced only on Yes, and
// No returns to the dialog with the name as typed.
TEST_F(ReplayCommands, AnAppendedExtensionReplacesAnExistingFileOnlyWhenAllowed) {
    auto b = replay("OVAL", oval.TotalLength());
    for (auto& d : b.desc.drivers) d.physics = 4;
    const auto transAm = write(b, "transam.rpy");
    document().AddLapFromLapFinder(transAm, 0, 3, 2);
    std::filesystem::create_directories(root / "out");
    using Command = void (CRpyGraphDoc::*)();
    const std::pair<Command, std::string> commands[] = {{&CRpyGraphDoc::OnSaveReplayLap, "victim.rpy"},
                                                        {&CRpyGraphDoc::OnSaveTelemetryText, "victim.txt"},
                                                        {&CRpyGraphDoc::OnMergeLaps, "victim.rpy"},
                                                        {&CRpyGraphDoc::OnCompressReplay, "victim.rpy"},
                                                        {&CRpyGraphDoc::OnFixTransAmRideHeight, "victim.rpy"}};
    const std::string own = "the user's own file";
    for (const auto& [command, written] : commands) {
        SCOPED_TRACE(written);
        std::ofstream(out(written)) << own;
        const std::size_t before = prompts.log().size();
        // The merge of one lap says so first.
        const bool merge = command == &CRpyGraphDoc::OnMergeLaps;
        if (merge) prompts.answer(Button::Ok);
        prompts.saveFileAnswer(out("victim")).answer(Button::No).saveFileAnswer(std::nullopt);
        ((*doc).*command)();
        const auto bytes = Bytes(out(written));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), own);
        const std::vector<std::string> log(prompts.log().begin() + static_cast<std::ptrdiff_t>(before),
                                           prompts.log().end());
        EXPECT_THAT(log,
                    ::testing::IsSupersetOf({"message: " + written + " already exists.\r\nDo you want to replace it?",
                                             std::string("saveFile: victim")}));
        EXPECT_EQ(prompts.saveFileRequests().back().initialFolder, root / "out");
        EXPECT_EQ(prompts.shown().back().buttons, Buttons::YesNo);
        EXPECT_EQ(prompts.shown().back().parts, ShownText().FileName(written).Text(kReplaceQuestion));

        if (merge) prompts.answer(Button::Ok);
        prompts.saveFileAnswer(out("victim")).answer(Button::Yes);
        ((*doc).*command)();
        EXPECT_GT(std::filesystem::file_size(out(written)), own.size());
        std::filesystem::remove(out(written));
    }
}

// Accepting the compression's default name, which has no extension, asks
// before replacing the file an earlier compression wrote.
TEST_F(ReplayCommands, TheCompressionsDefaultNameAsksBeforeReplacing) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    const auto target = root / "replay" / "Compressed_.rpy";
    prompts.saveFileAnswer(root / "replay" / "Compressed_");
    doc->OnCompressReplay();
    const auto first = Bytes(target);
    ASSERT_FALSE(first.empty());
    std::ofstream(target, std::ios::binary) << "an earlier compression";
    prompts.saveFileAnswer(root / "replay" / "Compressed_").answer(Button::No).saveFileAnswer(std::nullopt);
    doc->OnCompressReplay();
    const auto kept = Bytes(target);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "an earlier compression");
    EXPECT_THAT(
        prompts.log(),
        ElementsAre("saveFile: Compressed_", ::testing::StartsWith("message: Original size"), "saveFile: Compressed_",
                    "message: Compressed_.rpy already exists.\r\nDo you want to replace it?", "saveFile: Compressed_"));
    prompts.saveFileAnswer(root / "replay" / "Compressed_").answer(Button::Yes);
    doc->OnCompressReplay();
    EXPECT_EQ(Bytes(target), first);
}

// A destination that cannot be written gives the command's error text and
// no file; a failure while writing leaves an existing destination as it was.
TEST_F(ReplayCommands, NothingIsLostWhenWritingFails) {
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    std::ofstream(root / "afile") << "x";
    std::vector<std::filesystem::path> blocked = {root / "afile" / "x.rpy"};
    if (::geteuid() != 0) {
        std::filesystem::create_directories(root / "locked");
        std::filesystem::permissions(root / "locked",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        blocked.push_back(root / "locked" / "x.rpy");
    }
    for (const auto& dest : blocked) {
        prompts.saveFileAnswer(dest).saveFileAnswer(dest).saveFileAnswer(dest);
        doc->OnSaveReplayLap();
        doc->OnSaveTelemetryText();
        doc->OnMergeLaps();
        EXPECT_FALSE(std::filesystem::exists(dest));
    }
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < blocked.size(); ++i)
        for (const char* m :
             {"Error while saving replay file!", "Error creating file!",
              "Only 1 lap loaded, will extract that to a new replay file.", "Error while saving replay file!"})
            expected.emplace_back(m);
    EXPECT_EQ(prompts.messages(), expected);
    if (::geteuid() != 0) std::filesystem::permissions(root / "locked", std::filesystem::perms::owner_all);

    // The writers stop at a refused byte; the file is then left alone.
    std::filesystem::create_directories(root / "out");
    const auto existing = out("existing.rpy");
    std::ofstream(existing) << "the user's own file";
    for (std::size_t k : {std::size_t{0}, std::size_t{7}, std::size_t{3} << 20}) {
        EXPECT_FALSE(WriteThroughFile(existing, [&](OutputSink& sink) {
            std::vector<std::uint8_t> bytes(k, 0xAB);
            return sink.write(bytes) && false;
        }));
    }
    const auto content = Bytes(existing);
    EXPECT_EQ(std::string(content.begin(), content.end()), "the user's own file");
    EXPECT_THAT(FolderEntries(root / "out"), ElementsAre("existing.rpy"));
}

TEST_F(ReplayCommands, CompressionReportsTheSizesAndAnUnlistedRecordWritesNothing) {
    std::filesystem::create_directories(root / "out");
    document().AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    prompts.saveFileAnswer(out("small"));
    doc->OnCompressReplay();
    ASSERT_EQ(prompts.saveFileRequests().size(), 1u);
    EXPECT_EQ(prompts.saveFileRequests()[0].defaultName.Bytes(), "Compressed_");
    const double before = static_cast<double>(std::filesystem::file_size(ovalReplay));
    const double after = static_cast<double>(std::filesystem::file_size(out("small.rpy")));
    EXPECT_LT(after, before);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "Original size: %.2fMB\r\nCompressed size: %.2fMB\r\nPercent of original: %.2f", before / 1048576,
                  after / 1048576, after / before * 100);
    EXPECT_THAT(prompts.messages(), ElementsAre(expected));
    Drivers compressed;
    EXPECT_EQ(compressed.Load(out("small.rpy")), Drivers::LoadResult::Ok);

    // The loaded replay changes on disk and now holds a record of a type no
    // reader knows.
    auto b = replay("OVAL", oval.TotalLength());
    const auto odd = write(b, "odd.rpy");
    document().OnNewDocument();
    doc->AddLapFromLapFinder(odd, 1, 3, 1);
    ASSERT_EQ(doc->LapCount(), 1);
    b.desc.frameHook = [](simkit::FrameContext& f) {
        if (f.frameNumber == 2000) f.records.push_back(simkit::FrameRecord{7, -1, {1, 2, 3, 4}});
    };
    write(b, "odd.rpy");
    prompts.saveFileAnswer(out("odd"));
    doc->OnCompressReplay();
    EXPECT_EQ(prompts.messages().back(), "Error while compressing replay file!");
    EXPECT_FALSE(std::filesystem::exists(out("odd.rpy")));
}

// The fix looks at the saving player's physics: a pace car in the first row
// of the driver table does not stop it.
TEST_F(ReplayCommands, RideHeightFixNeedsTheSavingPlayersTransAmPhysics) {
    std::filesystem::create_directories(root / "out");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 2);
    doc->OnFixTransAmRideHeight();
    EXPECT_THAT(prompts.log(), ElementsAre("message: This replay does not use the PTA (Trans Am) physics"));

    auto b = replay("OVAL", oval.TotalLength());
    b.desc.drivers[0].physics = 0;
    b.desc.drivers[0].carNumber = 65535;
    b.desc.drivers[1].physics = 4;
    b.desc.header.savingPlayer = 1;
    const auto transAm = write(b, "ta R\xC3\xA4nnen.rpy");
    document().OnNewDocument();
    doc->AddLapFromLapFinder(transAm, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    prompts.saveFileAnswer(transAm).saveFileAnswer(out("fixed"));
    doc->OnFixTransAmRideHeight();
    doc->OnFixTransAmRideHeight();
    // The replay's file name keeps its own bytes: it is no replay text.
    EXPECT_EQ(prompts.saveFileRequests().back().defaultName, ShownText("RHfix_").FileName("ta R\xC3\xA4nnen.rpy"));
    EXPECT_THAT(prompts.messages(), ElementsAre("This replay does not use the PTA (Trans Am) physics",
                                                std::string(kSameFileText), "Trans Am ride height fixed!"));
    EXPECT_EQ(std::filesystem::file_size(out("fixed.rpy")), std::filesystem::file_size(transAm));
}

class MergeCommand : public ReplayCommands {};

TEST_F(MergeCommand, OneLapIsExtractedWithoutTheDialog) {
    std::filesystem::create_directories(root / "out");
    document().AddLapFromLapFinder(ovalReplay, 1, 3, 2);
    prompts.saveFileAnswer(out("one"));
    doc->OnMergeLaps();
    EXPECT_THAT(prompts.log(), ElementsAre("message: Only 1 lap loaded, will extract that to a new replay file.",
                                           "saveFile: OVAL_VELMRRA_merged.rpy"));
    Drivers merged;
    ASSERT_EQ(merged.Load(out("one.rpy")), Drivers::LoadResult::Ok);
    ASSERT_EQ(merged.driverCount, 3);
    EXPECT_EQ(merged.drivers[2].firstName, "D merged");
    EXPECT_EQ(merged.drivers[2].lastName, "Racer1");
}

// The cars of the merged file sit where their laps were, at the steps of the
// loaded track, or at the finest step without one.
TEST_F(MergeCommand, SeveralLapsTakeTheDialogsAdvantagesAndTheTracksDistanceStep) {
    std::filesystem::create_directories(root / "out");
    auto b = replay("NOWHERE", oval.TotalLength());
    const auto trackless = write(b, "nowhere.rpy");
    for (const auto& [path, unit] : {std::pair{ovalReplay, 0.0}, {trackless, 1 / 1024.0}}) {
        SCOPED_TRACE(path.string());
        document().OnNewDocument();
        doc->AddLapFromLapFinder(path, 0, 3, 1);
        doc->AddLapFromLapFinder(path, 2, 3, 2);
        std::filesystem::remove(out("merged.rpy"));
        const double step = unit > 0 ? unit : doc->TrackDistanceUnit();
        // A cancelled dialog writes nothing.
        prompts.mergeAnswer(std::nullopt);
        doc->OnMergeLaps();
        EXPECT_FALSE(std::filesystem::exists(out("merged.rpy")));
        ASSERT_FALSE(prompts.mergeRequests().empty());
        const MergeParametersRequest request = prompts.mergeRequests().back();
        EXPECT_TRUE(request.rows[0].used && request.rows[1].used && !request.rows[2].used);
        EXPECT_EQ(request.rows[1].firstName, "Driver2");
        EXPECT_EQ(request.rows[1].lapWord, 40500u);

        prompts.mergeAnswer(MergeAdvantages{0, 1000}).saveFileAnswer(out("merged.rpy"));
        doc->OnMergeLaps();
        const auto bytes = Bytes(out("merged.rpy"));
        const std::size_t frame1 = 272 + 12 + 188 * 4 + 12 + 48 + 12;
        for (int j = 0; j < 2; ++j) {
            ParseCarStructs parser;
            parser.SetCompactRecord(&bytes.at(frame1 + 8 + 8 + 4 + 16 * static_cast<std::size_t>(j)));
            const GetRpyInfo& lap = *doc->Slot(j).info;
            const int s = 1 + (j == 1 ? 36 : 0);
            EXPECT_NEAR(parser.Compact().distance * step, lap.distanceM[static_cast<std::size_t>(s)], step);
        }
    }
}

TEST_F(MergeCommand, MixedPhysicsIsRefused) {
    auto b = replay("OVAL", oval.TotalLength());
    for (auto& d : b.desc.drivers) d.physics = 4;
    const auto transAm = write(b, "transam.rpy");
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    doc->AddLapFromLapFinder(transAm, 1, 3, 1);
    ASSERT_TRUE(doc->PhysicsWarningShown());
    EXPECT_TRUE(doc->MixedPhysics());
    const std::size_t before = prompts.log().size();
    doc->OnMergeLaps();
    ASSERT_EQ(prompts.log().size(), before + 1);
    EXPECT_EQ(prompts.log().back(), "message: Merging of replays with mixed physics not possible");

    // Once the odd lap is removed the laps share one physics again and merge,
    // although the warning shown on loading stays shown.
    doc->AddLapFromLapFinder(ovalReplay, 1, 3, 1);
    doc->ArrangeLaps({0, 2});
    ASSERT_EQ(doc->LapCount(), 2);
    EXPECT_TRUE(doc->PhysicsWarningShown());
    EXPECT_FALSE(doc->MixedPhysics());
    std::filesystem::create_directories(root / "out");
    prompts.mergeAnswer(MergeAdvantages{0, 0}).saveFileAnswer(out("same-physics.rpy"));
    doc->OnMergeLaps();
    EXPECT_FALSE(prompts.mergeRequests().empty());
    EXPECT_TRUE(std::filesystem::exists(out("same-physics.rpy")));
}

}  // namespace
}  // namespace vra::testing
