#include "core/export/GrooveExport.h"

#include "core/base/FileUtil.h"
#include "core/document/ReplayFiles.h"
#include "core/document/SimFolderFixture.h"
#include "core/document/TrackmapExport.h"
#include "core/replay/GetRpyInfo.h"

#include "support/FileSizeLimit.h"

#include <gmock/gmock.h>

#include <fstream>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Text(const std::filesystem::path& p) {
    auto bytes = ReadWholeFile(p, 1 << 24);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

class GrooveExport : public SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        auto b = replay("oval", oval.TotalLength());
        const auto path = write(b, "oval.rpy");
        prompts.lapAnswer(LapChoice{0, 3, 1});
        document().OnOpenDocument(path);
        ASSERT_EQ(doc->LapCount(), 1);
    }
    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
};

TEST_F(GrooveExport, WritesTheLapUnderTheChosenNameWithItsExtension) {
    prompts.saveFileAnswer(root / "line").saveFileAnswer(root / "SAME.GRV").saveFileAnswer(std::nullopt);
    GrooveSettings settings;
    settings.widthText = "2.5";
    ASSERT_EQ(ExportGroove(*doc, 0, settings, prompts), root / "line.grv");
    ASSERT_EQ(ExportGroove(*doc, 0, settings, prompts), root / "SAME.GRV");
    EXPECT_EQ(ExportGroove(*doc, 0, settings, prompts), std::nullopt);
    const SaveFileRequest& r = prompts.saveFileRequests()[0];
    EXPECT_EQ(r.defaultName, "OVAL.grv");
    EXPECT_EQ(r.initialFolder, std::filesystem::current_path());
    EXPECT_EQ(r.filters[0].label, "Groove files (*.grv)");

    const std::string text = Text(root / "line.grv");
    EXPECT_EQ(text, GrooveFileText(GrooveLapOf(*doc->Slot(0).info), oval.TotalLength(), settings));
    EXPECT_TRUE(text.starts_with("60sections,"));
    EXPECT_NE(text.find(" 2.5\r\n"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_THAT(prompts.messages(), IsEmpty());
}

TEST_F(GrooveExport, AFailedWriteKeepsTheOldFileAndNoTrackStopsAtOnce) {
    const auto file = root / "old.grv";
    std::ofstream(file, std::ios::binary) << "old groove";
    prompts.saveFileAnswer(file);
    {
        test::FileSizeLimit diskFull(100);
        ASSERT_TRUE(diskFull.active());
        EXPECT_EQ(ExportGroove(*doc, 0, {}, prompts), std::nullopt);
    }
    EXPECT_EQ(Text(file), "old groove");
    EXPECT_THAT(prompts.messages(), ElementsAre("Error creating file!"));

    doc->OnNewDocument();
    test::ScriptedPrompts fresh;
    EXPECT_FALSE(GrooveTrackLoaded(*doc, fresh));
    EXPECT_THAT(fresh.log(), ElementsAre("message: No track loaded!"));
}

// The dialog asked about the name as typed: a file of that name with the
// extension appended is replaced only on Yes, and No returns to the dialog.
// The map picture asks the same way.
TEST_F(GrooveExport, AnAppendedExtensionReplacesAnExistingFileOnlyWhenAllowed) {
    const std::string own = "the user's own file";
    std::ofstream(root / "victim.grv", std::ios::binary) << own;
    std::ofstream(root / "victim.bmp", std::ios::binary) << own;
    prompts.saveFileAnswer(root / "victim").answer(Button::No).saveFileAnswer(std::nullopt);
    EXPECT_EQ(ExportGroove(*doc, 0, {}, prompts), std::nullopt);
    EXPECT_EQ(Text(root / "victim.grv"), own);
    EXPECT_THAT(prompts.log(), ElementsAre(::testing::_, "saveFile: OVAL.grv",
                                           "message: victim.grv" + std::string(kReplaceQuestion), "saveFile: victim"));
    EXPECT_EQ(prompts.shown().back().buttons, Buttons::YesNo);
    EXPECT_EQ(prompts.saveFileRequests().back().initialFolder, root);

    prompts.saveFileAnswer(root / "victim").answer(Button::Yes);
    EXPECT_EQ(ExportGroove(*doc, 0, {}, prompts), root / "victim.grv");
    EXPECT_TRUE(Text(root / "victim.grv").starts_with("60sections,"));
    // A name the dialog asked about, or one of no file, is not asked again.
    const std::size_t asked = prompts.shown().size();
    prompts.saveFileAnswer(root / "victim.grv").saveFileAnswer(root / "new");
    EXPECT_EQ(ExportGroove(*doc, 0, {}, prompts), root / "victim.grv");
    EXPECT_EQ(ExportGroove(*doc, 0, {}, prompts), root / "new.grv");
    EXPECT_EQ(prompts.shown().size(), asked);

    prompts.saveFileAnswer(root / "victim").answer(Button::No).saveFileAnswer(std::nullopt);
    EXPECT_EQ(AskTrackmapBmpPath(*doc, prompts), std::nullopt);
    prompts.saveFileAnswer(root / "victim").answer(Button::Yes);
    EXPECT_EQ(AskTrackmapBmpPath(*doc, prompts), root / "victim.bmp");
    EXPECT_EQ(prompts.shown().size(), asked + 2);
    EXPECT_EQ(Text(root / "victim.bmp"), own);
}

TEST(GrooveParameters, FactorsAndWidthAreCheckedAsTheFileNeedsThem) {
    EXPECT_EQ(ParseGrooveFactor(" 100 "), 100);
    EXPECT_EQ(ParseGrooveFactor("-5"), -5);
    EXPECT_GT(*ParseGrooveFactor("99999999999999999999"), 999);
    for (const char* bad : {"", "abc", "1.5", "12x", "-"}) EXPECT_EQ(ParseGrooveFactor(bad), std::nullopt) << bad;
    for (const char* good : {"3.0", "3", ".5", "3.", "0.01"}) EXPECT_TRUE(IsGrooveWidth(good)) << good;
    for (const char* bad : {"", " 3", "3 ", "3,0", "abc", "0", "0.0", ".", "-1", "1e3", "+2"})
        EXPECT_FALSE(IsGrooveWidth(bad)) << bad;
}

}  // namespace
}  // namespace vra::testing
