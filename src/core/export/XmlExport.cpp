// The reports of a replay as one XML file, for programs that read them
// instead of the text files.
#include "core/base/AtomicFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/text/WebText.h"

#include <pugixml.hpp>

namespace vra {

namespace {

class SinkWriter final : public pugi::xml_writer {
public:
    explicit SinkWriter(OutputSink& out) : out_(out) {}
    void write(const void* data, std::size_t size) override {
        out_.write(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size));
    }

private:
    OutputSink& out_;
};

// A report's text with the line ends of XML.
std::string XmlText(const ShownText& shown) {
    std::string text = ShownTextToXmlText(shown);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

}  // namespace

std::string Report::XmlFile(std::string_view folder) const {
    if (!drivers || folder.empty()) return {};
    std::string target(folder);
    if (target.back() != '/') target += '/';
    return target + BaseName(drivers->path.string()) + ".xml";
}

std::string Report::ExportReportsToXml(std::string_view folder, std::error_code* error) const {
    if (!header || !drivers || folder.empty()) return {};
    const std::string replay = drivers->path.string();
    const std::string target = XmlFile(folder);

    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("ReplayReports");
    root.append_attribute("replay").set_value(FileNameToXmlText(FileName(replay)).c_str());
    root.append_attribute("track").set_value(XmlText(header->trackName).c_str());
    constexpr std::pair<const char*, int> kParts[] = {{"MiscInfo", ReportKind::RaceSettings},
                                                      {"Practice", ReportKind::Practice},
                                                      {"Qualifying", ReportKind::Qualifying},
                                                      {"HappyHour", ReportKind::HappyHour},
                                                      {"Race", ReportKind::Race}};
    for (const auto& [name, reportKind] : kParts)
        root.append_child(name).text().set(XmlText(Shown(reportKind)).c_str());

    AtomicFile file(target);
    if (file.isOpen()) {
        SinkWriter writer(file);
        doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
        if (file.commit()) return target;
    }
    if (error) *error = file.error();
    return {};
}

}  // namespace vra
