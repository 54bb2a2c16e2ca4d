// The report site of a built race: its files, links and pages, names that
// carry markup, the track map as PNG, and folders that cannot take it.
#include "core/base/OutputSink.h"
#include "core/export/PngWriter.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/text/WebText.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <png.h>
#include <sstream>

namespace vra {
namespace {

using vra::test::ReadAll;

// A 3 x 2 picture: white corners, one red and one green pixel.
class FixedPicture : public ReportMapPort {
public:
    std::optional<RgbImage> TrackPicture() override {
        if (!shown) return std::nullopt;
        RgbImage image{3, 2, std::vector<std::uint8_t>(18, 255)};
        image.pixels[3] = 200, image.pixels[4] = 0, image.pixels[5] = 0;
        image.pixels[12] = 0, image.pixels[13] = 180, image.pixels[14] = 0;
        return image;
    }
    bool shown = true;
};

class ReportSite : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder b;
        b.drivers(6).session(1, 2, 60000).session(3, 3, 60000);
        b.desc.drivers[2].lastName = "<b>&";
        replay = dir / "Race 1.rpy";
        ASSERT_TRUE(b.writeFile(replay));
        ASSERT_EQ(header.Read(replay), Header::Ok);
        ASSERT_EQ(drivers.Load(replay), Drivers::LoadResult::Ok);
        report.header = &header;
        report.drivers = &drivers;
        report.mapView = &picture;
        std::filesystem::create_directories(exportDir);
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(site)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::ScratchDir dir{"site"};
    std::filesystem::path replay, exportDir = dir / "export", site = exportDir / "Race 1";
    Header header;
    Drivers drivers;
    FixedPicture picture;
    Report report;
};

TEST_F(ReportSite, PagesLinksAndTheTrackMap) {
    ASSERT_EQ(report.GenerateReportSite(exportDir.string()), site.string() + "/");
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"flags.html", "happyhour.html", "index.html", "lapbylap.html", "lapchart.html",
                                        "practice.html", "qualifying.html", "race.html", "style.css", "track.png"}));
    const std::string index = ReadAll(site / "index.html");
    EXPECT_NE(index.find("<title>DEMO - Race 1.rpy</title>"), std::string::npos);
    EXPECT_NE(index.find("<img src=\"track.png\">"), std::string::npos);
    for (const char* page : {"practice.html", "qualifying.html", "happyhour.html", "race.html", "lapchart.html",
                             "lapbylap.html", "flags.html"})
        EXPECT_NE(index.find(std::string("<a href=\"") + page + "\">"), std::string::npos) << page;
    // The race settings stand in the index, each report in its page.
    const std::string settingsLine = report.Text(ReportKind::RaceSettings).substr(0, 20);
    EXPECT_NE(index.find(settingsLine.substr(0, settingsLine.find('\r'))), std::string::npos);
    const std::string race = ReadAll(site / "race.html");
    EXPECT_NE(race.find("<a href=\"index.html\">Back</a>"), std::string::npos);
    EXPECT_NE(race.find("&lt;b&gt;&amp;"), std::string::npos);
    EXPECT_EQ(race.find("<b>&"), std::string::npos);
    EXPECT_EQ(race.find('\r'), std::string::npos);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const std::string png = ReadAll(site / "track.png");
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(pixels, picture.TrackPicture()->pixels);

    // The same pixels give the same bytes.
    ASSERT_FALSE(report.GenerateReportSite(exportDir.string()).empty());
    EXPECT_EQ(ReadAll(site / "track.png"), png);
}

