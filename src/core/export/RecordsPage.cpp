#include "core/export/RecordsPage.h"

#include "core/base/AtomicFile.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/export/ExportFlows.h"
#include "core/export/PersonalBests.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/settings/AppSettings.h"
#include "core/text/WebText.h"

namespace vra {

namespace {

constexpr std::string_view kStyle =
    "body { font-family: Verdana, Arial, sans-serif; font-size: 10pt; background: #ffffff; color: #000000; }\n"
    "h1 { font-size: 14pt; }\n"
    "table { border-collapse: collapse; }\n"
    "th { background: #d4d0c8; text-align: left; }\n"
    "th, td { border: 1px solid #808080; padding: 2px 6px; }\n";

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// Replay text is Windows-1252; a file name is already the system's UTF-8
// unless a disc database kept the bytes it was written with.
std::string Cell(std::string_view text, bool fileName) {
    if (fileName && IsUtf8(text)) return EscapeMarkup(text);
    return EscapeMarkup(Cp1252ToXmlText(text));
}

std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.back() != '/') path += '/';
    return path + std::string(name);
}

}  // namespace

std::string WriteRecordsPage(std::string_view folder, const PersonalBests& bests) {
    if (folder.empty()) return {};
    std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Records</title>\n"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">\n</head>\n<body>\n<h1>Records</h1>\n";
    page += "<p>" + EscapeMarkup(std::string(PersonalBests::kSourcesLine)) + "</p>\n";
    if (const std::string unread = bests.UnreadableText(); !unread.empty()) page += "<p>" + unread + "</p>\n";
    page += "<table>\n<tr>";
    for (std::string_view heading : PersonalBests::kHeadings) page += "<th>" + std::string(heading) + "</th>";
    page += "</tr>\n";
    for (const PersonalBest& row : bests.Rows()) {
        page += "<tr>";
        for (int c = 0; c < PersonalBest::kColumns; ++c)
            page += "<td>" + Cell(row.text[std::size_t(c)], c == PersonalBest::kColumns - 1) + "</td>";
        page += "</tr>\n";
    }
    page += "</table>\n</body>\n</html>\n";

    const std::string target = Join(folder, "records.html");
    if (!WriteFileAtomic(Join(folder, "style.css"), kStyle)) return {};
    if (!WriteFileAtomic(target, page)) return {};
    return target;
}

void ExportRecordsPage(CRpyGraphDoc& doc, const PersonalBests& bests, Prompts& prompts, Shell& shell) {
    const std::string folder = doc.Settings().RecordsPath();
    if (folder.empty()) {
        prompts.alert(kNoExportPathText);
        return;
    }
    const std::string path = WriteRecordsPage(folder, bests);
    if (path.empty()) {
        prompts.alert(kRecordsFailedText);
        return;
    }
    if (prompts.messageText(ShownText("Records page created:\r\n")
                                .FileName(path)
                                .Text("\r\n\r\nDo you wish to launch the page in your browser?"),
                            {}, Icon::Question, Buttons::YesNo) == Button::Yes)
        shell.open(path);
}

}  // namespace vra
