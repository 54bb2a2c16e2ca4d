// Personal bests over a simulation folder, a second replay folder and a CD
// database, and the records page written from them.
#include "core/export/PersonalBests.h"

#include "core/export/ExportFlows.h"
#include "core/export/RecordsPage.h"
#include "core/replay/ReplayFormat.h"

#include "simkit/replay/DatabaseWriter.h"
#include "support/FileText.h"

#include "../laps/LapsFixture.h"

#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;

using vra::test::ReadAll;

class Bests : public LapsFixture {
protected:
    void SetUp() override {
        LapsFixture::SetUp();
        Write(Replay("OVAL", 3, 2, 40000), sim / "replay" / "a.rpy");
        // A faster lap that does not count, in a replay whose track name is
        // spelt in other case.
        auto invalid = Replay("oval", 2, 1, 30000);
        for (auto& w : invalid.desc.sessions[0].cars[0].laps) w |= LapWord::Incomplete;
        Write(invalid, sim / "replay" / "b.rpy");
        auto other = Replay("OVAL", 2, 1, 41000);
        other.desc.drivers[0].physics = 2;
        Write(other, alt / "c.rpy");
        auto ring = Replay("RING", 3, 1, 45000);
        ring.desc.drivers[0].firstName = "<b>&\xE9";
        Write(ring, alt / "d.rpy");
        WriteText(sim / "replay" / "junk.rpy", "not a replay");
        WriteCut(sim / "replay" / "cut.rpy", "OVAL");
        simkit::DbDesc db;
        db.label = "RACES [CDFS]";
        db.records = {simkit::SimpleDbRecord("old\\r1.rpy", "OVAL", 2, 1, 35000)};
        std::filesystem::create_directories(sim / "replay" / "VELMRRA_CDDB");
        ASSERT_TRUE(simkit::WriteDatabase(sim / "replay" / "VELMRRA_CDDB" / "season.rdb", db));
        settings->SetAltReplayPath(alt.string());
    }

    PersonalBests Scanned() {
        PersonalBests bests(document(), volumes, waitBox);
        bests.Scan();
        return bests;
    }

    const std::filesystem::path alt = scratch.path() / "alt";
    const std::filesystem::path out = scratch.path() / "out";
    test::FakeShell shell;
};

TEST_F(Bests, OneFastestValidLapPerDriverTrackAndPhysics) {
    const PersonalBests bests = Scanned();
    ASSERT_EQ(bests.Rows().size(), 3u);
    EXPECT_THAT(bests.Rows()[0].text,
                ElementsAre("Alex Morgan", "OVAL", "CUP", "0m 35.000s", "Race", "2026 Feb 03", "season:old\\r1.rpy"));
    EXPECT_THAT(bests.Rows()[1].text[1], "OVAL");
    EXPECT_THAT(bests.Rows()[1].text[2], "GNS");
    EXPECT_THAT(bests.Rows()[1].text[3], "0m 41.000s");
    EXPECT_THAT(bests.Rows()[1].text[6], "c.rpy");
    EXPECT_THAT(bests.Rows()[2].text[1], "RING");
    EXPECT_THAT(bests.Rows()[2].text[3], "0m 45.000s");
    // Broken replays are counted, never one box each.
    EXPECT_EQ(bests.UnreadableFiles(), 2);
    EXPECT_EQ(bests.UnreadableText(), "2 replay files could not be read.");
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(waitBox.calls().back(), "hide");
}

TEST_F(Bests, RecordsPageAndItsExport) {
    const PersonalBests bests = Scanned();
    const std::string page = WriteRecordsPage(out.string(), bests);
    EXPECT_TRUE(page.empty());  // the folder does not exist

    std::filesystem::create_directories(out);
    ASSERT_EQ(WriteRecordsPage(out.string() + "/", bests), (out / "records.html").string());
    const std::string html = ReadAll(out / "records.html");
    EXPECT_TRUE(std::filesystem::exists(out / "style.css"));
    std::size_t rows = 0;
    for (std::size_t at = html.find("<tr>"); at != std::string::npos; at = html.find("<tr>", at + 1)) ++rows;
    EXPECT_EQ(rows, 4u);
    EXPECT_NE(html.find("<td>&lt;b&gt;&amp;\xC3\xA9 Morgan</td><td>RING</td>"), std::string::npos);
    EXPECT_NE(html.find("<p>Best laps from your replay folders and CD databases; the simulation"), std::string::npos);
    EXPECT_NE(html.find("<p>2 replay files could not be read.</p>"), std::string::npos);

    settings->SetRecordsPath("");
    ExportRecordsPage(document(), bests, prompts, shell);
    EXPECT_THAT(prompts.messages(), ElementsAre(std::string(kNoExportPathText)));

    settings->SetRecordsPath((scratch.path() / "missing").string());
    ExportRecordsPage(document(), bests, prompts, shell);
    EXPECT_EQ(prompts.messages().back(), kRecordsFailedText);

    settings->SetRecordsPath(out.string());
    prompts.answer(Button::No).answer(Button::Yes);
    ExportRecordsPage(document(), bests, prompts, shell);
    const std::string file = (out / "records.html").string();
    EXPECT_EQ(prompts.messages().back(),
              "Records page created:\r\n" + file + "\r\n\r\nDo you wish to launch the page in your browser?");
    // The path is shown in the system's encoding, the words around it as the program's own.
    EXPECT_EQ(prompts.shown().back().parts, ShownText("Records page created:\r\n")
                                                .FileName(file)
                                                .Text("\r\n\r\nDo you wish to launch the page in your browser?"));
    EXPECT_TRUE(shell.opened().empty());
    ExportRecordsPage(document(), bests, prompts, shell);
    EXPECT_THAT(shell.opened(), ElementsAre(file));
}

}  // namespace
}  // namespace vra::testing