TEST_F(ReportSite, WithoutAPictureOrAWritableFolder) {
    picture.shown = false;
    ASSERT_FALSE(report.GenerateReportSite(exportDir.string() + "/").empty());
    EXPECT_FALSE(std::filesystem::exists(site / "track.png"));
    EXPECT_EQ(ReadAll(site / "index.html").find("<img"), std::string::npos);

    EXPECT_EQ(report.GenerateReportSite((dir / "missing").string()), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // A page that cannot be replaced fails the site; the pages before it stay.
    const std::string style = ReadAll(site / "style.css");
    std::filesystem::remove(site / "race.html");
    std::filesystem::create_directory(site / "race.html");
    EXPECT_EQ(report.GenerateReportSite(exportDir.string()), "");
    EXPECT_EQ(ReadAll(site / "style.css"), style);
}

// The replay's name is the system's (UTF-8), not Windows-1252 like the rest
// of a report: every page and the XML spell it as the title does.
TEST_F(ReportSite, TheReplaysNameReadsAlikeInTitleAndText) {
    const std::string name = "Course r\xC3\xA9";
    std::filesystem::copy_file(replay, dir / (name + ".rpy"));
    ASSERT_EQ(header.Read(dir / (name + ".rpy")), Header::Ok);
    ASSERT_EQ(drivers.Load(dir / (name + ".rpy")), Drivers::LoadResult::Ok);

    // Saved as it is, shown as a file name.
    EXPECT_NE(report.Text(ReportKind::Race).find("\r\nReplay: " + name + ".rpy\r\n"), std::string::npos);
    const ShownText complete = report.Shown(ReportKind::Complete);
    const std::vector<ShownText::Part>& parts = complete.Parts();
    EXPECT_EQ(std::count(parts.begin(), parts.end(), ShownText::Part{name + ".rpy", true}), 5);

    ASSERT_FALSE(report.GenerateReportSite(exportDir.string()).empty());
    const std::string index = ReadAll(exportDir / name / "index.html");
    EXPECT_NE(index.find("<title>DEMO - " + name + ".rpy</title>"), std::string::npos);
    for (const char* page : {"index.html", "race.html", "flags.html"}) {
        const std::string html = ReadAll(exportDir / name / page);
        EXPECT_NE(html.find("\nReplay: " + name + ".rpy\n"), std::string::npos) << page;
        EXPECT_EQ(html.find("\xC3\x83"), std::string::npos) << page;
    }

    const std::string xml = ReadAll(report.ExportReportsToXml(exportDir.string()));
    EXPECT_NE(xml.find("replay=\"" + name + ".rpy\""), std::string::npos);
    EXPECT_NE(xml.find("<Race>Race Report\nTrack: DEMO\nReplay: " + name + ".rpy\n"), std::string::npos);
    EXPECT_EQ(xml.find("\xC3\x83"), std::string::npos);
}

// The disk fills while a site is written over an older one: the older site
// stays exactly as it was, and no page of the new one is left; where there
// was none, no folder is left.
TEST_F(ReportSite, AFullDiskLeavesTheOlderSiteAsItWas) {
    ASSERT_FALSE(report.GenerateReportSite(exportDir.string()).empty());
    std::uintmax_t largest = 0;
    std::map<std::string, std::string> older;
    for (const std::string& name : Files()) {
        largest = std::max(largest, std::filesystem::file_size(site / name));
        std::ofstream(site / name, std::ios::binary) << (older[name] = "older " + name);
    }
    {
        const test::FileSizeLimit diskFull(largest - 1);
        ASSERT_TRUE(diskFull.active());
        EXPECT_EQ(report.GenerateReportSite(exportDir.string()), "");
        EXPECT_EQ(test::FilesUnder(site), older);

        std::filesystem::remove_all(site);
        EXPECT_EQ(report.GenerateReportSite(exportDir.string()), "");
        EXPECT_TRUE(std::filesystem::is_empty(exportDir));
    }

    // A site without a picture replaces one with it whole.
    ASSERT_FALSE(report.GenerateReportSite(exportDir.string()).empty());
    picture.shown = false;
    ASSERT_FALSE(report.GenerateReportSite(exportDir.string()).empty());
    EXPECT_FALSE(std::filesystem::exists(site / "track.png"));
}

TEST(PngWriter, RefusesAnEmptyPicture) {
    MemorySink sink;
    EXPECT_FALSE(PngWriter::Write(RgbImage{}, sink));
    EXPECT_FALSE(PngWriter::Write(RgbImage{2, 2, std::vector<std::uint8_t>(5, 0)}, sink));
}

TEST(WebText, FileNamesStayUtf8WhateverTheirBytes) {
    EXPECT_EQ(FileNameToXmlText("Caf\xC3\xA9 \xF0\x9F\x8F\x81.rpy"), "Caf\u00E9 \U0001F3C1.rpy");
    EXPECT_EQ(FileNameToXmlText("a\xFF\x01"
                                "b\xC3"),
              "a\uFFFDb\uFFFD");
    // An overlong slash and a surrogate are no characters.
    EXPECT_EQ(FileNameToXmlText("\xC0\xAF\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(EscapeMarkup("<a href=\"x\">'&'</a>"), "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
}

}  // namespace
}  // namespace vra
