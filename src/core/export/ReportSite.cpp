// The reports of a replay as a small web site: an index with the race
// settings, the track map and links, one page per report, a style sheet.
#include "core/base/AtomicFile.h"
#include "core/export/PngWriter.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/text/WebText.h"

#include <filesystem>

namespace vra {

namespace {

constexpr std::string_view kStyle =
    "body { font-family: sans-serif; background: #ffffff; color: #000000; margin: 1em 2em; }\n"
    "h1 { font-size: 1.4em; }\n"
    "pre { font-family: monospace; font-size: 0.9em; }\n"
    "a { color: #1f4e9a; }\n"
    "ul.pages { list-style: none; padding: 0; }\n"
    "img { border: 1px solid #808080; }\n";

struct Page {
    const char* file;
    int kind;
};
constexpr Page kPages[] = {{"practice.html", ReportKind::Practice},   {"qualifying.html", ReportKind::Qualifying},
                           {"happyhour.html", ReportKind::HappyHour}, {"race.html", ReportKind::Race},
                           {"lapchart.html", ReportKind::LapChart},   {"lapbylap.html", ReportKind::LapByLap},
                           {"flags.html", ReportKind::Flags}};

// Text of a report or replay ready to stand in a page: Windows-1252, but for
// the file names in it.
std::string Html(const ShownText& shown) {
    std::string out;
    const std::string text = EscapeMarkup(ShownTextToXmlText(shown));
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::string PageHead(const std::string& title) {
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
           "</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n<h1>" + title + "</h1>\n";
}

constexpr std::string_view kPageEnd = "</body>\n</html>\n";

constexpr std::string_view kStyleFile = "style.css";
constexpr std::string_view kPictureFile = "track.png";
constexpr std::string_view kIndexFile = "index.html";

}  // namespace

std::string Report::SiteFolder(std::string_view folder) const {
    if (!drivers || folder.empty()) return {};
    // The file's own name as this system splits it: a "\" is a letter of it,
    // or a replay named "a\.." would put its site above the folder. A name
    // that is all extension (".rpy", "..rpy") keeps it: the site never lands
    // in the export folder or above it, over what else is kept there.
    const std::string file = drivers->path.filename().string();
    std::string name = file.substr(0, file.find_last_of('.'));
    const auto isNoName = [](const std::string& n) { return n.empty() || n == "." || n == ".."; };
    if (isNoName(name)) name = file;
    if (isNoName(name)) return {};
    std::string site(folder);
    if (site.back() != '/') site += '/';
    return site + name + "/";
}

std::string Report::GenerateReportSite(std::string_view folder, std::error_code* error, std::string* failedPath) const {
    if (!header || !drivers || folder.empty()) return {};
    std::error_code ignored;
    std::error_code& ec = error ? *error : ignored;
    const std::string replay = drivers->path.string();
    const std::string site = SiteFolder(folder);
    if (site.empty()) {
        ec = std::make_error_code(std::errc::invalid_argument);
        if (failedPath) *failedPath = replay;
        return {};
    }
    // The site is replaced as a whole: a page of a new site never stands
    // beside the index of an older one. On failure error takes the set's
    // first reason.
    AtomicFileSet files;
    const auto failed = [&] {
        ec = files.error();
        if (failedPath) *failedPath = files.failedPath().string();
        return std::string();
    };
    if (!files.makeFolder(site)) return failed();

    const std::string title = Html(header->trackName) + " - " + EscapeMarkup(FileNameToXmlText(FileName(replay)));
    std::optional<RgbImage> picture = mapView ? mapView->TrackPicture() : std::nullopt;
    if (picture && !picture->Valid()) picture.reset();

    std::string index = PageHead(title);
    index += "<pre>" + Html(Shown(ReportKind::RaceSettings)) + "</pre>\n";
    if (picture) index += "<p><img src=\"track.png\"></p>\n";
    index += "<ul class=\"pages\">\n";
    for (const Page& page : kPages)
        index += std::string("<li><a href=\"") + page.file + "\">" + Html(Title(page.kind)) + "</a></li>\n";
    index += "</ul>\n";
    index += kPageEnd;

    if (!files.add(site + std::string(kStyleFile), kStyle)) return failed();
    for (const Page& page : kPages) {
        std::string html = PageHead(title + " - " + Html(Title(page.kind)));
        html += "<p><a href=\"index.html\">Back</a></p>\n<pre>" + Html(Shown(page.kind)) + "</pre>\n";
        html += "<p><a href=\"index.html\">Back</a></p>\n";
        html += kPageEnd;
        if (!files.add(site + page.file, html)) return failed();
    }
    const std::string pictureFile = site + std::string(kPictureFile);
    if (!picture)
        files.removeOnCommit(pictureFile);
    else if (!files.add(pictureFile, [&](OutputSink& out) { return PngWriter::Write(*picture, out); }))
        return failed();
    if (!files.add(site + std::string(kIndexFile), index) || !files.commit()) return failed();
    return site;
}

}  // namespace vra
