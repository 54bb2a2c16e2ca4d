#pragma once
// The text reports of a replay or of the loaded laps: one object per report,
// built for one kind (1 to 18) and asked for its text. The texts are
// Windows-1252 bytes with "\r\n" line ends, numbers written in the C locale,
// so that a saved report reads the same on every system.

#include "core/base/RgbImage.h"
#include "core/text/ShownText.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace vra {

class AppSettings;
class CRpyGraphDoc;
class Drivers;
class Header;
class Prompts;

// The user's switches that shape a report, taken from the document's copies
// or, without a window, from the settings object.
struct ReportSettings {
    int useNickNames = 0;     // nicknames instead of names in online races
    int damageInfo = 0;       // damage info asked for in the race report
    int offTrackRemoved = 1;  // no "Off track" incidents in the lap by lap report
    int speedUnit = 1;        // 1 miles per hour, else kilometres per hour
    std::string simFolder;    // where tracks/<name>/track.ini is looked for

    static ReportSettings FromDocument(const CRpyGraphDoc& doc);
    static ReportSettings FromAppSettings(const AppSettings& settings);
};

// What the map view offers to the exports that draw the track; the reports
// themselves draw nothing.
class ReportMapPort {
public:
    virtual ~ReportMapPort() = default;
    // The track map for the report site; nullopt when there is none.
    virtual std::optional<RgbImage> TrackPicture() { return std::nullopt; }
};

// The report kinds, as the report commands number them.
namespace ReportKind {
inline constexpr int Qualifying = 1;
inline constexpr int Race = 2;
inline constexpr int LapChart = 3;
inline constexpr int LapByLap = 4;
inline constexpr int Complete = 5;
inline constexpr int Mechanical = 6;
inline constexpr int EngineDetection = 7;
inline constexpr int DetailedRace = 8;
inline constexpr int LaptimeVerifier = 9;
inline constexpr int SectorTimes = 10;
inline constexpr int Practice = 11;
inline constexpr int HappyHour = 12;
inline constexpr int RaceSettings = 13;
inline constexpr int Flags = 14;
inline constexpr int Speed = 15;
inline constexpr int CarFile = 16;
inline constexpr int Ratings = 17;
inline constexpr int ThrottleBrake = 18;
}  // namespace ReportKind

inline constexpr std::string_view kReportFileErrorText = "Error creating file!";

class Report {
public:
    // 1 when built without the main window's views (batch exports).
    int batch = 0;
    // The replay the report reads; not owned, null for the document kinds.
    const Header* header = nullptr;
    const Drivers* drivers = nullptr;
    // The loaded laps; may be null for a replay report in batch.
    const CRpyGraphDoc* document = nullptr;
    int kind = 0;
    ReportMapPort* mapView = nullptr;
    ReportSettings settings;
    // Where failures of WriteAllTextReports are told; may be null.
    Prompts* prompts = nullptr;

    static std::string Title(int kind);
    // The end of a saved report's file name after the replay's base name.
    static std::string FileSuffix(int kind);
    // The file name of a replay path: after its last "/" or "\".
    static std::string FileName(std::string_view path);
    // That name without its extension.
    static std::string BaseName(std::string_view path);
    // Whether a kind reads the replay (Header and Drivers) or the document.
    static bool IsReplayKind(int kind);

    // The text of this report's kind, or of another kind of the same replay.
    std::string Text() const { return Text(kind); }
    std::string Text(int reportKind) const;
    // The same text as it is shown: the replay's file name a part of its own,
    // in the system's encoding, the rest Windows-1252. Text() is its bytes.
    ShownText Shown() const { return Shown(kind); }
    ShownText Shown(int reportKind) const;

    // Writes the replay's text reports as prefix + base name + suffix, all
    // files replaced together or none. The file that cannot be written is
    // named to the prompts; the old files then stay as they were. True when
    // every file was written.
    bool WriteAllTextReports(std::string_view prefix, int mechanical) const;
    // The files it writes.
    std::vector<std::string> TextReportFiles(std::string_view prefix, int mechanical) const;

    // The exports of the replay (built with the export library). Each file
    // is replaced whole or not at all; error, when given, receives the
    // system's reason of a failure.
    // Writes folder/<replay base name>.xml holding the misc info, practice,
    // qualifying, happy hour and race reports; its path, or "" on failure.
    std::string ExportReportsToXml(std::string_view folder, std::error_code* error = nullptr) const;
    // The file it writes.
    std::string XmlFile(std::string_view folder) const;
    // Writes the HTML pages of the reports, a style sheet and the track map
    // (from mapView, when it has one) into SiteFolder(folder); that folder
    // with its trailing "/", or "" when the folder could not be made or a
    // file not written: then an older site there is as it was, and nothing
    // new is left. A site without a picture removes an older one's.
    // failedPath, when given, receives the file or folder that failed.
    std::string GenerateReportSite(std::string_view folder, std::error_code* error = nullptr,
                                   std::string* failedPath = nullptr) const;
    // The site's own folder, with its trailing "/": one folder below folder,
    // named after the replay's file (the part after its last "/") without its
    // extension, or the whole file name where that leaves "", "." or "..".
    // Never folder itself or above it: "" when no such name can be made.
    std::string SiteFolder(std::string_view folder) const;

private:
    std::string body(int reportKind) const;
    ShownText heading(int reportKind) const;
    std::string sessionBody(int session) const;
    std::string raceBody() const;
    std::string lapChartBody() const;
    std::string lapByLapBody() const;
    std::string mechanicalBody() const;
    std::string raceSettingsBody() const;
    std::string flagBody() const;
    std::string carFileBody() const;
    std::string ratingsBody() const;
    std::string verifierBody() const;
    std::string sectorBody() const;
    std::string speedBody() const;
    std::string pedalBody() const;
    std::string driverName(int driver) const;
    // Metres, from the track.ini of the replay's track; nullopt without one.
    std::optional<double> trackLength() const;

    mutable std::optional<std::optional<double>> trackLength_;
};

}  // namespace vra
