// The XML export of a replay's reports and the map view's export commands,
// over a built simulation folder and scripted prompts.
#include "core/export/ExportFlows.h"

#include "core/document/LoadedLapChoice.h"
#include "core/document/SimFolderFixture.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <pugixml.hpp>

namespace vra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Lf(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

class Exports : public testing::SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
        auto b = replay("OVAL", oval.TotalLength());
        // A name with markup, accented and euro bytes and a control byte.
        b.desc.drivers[1].lastName = "R\xE9n\x80\x01<b>&";
        ovalReplay = write(b, "oval.rpy");
        b.session(1, 2, testing::kLapMs);
        b.desc.sessions.erase(b.desc.sessions.begin());
        noRaceReplay = write(b, "norace.rpy");
        std::filesystem::create_directories(exportDir);
        settings->SetRecordsPath(exportDir.string());
    }

    ExportFlows flows() {
        return ExportFlows(document(), prompts, shell, waitBox, [this] { return ChooseLoadedLap(*doc, prompts); });
    }

    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
    std::filesystem::path ovalReplay, noRaceReplay, exportDir = root / "export";
    test::FakeShell shell;
};

TEST_F(Exports, XmlHoldsTheFiveReportsAsUtf8) {
    Header header;
    Drivers drivers;
    ASSERT_EQ(header.Read(ovalReplay), Header::Ok);
    ASSERT_EQ(drivers.Load(ovalReplay), Drivers::LoadResult::Ok);
    Report report;
    report.header = &header;
    report.drivers = &drivers;
    const std::string path = report.ExportReportsToXml(exportDir.string());
    EXPECT_EQ(path, (exportDir / "oval.xml").string());

    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_file(path.c_str()));
    const pugi::xml_node top = xml.child("ReplayReports");
    EXPECT_STREQ(top.attribute("replay").value(), "oval.rpy");
    EXPECT_STREQ(top.attribute("track").value(), "OVAL");
    const std::string race = top.child("Race").text().get();
    EXPECT_NE(race.find("R\u00E9n\u20AC<b>&"), std::string::npos);
    EXPECT_EQ(race.find('\x01'), std::string::npos);
    EXPECT_EQ(race.find('\r'), std::string::npos);
    for (const auto& [name, kind] : std::vector<std::pair<const char*, int>>{{"MiscInfo", ReportKind::RaceSettings},
                                                                             {"Practice", ReportKind::Practice},
                                                                             {"Qualifying", ReportKind::Qualifying},
                                                                             {"HappyHour", ReportKind::HappyHour}})
        EXPECT_EQ(top.child(name).text().get(), Lf(report.Text(kind))) << name;

    EXPECT_EQ(report.ExportReportsToXml((root / "missing").string()), "");
    EXPECT_FALSE(std::filesystem::exists(root / "missing"));
}

TEST_F(Exports, XmlCommandRefusesOrOffersToOpenTheFile) {
    settings->SetRecordsPath("");
    flows().ExportReportsToXml();
    EXPECT_THAT(prompts.messages(), ElementsAre(std::string(kNoExportPathText)));

    settings->SetRecordsPath(exportDir.string());
    flows().ExportReportsToXml();
    EXPECT_EQ(prompts.messages().back(), kXmlNoLapText);
    EXPECT_THAT(waitBox.calls(), IsEmpty());

    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    ASSERT_EQ(doc->LapCount(), 1);
    const std::size_t calls = waitBox.calls().size();
    const std::size_t before = prompts.messages().size();
    prompts.answer(Button::Yes);
    flows().ExportReportsToXml();
    const std::string file = (exportDir / "oval.xml").string();
    const std::vector<std::string> all = prompts.messages();
    EXPECT_THAT(
        std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
        ElementsAre("XML-file created:\r\n" + file + "\r\n\r\nDo you wish to launch the file in your XML-viewer?"));
    EXPECT_EQ(prompts.shown().back().parts, ShownText("XML-file created:\r\n")
                                                .FileName(file)
                                                .Text("\r\n\r\nDo you wish to launch the file in your XML-viewer?"));
    EXPECT_THAT(
        std::vector<std::string>(waitBox.calls().begin() + static_cast<std::ptrdiff_t>(calls), waitBox.calls().end()),
        ElementsAre("show: Please wait while generating XML file...", "hide"));
    EXPECT_THAT(shell.opened(), ElementsAre(file));

    prompts.answer(Button::No);
    flows().ExportReportsToXml();
    EXPECT_EQ(shell.opened().size(), 1u);

    settings->SetRecordsPath((root / "missing").string());
    flows().ExportReportsToXml();
    EXPECT_EQ(prompts.messages().back(), kXmlFailedText);
}

TEST_F(Exports, SiteCommandNeedsRaceInfoAndOpensTheIndex) {
    settings->SetRecordsPath("");
    flows().GenerateReportSite();
    EXPECT_EQ(prompts.messages().back(), kNoExportPathText);
    settings->SetRecordsPath(exportDir.string());
    flows().GenerateReportSite();
    EXPECT_EQ(prompts.messages().back(), kSiteNoLapText);

    document().AddLapFromLapFinder(noRaceReplay, 0, 1, 1);
    ASSERT_EQ(doc->LapCount(), 1);
    flows().GenerateReportSite();
    EXPECT_EQ(prompts.messages().back(), kSiteNoRaceInfoText);
    EXPECT_FALSE(std::filesystem::exists(exportDir / "norace"));

    doc->OnNewDocument();
    document().AddLapFromLapFinder(ovalReplay, 0, 3, 1);
    ASSERT_EQ(doc->LapCount(), 1);
    const std::size_t calls = waitBox.calls().size();
    prompts.answer(Button::Yes);
    flows().GenerateReportSite();
    const std::string folder = (exportDir / "oval").string() + "/";
    EXPECT_EQ(prompts.messages().back(),
              "Report site created in:\r\n" + folder + "\r\n\r\nDo you wish to launch the site in your browser?");
    EXPECT_EQ(prompts.shown().back().parts, ShownText("Report site created in:\r\n")
                                                .FileName(folder)
                                                .Text("\r\n\r\nDo you wish to launch the site in your browser?"));
    EXPECT_THAT(
        std::vector<std::string>(waitBox.calls().begin() + static_cast<std::ptrdiff_t>(calls), waitBox.calls().end()),
        ElementsAre("show: Please wait while generating report site...", "hide"));
    EXPECT_THAT(shell.opened(), ElementsAre(folder + "index.html"));

    settings->SetRecordsPath((root / "missing").string());
    flows().GenerateReportSite();
    EXPECT_EQ(prompts.messages().back(), kSiteFailedText);
}

}  // namespace
}  // namespace vra
