// The report window and the rich-text control, offscreen: what they show,
// the saved bytes and the printed page.
#include "gui/reports/ReportDlg.h"

#include "core/document/ReplayFiles.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "gui/platform/Cp1252.h"
#include "gui/reports/CAutoRichEditCtrl.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/FileText.h"
#include "support/ScratchDir.h"
#include "support/platform/ScriptedPrompts.h"

#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vra {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using vra::test::ReadAll;

class ReportWindow : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder b;
        b.drivers(3).session(3, 2, 60000);
        b.desc.drivers[1].lastName = "M\xFCller";
        ASSERT_TRUE(b.writeFile(dir / "r1.rpy"));
        ASSERT_EQ(header.Read(dir / "r1.rpy"), Header::Ok);
        ASSERT_EQ(drivers.Load(dir / "r1.rpy"), Drivers::LoadResult::Ok);
        report.header = &header;
        report.drivers = &drivers;
        report.kind = ReportKind::Race;
    }
    test::ScratchDir dir{"report-window"};
    Header header;
    Drivers drivers;
    Report report;
    test::ScriptedPrompts prompts;
};

TEST_F(ReportWindow, ShowsTheTextInAFixedFontAndSavesItsExactBytes) {
    ReportDlg window(report, prompts);
    EXPECT_TRUE(QFontInfo(window.TextBox()->font()).fixedPitch());
    EXPECT_EQ(window.TextBox()->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(window.TextBox()->isReadOnly());
    EXPECT_THAT(window.TextBox()->toPlainText().toStdString(), HasSubstr("Driver1 M\xC3\xBCller"));

    prompts.saveFileAnswer(dir / "saved.txt");
    window.OnSaveAs();
    ASSERT_EQ(prompts.saveFileRequests().size(), 1u);
    EXPECT_EQ(prompts.saveFileRequests()[0].defaultName, ShownText().FileName("r1_Race.txt"));
    EXPECT_EQ(prompts.saveFileRequests()[0].filters[0].label, "Text files (*.txt)");
    EXPECT_EQ(ReadAll(dir / "saved.txt"), report.Text());
    EXPECT_THAT(ReadAll(dir / "saved.txt"), HasSubstr("M\xFCller"));

    // Where the file cannot be replaced, what stood there stays.
    std::filesystem::create_directories(dir / "taken.txt");
    std::ofstream(dir / "taken.txt" / "old") << "old";
    prompts.saveFileAnswer(dir / "taken.txt");
    window.OnSaveAs();
    EXPECT_THAT(prompts.messages(), ElementsAre("Error creating file!"));
    EXPECT_EQ(ReadAll(dir / "taken.txt" / "old"), "old");

    Report loose;
    loose.kind = ReportKind::Speed;
    EXPECT_EQ(ReportDlg(loose, prompts).DefaultFileName(), "Report.txt");
    report.kind = ReportKind::DetailedRace;
    EXPECT_EQ(ReportDlg(report, prompts).DefaultFileName(), "r1_Report.txt");
}

TEST_F(ReportWindow, ShowsTheReplaysNameAsTheSystemSpellsIt) {
    std::filesystem::copy_file(dir / "r1.rpy", dir / "r\xC3\xA9.rpy");
    ASSERT_EQ(header.Read(dir / "r\xC3\xA9.rpy"), Header::Ok);
    ReportDlg window(report, prompts);
    EXPECT_TRUE(window.TextBox()->toPlainText().contains(QString::fromUtf8("\nReplay: r\u00E9.rpy\n")));
    EXPECT_TRUE(window.TextBox()->toPlainText().contains(QString::fromUtf8("Driver1 M\u00FCller")));
    // So does the name Save As proposes.
    prompts.saveFileAnswer(std::nullopt);
    window.OnSaveAs();
    ASSERT_EQ(prompts.saveFileRequests().size(), 1u);
    EXPECT_EQ(ShownTextToQString(prompts.saveFileRequests()[0].defaultName), QString::fromUtf8("r\u00E9_Race.txt"));
}

// A name typed without ".txt" gets it, and a file of the name so made is
// replaced only when the user says Yes; No goes back to the dialog.
TEST_F(ReportWindow, SaveAsAppendsTheExtensionAndAsksBeforeReplacing) {
    ReportDlg window(report, prompts);
    prompts.saveFileAnswer(dir / "race_saved");
    window.OnSaveAs();
    EXPECT_FALSE(std::filesystem::exists(dir / "race_saved"));
    EXPECT_EQ(ReadAll(dir / "race_saved.txt"), report.Text());
    EXPECT_THAT(prompts.log(), ElementsAre("saveFile: r1_Race.txt"));

    const std::string own = "the user's own file";
    std::ofstream(dir / "race_saved.txt", std::ios::binary) << own;
    prompts.saveFileAnswer(dir / "race_saved").answer(Button::No).saveFileAnswer(std::nullopt);
    window.OnSaveAs();
    EXPECT_EQ(ReadAll(dir / "race_saved.txt"), own);
    EXPECT_THAT(prompts.log(),
                ElementsAre(::testing::_, "saveFile: r1_Race.txt",
                            "message: race_saved.txt" + std::string(kReplaceQuestion), "saveFile: race_saved"));

    prompts.saveFileAnswer(dir / "race_saved").answer(Button::Yes);
    window.OnSaveAs();
    EXPECT_EQ(ReadAll(dir / "race_saved.txt"), report.Text());
}

TEST_F(ReportWindow, PrintsTheRowsToAPdf) {
    ReportDlg window(report, prompts);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto pdf = dir / "report.pdf";
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    window.PrintTo(printer);
    const std::string cmd = "pdftotext -layout '" + pdf.string() + "' '" + (dir / "report.txt").string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string text = ReadAll(dir / "report.txt");
    EXPECT_THAT(text, HasSubstr("Race Report"));
    EXPECT_THAT(text, HasSubstr("Alex Morgan"));
    EXPECT_THAT(text, HasSubstr("+0:00.500"));
}

// A text's words, single-spaced, one string a line.
std::vector<std::string> Rows(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string row;
        for (std::string word; words >> word;) row += (row.empty() ? "" : " ") + word;
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

// The race report's rows, 87 characters, are the widest of the reports' tables.
TEST_F(ReportWindow, PrintsEveryRowOfTheWidestReportOnOneLine) {
    ReportDlg window(report, prompts);
    const std::vector<std::string> rows = Rows(Cp1252ToQString(report.Text()).toStdString());
    ASSERT_GE(rows.size(), 4u);
    for (const auto& [name, size] : {std::pair{"A4", QPageSize::A4}, std::pair{"Letter", QPageSize::Letter}}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(size));
        const auto pdf = dir / (std::string(name) + ".pdf");
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        window.PrintTo(printer);
        const std::string cmd = "pdftotext -layout '" + pdf.string() + "' '" + (dir / "printed.txt").string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        const std::vector<std::string> printed = Rows(ReadAll(dir / "printed.txt"));
        for (const std::string& row : rows) EXPECT_THAT(printed, Contains(row)) << name;
    }
}

TEST(AutoRichEdit, ShowsBoldRunsAndParagraphs) {
    CAutoRichEditCtrl control;
    control.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}Plain {\\b Bold}\\par Next}");
    EXPECT_TRUE(control.isReadOnly());
    EXPECT_EQ(control.toPlainText(), QStringLiteral("Plain Bold\nNext"));
    QTextCursor cursor(control.document());
    cursor.setPosition(8);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    cursor.setPosition(3);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Normal);
    control.SetRTF("Again");
    EXPECT_EQ(control.toPlainText(), QStringLiteral("Again"));
}

}  // namespace
}  // namespace vra
