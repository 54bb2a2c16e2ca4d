#include "core/reports/Report.h"

#include "core/base/AtomicFile.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/CarNumberText.h"
#include "core/document/LapChooserInfo.h"
#include "core/document/LapQualityReport.h"
#include "core/document/SeriesName.h"
#include "core/document/TrackIni.h"
#include "core/graphs/ChannelBuilders.h"
#include "core/platform/Prompts.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"
#include "core/text/LapTime.h"
#include "core/track/TrackPath.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <span>
#include <vector>

namespace vra {

namespace {

constexpr const char* kSessionNames[kSessionKinds] = {"Practice", "Qualifying", "Happy Hour", "Race"};
constexpr double kKphToMph = 0.6213722922;
constexpr std::string_view kNoSpeedsText = "Speeds not shown: track.ini of this track was not found.";
constexpr std::string_view kUnofficialText = "Finishing order and last lap info is unofficial";
constexpr std::string_view kNoDamageText =
    "Damage info is not available: the replay's car status records are not decoded.";
constexpr std::string_view kNoFailuresText =
    "Failures and damage are not available: the replay's car status records are not decoded.";
constexpr std::string_view kNoEngineText =
    "Engine detection is not available: the replay's car status records are not decoded.";
constexpr std::string_view kNoRatingsText = "Driver ratings are not recorded in this replay's driver table.";

// Appends one line without trailing blanks.
void Line(std::string& out, std::string_view line) {
    const auto end = line.find_last_not_of(' ');
    out.append(line.substr(0, end == std::string_view::npos ? 0 : end + 1));
    out += "\r\n";
}

// A line that names a file: the name stays a file-name part, as the system
// spells it, until the text is shown.
void FileLine(ShownText& out, std::string_view label, std::string_view name) {
    const auto end = name.find_last_not_of(' ');
    name = name.substr(0, end == std::string_view::npos ? 0 : end + 1);
    std::string line;
    if (name.empty()) {
        Line(line, label);
        out.Text(line);
        return;
    }
    out.Text(label).FileName(name).Text("\r\n");
}

// Appends a text part by part, each keeping its kind.
void Append(ShownText& out, const ShownText& text) {
    for (const ShownText::Part& part : text.Parts()) {
        if (part.fileName)
            out.FileName(part.bytes);
        else
            out.Text(part.bytes);
    }
}

// A name padded to its column. Replay text is Windows-1252, one byte one
// column: {fmt}'s own padding would read bytes that happen to form UTF-8 as
// one wide character and shift every column behind the name.
std::string Column(std::string_view text, std::size_t width) {
    std::string out(text);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

// A sum of lap times, which may outgrow the 28 bits of one lap word.
std::string FormatTotal(std::uint64_t ms) {
    return fmt::format("{}m {:02}.{:03}s", ms / 60000, (ms / 1000) % 60, ms % 1000);
}

std::string NoSessionText(int session) {
    return fmt::format("This replay holds no {} session.", kSessionNames[session]);
}

// Says so when the replay holds no such session; true then.
bool SessionMissing(std::string& out, const Drivers& drivers, int session) {
    if (drivers.sessionPresent[static_cast<std::size_t>(session)]) return false;
    Line(out, NoSessionText(session));
    return true;
}

// A driver's laps in one session: the count (bounded by the table) and the
// time at which each line was crossed, summed in 64 bits over the laps he
// drove, never over the fill words behind them.
struct DriverLaps {
    int count = 0;
    std::vector<std::uint64_t> crossing;  // [0] the start stamp, [L] the end of lap L
    std::uint64_t total = 0;              // the sum of laps 1..count
    std::optional<std::uint32_t> best;    // the quickest complete lap, ms
};

DriverLaps LapsOf(const Drivers& drivers, int session, int driver) {
    DriverLaps laps;
    laps.count = std::clamp(drivers.LapCount(session, driver), 0, kMaxLaps);
    laps.crossing.resize(static_cast<std::size_t>(laps.count) + 1);
    std::uint64_t t = drivers.LapWordAt(session, driver, 0) & LapWord::TimeMask;
    laps.crossing[0] = t;
    for (int lap = 1; lap <= laps.count; ++lap) {
        const std::uint32_t word = drivers.LapWordAt(session, driver, lap);
        const std::uint32_t ms = word & LapWord::TimeMask;
        t += ms;
        laps.total += ms;
        laps.crossing[static_cast<std::size_t>(lap)] = t;
        if ((word & LapWord::Incomplete) == 0 && (!laps.best || ms < *laps.best)) laps.best = ms;
    }
    return laps;
}

// A driver as the reports name him: his online name when the user asks for
// nicknames in an online race and he has one.
std::string NameOf(const Drivers& drivers, int driver, const ReportSettings& settings) {
    const Drivers::Driver& d = drivers.drivers[static_cast<std::size_t>(driver)];
    if (settings.useNickNames && drivers.onlineRace && !d.nickname.empty()) return d.nickname;
    return d.firstName + " " + d.lastName;
}

bool Competes(const Drivers::Driver& d) {
    return d.type != DriverNonCompeting;
}

struct DriverRow {
    int driver;
    DriverLaps laps;
};

// The competing drivers' laps in one session, in driver order.
std::vector<DriverRow> CompetingLaps(const Drivers& drivers, int session) {
    std::vector<DriverRow> rows;
    for (int i = 0; i < static_cast<int>(drivers.drivers.size()); ++i)
        if (Competes(drivers.drivers[static_cast<std::size_t>(i)])) rows.push_back({i, LapsOf(drivers, session, i)});
    return rows;
}

std::string CarNumber(const Drivers::Driver& d) {
    return CarNumberText(static_cast<std::int16_t>(d.carNumber));
}

std::string Incidents(std::uint32_t word, bool offTrackShown) {
    std::string text;
    auto add = [&](std::uint32_t bit, std::string_view what) {
        if ((word & bit) == 0) return;
        if (!text.empty()) text += ", ";
        text += what;
    };
    add(LapWord::Pitted, "Pitted");
    if (offTrackShown) add(LapWord::OffTrack, "Off track");
    add(LapWord::BlackFlag, "Black flag");
    add(LapWord::Incomplete, "Incomplete");
    return text;
}

std::string DriverTypeText(int type) {
    switch (type) {
        case DriverHuman:
            return "Human";
        case DriverAi:
            return "AI-car";
        default:
            return "Non-competing";
    }
}

// Collects what the race model would show in boxes: a report tells its
// failure in its own text.
class QuietPrompts final : public Prompts {
public:
    Button message(std::string_view, std::string_view, Icon, Buttons) override { return Button::Ok; }
    std::optional<std::filesystem::path> openFile(const OpenFileRequest&) override { return std::nullopt; }
    std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { return std::nullopt; }
    SettingsDialogResult editSettings(const SettingsDialogRequest&) override { return {}; }
};

// What the complete report holds, in its order.
constexpr std::array<int, 4> kCompleteParts = {ReportKind::Qualifying, ReportKind::Race, ReportKind::LapChart,
                                               ReportKind::LapByLap};

struct KindInfo {
    int kind;
    const char* title;
    const char* suffix;  // of the saved file; null: the general one
};

constexpr std::array<KindInfo, 18> kKinds = {{
    {ReportKind::Qualifying, "Qualifying Report", "_Qual.txt"},
    {ReportKind::Race, "Race Report", "_Race.txt"},
    {ReportKind::LapChart, "Lap Chart", "_LapChart.txt"},
    {ReportKind::LapByLap, "Lap by Lap Report", "_LapByLap.txt"},
    {ReportKind::Complete, "Complete Report", "_Complete.txt"},
    {ReportKind::Mechanical, "Mechanical Report", "_Mechanical.txt"},
    {ReportKind::EngineDetection, "Engine Detection", nullptr},
    {ReportKind::DetailedRace, "Detailed Race Report", nullptr},
    {ReportKind::LaptimeVerifier, "Online Laptime Verifier", nullptr},
    {ReportKind::SectorTimes, "Sector Times", nullptr},
    {ReportKind::Practice, "Practice Report", "_Practice.txt"},
    {ReportKind::HappyHour, "Happy Hour Report", "_HappyHour.txt"},
    {ReportKind::RaceSettings, "Race Settings", "_MiscInfo.txt"},
    {ReportKind::Flags, "Flag Report", "_Flag.txt"},
    {ReportKind::Speed, "Speed Report", nullptr},
    {ReportKind::CarFile, "Car File Report", nullptr},
    {ReportKind::Ratings, "Ratings Report", nullptr},
    {ReportKind::ThrottleBrake, "Throttle/Brake Use", nullptr},
}};

const KindInfo* InfoOf(int kind) {
    for (const KindInfo& k : kKinds)
        if (k.kind == kind) return &k;
    return nullptr;
}

}  // namespace

ReportSettings ReportSettings::FromDocument(const CRpyGraphDoc& doc) {
    ReportSettings s;
    s.useNickNames = doc.UseNickNameInReports();
    s.damageInfo = doc.RetireInRaceReport();
    s.offTrackRemoved = doc.OffTheTrackInRaceReport();
    s.speedUnit = doc.SpeedUnit();
    s.simFolder = doc.SimFolder();
    return s;
}

ReportSettings ReportSettings::FromAppSettings(const AppSettings& settings) {
    ReportSettings s;
    s.useNickNames = settings.UseNickNameInReports();
    s.damageInfo = settings.RetireInRaceReport();
    s.offTrackRemoved = settings.OffTheTrackInRaceReport();
    s.speedUnit = settings.Mph();
    s.simFolder = settings.SimFolder();
    return s;
}

std::string Report::Title(int kind) {
    const KindInfo* info = InfoOf(kind);
    return info ? info->title : "Report";
}

std::string Report::FileSuffix(int kind) {
    const KindInfo* info = InfoOf(kind);
    return info && info->suffix ? info->suffix : "_Report.txt";
}

std::string Report::FileName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Report::BaseName(std::string_view path) {
    std::string name = FileName(path);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

bool Report::IsReplayKind(int kind) {
    return kind != ReportKind::LaptimeVerifier && kind != ReportKind::SectorTimes && kind != ReportKind::Speed &&
           kind != ReportKind::ThrottleBrake;
}

std::string Report::Text(int reportKind) const {
    return Shown(reportKind).Bytes();
}

ShownText Report::Shown(int reportKind) const {
    ShownText out = heading(reportKind);
    if (IsReplayKind(reportKind) && (!header || !drivers)) return out;
    switch (reportKind) {
        case ReportKind::Complete:
            for (int part : kCompleteParts) {
                out.Text("\r\n");
                Append(out, Shown(part));
            }
            return out;
        case ReportKind::DetailedRace:
            return out.Text(raceBody() + lapByLapBody());
        default:
            return out.Text(body(reportKind));
    }
}

ShownText Report::heading(int reportKind) const {
    ShownText out;
    std::string lines;
    Line(lines, Title(reportKind));
    if (IsReplayKind(reportKind) && header && drivers) {
        Line(lines, "Track: " + header->trackName);
        FileLine(out.Text(lines), "Replay: ", FileName(header->path.string()));
        lines.clear();
        Line(lines, "Date: " + drivers->fileDate);
    }
    Line(lines, "");
    return out.Text(lines);
}

std::string Report::body(int reportKind) const {
    switch (reportKind) {
        case ReportKind::Practice:
            return sessionBody(Practice);
        case ReportKind::Qualifying:
            return sessionBody(Qualifying);
        case ReportKind::HappyHour:
            return sessionBody(HappyHour);
        case ReportKind::Race:
            return raceBody();
        case ReportKind::LapChart:
            return lapChartBody();
        case ReportKind::LapByLap:
            return lapByLapBody();
        case ReportKind::Mechanical:
            return mechanicalBody();
        case ReportKind::EngineDetection: {
            std::string out;
            Line(out, kNoEngineText);
            return out;
        }
        case ReportKind::RaceSettings:
            return raceSettingsBody();
        case ReportKind::Flags:
            return flagBody();
        case ReportKind::CarFile:
            return carFileBody();
        case ReportKind::Ratings:
            return ratingsBody();
        case ReportKind::LaptimeVerifier:
            return verifierBody();
        case ReportKind::SectorTimes:
            return sectorBody();
        case ReportKind::Speed:
            return speedBody();
        case ReportKind::ThrottleBrake:
            return pedalBody();
        default:
            return {};
    }
}

std::string Report::driverName(int driver) const {
    return NameOf(*drivers, driver, settings);
}

std::optional<double> Report::trackLength() const {
    if (!trackLength_) {
        std::optional<double> length;
        if (header) length = ReadTrackIniLength(settings.simFolder, header->trackName);
        if (length && !(*length > 0.0)) length.reset();
        trackLength_ = length;
    }
    return *trackLength_;
}

std::string Report::sessionBody(int session) const {
    std::string out;
    if (SessionMissing(out, *drivers, session)) return out;
    const std::optional<double> length = trackLength();
    if (!length) Line(out, kNoSpeedsText);
    if (length)
        Line(out,
             fmt::sprintf("%3s  %4s  %-33s  %11s  %10s  %4s", "Pos", "No.", "Driver", "Best lap", "Speed", "Laps"));
    else
        Line(out, fmt::sprintf("%3s  %4s  %-33s  %11s  %4s", "Pos", "No.", "Driver", "Best lap", "Laps"));

    std::vector<DriverRow> rows = CompetingLaps(*drivers, session);
    std::stable_sort(rows.begin(), rows.end(), [](const DriverRow& a, const DriverRow& b) {
        if (a.laps.best.has_value() != b.laps.best.has_value()) return a.laps.best.has_value();
        return a.laps.best && *a.laps.best < *b.laps.best;
    });
    int pos = 0;
    for (const DriverRow& r : rows) {
        const Drivers::Driver& d = drivers->drivers[static_cast<std::size_t>(r.driver)];
        const std::string best = r.laps.best ? FormatLapTime(*r.laps.best) : std::string("No time");
        std::string speed;
        if (length && r.laps.best && *r.laps.best > 0) {
            double v = *length / (*r.laps.best * 0.001) * 3.6;
            if (settings.speedUnit == 1) v *= kKphToMph;
            speed = LapSpeedText(v) + (settings.speedUnit == 1 ? "mph" : "kph");
        }
        ++pos;
        if (length)
            Line(out, fmt::sprintf("%3d  %4s  %s  %11s  %10s  %4d", pos, CarNumber(d), Column(driverName(r.driver), 33),
                                   best, speed, r.laps.count));
        else
            Line(out, fmt::sprintf("%3d  %4s  %s  %11s  %4d", pos, CarNumber(d), Column(driverName(r.driver), 33), best,
                                   r.laps.count));
    }
    return out;
}

std::string Report::raceBody() const {
    std::string out;
    if (SessionMissing(out, *drivers, Race)) return out;
    if (!drivers->IsRaceOfficial()) Line(out, kUnofficialText);
    if (settings.damageInfo) Line(out, kNoDamageText);
    Line(out, fmt::sprintf("%3s  %4s  %-33s  %4s  %11s  %9s  %11s", "Pos", "No.", "Driver", "Laps", "Total time",
                           "Behind", "Best lap"));
    std::vector<DriverRow> rows = CompetingLaps(*drivers, Race);
    std::stable_sort(rows.begin(), rows.end(), [](const DriverRow& a, const DriverRow& b) {
        if (a.laps.count != b.laps.count) return a.laps.count > b.laps.count;
        return a.laps.crossing.back() < b.laps.crossing.back();
    });
    int pos = 0;
    for (const DriverRow& r : rows) {
        const Drivers::Driver& d = drivers->drivers[static_cast<std::size_t>(r.driver)];
        std::string behind;
        if (pos > 0) {
            const DriverLaps& leader = rows.front().laps;
            const int down = leader.count - r.laps.count;
            if (down == 0)
                behind = "+" + FormatRaceGap(r.laps.crossing.back() - leader.crossing.back());
            else
                behind = down == 1 ? std::string("+1 lap") : fmt::format("+{} laps", down);
        }
        ++pos;
        Line(out, fmt::sprintf("%3d  %4s  %s  %4d  %11s  %9s  %11s", pos, CarNumber(d),
                               Column(driverName(r.driver), 33), r.laps.count, FormatTotal(r.laps.total), behind,
                               r.laps.best ? FormatLapTime(*r.laps.best) : std::string("No time")));
    }
    return out;
}

namespace {

// The competing drivers who crossed line `lap` of the race, in the order
// they crossed it (the lower driver index first on a tie).
std::vector<int> CrossingOrder(const Drivers& drivers, const std::vector<DriverLaps>& laps, int lap) {
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(laps.size()); ++i)
        if (Competes(drivers.drivers[static_cast<std::size_t>(i)]) && laps[static_cast<std::size_t>(i)].count >= lap)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return laps[static_cast<std::size_t>(a)].crossing[static_cast<std::size_t>(lap)] <
               laps[static_cast<std::size_t>(b)].crossing[static_cast<std::size_t>(lap)];
    });
    return order;
}

std::vector<DriverLaps> RaceLaps(const Drivers& drivers, int& maxLaps) {
    std::vector<DriverLaps> laps;
    maxLaps = 0;
    for (int i = 0; i < static_cast<int>(drivers.drivers.size()); ++i) {
        laps.push_back(LapsOf(drivers, Race, i));
        if (Competes(drivers.drivers[static_cast<std::size_t>(i)])) maxLaps = std::max(maxLaps, laps.back().count);
    }
    return laps;
}

}  // namespace

std::string Report::lapChartBody() const {
    std::string out;
    if (SessionMissing(out, *drivers, Race)) return out;
    int maxLaps = 0;
    const std::vector<DriverLaps> laps = RaceLaps(*drivers, maxLaps);
    for (int lap = 1; lap <= maxLaps; ++lap) {
        std::string line = fmt::format("Lap {}:", lap);
        for (int d : CrossingOrder(*drivers, laps, lap))
            line += " " + CarNumber(drivers->drivers[static_cast<std::size_t>(d)]);
        Line(out, line);
    }
    return out;
}

std::string Report::lapByLapBody() const {
    std::string out;
    if (SessionMissing(out, *drivers, Race)) return out;
    int maxLaps = 0;
    const std::vector<DriverLaps> laps = RaceLaps(*drivers, maxLaps);
    const bool offTrackShown = settings.offTrackRemoved != 1;
    for (int lap = 1; lap <= maxLaps; ++lap) {
        Line(out, fmt::format("Lap {}", lap));
        Line(out, fmt::sprintf("%3s  %4s  %-33s  %11s  %s", "Pos", "No.", "Driver", "Lap time", "Incidents"));
        int pos = 0;
        for (int d : CrossingOrder(*drivers, laps, lap)) {
            const std::uint32_t word = drivers->LapWordAt(Race, d, lap);
            // The same columns as the heading's "%3d  %4s  %-33s  %11s  %s"; the
            // longest report has a row per car and lap.
            Line(out, fmt::format("{:>3}  {:>4}  {}  {:>11}  {}", ++pos,
                                  CarNumber(drivers->drivers[static_cast<std::size_t>(d)]), Column(driverName(d), 33),
                                  FormatLapTime(word), Incidents(word, offTrackShown)));
        }
    }
    return out;
}

std::string Report::mechanicalBody() const {
    std::string out;
    Line(out, std::string("Mechanical failures: ") + (header->mechanicalFailures == 1 ? "Yes" : "No"));
    std::string damage;
    for (const auto& group : LapChooserInfo(*header, *drivers))
        for (const auto& [label, text] : group.fields)
            if (label == "Damage:") damage = text;
    Line(out, "Damage: " + damage);
    Line(out, kNoFailuresText);
    return out;
}

std::string Report::raceSettingsBody() const {
    std::string out;
    for (const auto& group : LapChooserInfo(*header, *drivers))
        for (const auto& [label, text] : group.fields) Line(out, label + " " + text);
    return out;
}

std::string Report::flagBody() const {
    std::string out;
    QuietPrompts quiet;
    RaceModel race;
    race.SetCarsWanted(false);
    if (!race.Load(*drivers, *header, nullptr, 1.0 / 1024.0, quiet, nullptr)) {
        Line(out, kRaceReadErrorText);
        return out;
    }
    Line(out, fmt::sprintf("%6s  %4s  %s", "Time", "Lap", "Flag"));
    for (std::uint32_t f = 1; f < race.FrameCount(); ++f) {
        const std::uint16_t state = race.FrameState(f);
        if (state == race.FrameState(f - 1)) continue;
        const char* text = FlagStateText(state);
        if (!text) continue;
        const std::uint64_t t = race.FrameTime(f);
        std::string lap;
        if (t > race.LapLeaderTime(0)) {
            int k = 0;
            while (k < race.MaxLaps() && t > race.LapLeaderTime(k + 1)) ++k;
            lap = fmt::format("{}", k + 1);
        }
        Line(out, fmt::sprintf("%6s  %4s  %s", FormatRaceElapsed(t), lap, text));
    }
    return out;
}

std::string Report::carFileBody() const {
    std::string out;
    Line(out, fmt::sprintf("%4s  %-33s  %-16s  %s", "No.", "Driver", "Series", "Car file"));
    for (int i = 0; i < static_cast<int>(drivers->drivers.size()); ++i) {
        const Drivers::Driver& d = drivers->drivers[static_cast<std::size_t>(i)];
        if (!Competes(d)) continue;
        Line(out, fmt::sprintf("%4s  %s  %-16s  %s", CarNumber(d), Column(driverName(i), 33), SeriesName(d.physics, 0),
                               d.fourthText));
    }
    return out;
}

std::string Report::ratingsBody() const {
    std::string out;
    Line(out, fmt::sprintf("%4s  %-33s  %s", "No.", "Driver", "Type"));
    for (int i = 0; i < static_cast<int>(drivers->drivers.size()); ++i) {
        const Drivers::Driver& d = drivers->drivers[static_cast<std::size_t>(i)];
        Line(out, fmt::sprintf("%4s  %s  %s", CarNumber(d), Column(driverName(i), 33), DriverTypeText(d.type)));
    }
    Line(out, kNoRatingsText);
    return out;
}

namespace {

constexpr std::string_view kNoTrackText = "No track loaded: lap times cannot be checked.";
constexpr std::string_view kNoPedalText = "No pedal data: the replay records it for the saving player's car only.";

// The loaded laps in slot order, numbered from 1 as the view bar numbers them.
template <class Fn>
void ForEachLoadedLap(const CRpyGraphDoc& doc, const ReportSettings& settings, std::string& out, Fn fn) {
    int n = 0;
    for (int slot = 0; slot < CRpyGraphDoc::kSlotMaximum; ++slot) {
        if (!doc.IsSlotUsed(slot)) continue;
        const LapSlot& lap = doc.Slot(slot);
        if (!lap.drivers || !lap.info || lap.driver < 0 ||
            static_cast<std::size_t>(lap.driver) >= lap.drivers->drivers.size())
            continue;
        const int session = std::clamp(lap.session, 0, kSessionKinds - 1);
        Line(out, fmt::format("Lap {}: {}, {} lap {}", ++n, NameOf(*lap.drivers, lap.driver, settings),
                              kSessionNames[session], lap.lap));
        fn(lap);
    }
}

// Samples first to last of a lap's channel, as far as the channel holds them.
template <class T>
std::span<const T> Samples(const std::vector<T>& channel, int first, int last) {
    const std::size_t from = std::min(channel.size(), static_cast<std::size_t>(std::max(first, 0)));
    const std::size_t end = std::min(channel.size(), static_cast<std::size_t>(std::max(last + 1, 0)));
    return std::span<const T>(channel).subspan(from, std::max(end, from) - from);
}

// The lap's own samples, 1 to the count: entry 0 holds the start values.
template <class T>
std::span<const T> LapSamples(const std::vector<T>& channel, const GetRpyInfo& info) {
    return Samples(channel, 1, info.sampleCount);
}

}  // namespace

std::string Report::verifierBody() const {
    std::string out;
    if (!document) return out;
    const TrackPath* track = document->GetTrackPath();
    if (!track) {
        Line(out, kNoTrackText);
        return out;
    }
    ForEachLoadedLap(*document, settings, out, [&](const LapSlot& lap) {
        const GetRpyInfo& info = *lap.info;
        const std::uint32_t stored = lap.drivers->LapWordAt(lap.session, lap.driver, lap.lap) & LapWord::TimeMask;
        LapTimeCheckInput check;
        const std::size_t n = static_cast<std::size_t>(std::max(info.sampleCount, 0));
        check.rawDistance = std::span<const std::uint32_t>(info.distance).first(std::min(info.distance.size(), n + 1));
        check.stepAtStart = info.distanceStepStart;
        check.stepAtEnd = info.distanceStepEnd;
        check.samples = info.sampleCount;
        check.trackLengthMetres = track->Length();
        check.storedLapMs = stored;
        // The same lap-time check as when the lap was added.
        check.comparable =
            lap.drivers->drivers[static_cast<std::size_t>(lap.driver)].carId == lap.drivers->savingPlayer;
        Line(out, "Stored time: " + FormatLapTime(stored));
        const auto calculated = CalculatedLapTimeMs(check);
        Line(out, "Calculated time: " + (calculated && *calculated >= 0 && *calculated <= LapWord::TimeMask
                                             ? FormatLapTime(static_cast<std::uint32_t>(*calculated))
                                             : std::string("No time")));
        const auto message = LapTimeCheckMessage(check);
        Line(out, message ? std::string_view(*message).substr(0, message->find_first_of("\r\n")) : "OK");
    });
    return out;
}

std::string Report::sectorBody() const {
    std::string out;
    if (!document) return out;
    Line(out, fmt::sprintf("%11s  %11s  %11s  %11s", "Sector 1", "Sector 2", "Sector 3", "Sector 4"));
    ForEachLoadedLap(*document, settings, out, [&](const LapSlot& lap) {
        const auto& split = lap.info->splitMs;
        const std::int64_t stored = lap.drivers->LapWordAt(lap.session, lap.driver, lap.lap) & LapWord::TimeMask;
        const std::array<std::int64_t, 4> sectors = {split[0], split[1] - split[0], split[2] - split[1],
                                                     stored - split[2]};
        std::array<std::string, 4> text;
        for (std::size_t k = 0; k < 4; ++k)
            text[k] = sectors[k] >= 0 && sectors[k] <= LapWord::TimeMask
                          ? FormatLapTime(static_cast<std::uint32_t>(sectors[k]))
                          : std::string("No time");
        Line(out, fmt::sprintf("%11s  %11s  %11s  %11s", text[0], text[1], text[2], text[3]));
    });
    return out;
}

std::string Report::speedBody() const {
    std::string out;
    if (!document) return out;
    if (!document->GetTrackPath()) {
        // The reports of the loaded laps share one line for a missing track.
        Line(out, kNoTrackText);
        return out;
    }
    const bool miles = document->SpeedUnit() == 1;
    const char* unit = miles ? "mph" : "kph";
    ForEachLoadedLap(*document, settings, out, [&](const LapSlot& lap) {
        // Over the samples the Speed graph plots, so that figures and graph
        // agree: entry 0 and the samples at the lines hold no speed of the lap.
        const auto [first, last] = BasicChannelSamples(kSpeedChannel, lap.info->sampleCount);
        const auto speed = Samples(lap.info->speed, first, last);
        if (speed.empty()) {
            Line(out, "No speed samples.");
            return;
        }
        const auto [lo, hi] = std::minmax_element(speed.begin(), speed.end());
        const double mean = std::accumulate(speed.begin(), speed.end(), 0.0) / static_cast<double>(speed.size());
        const double k = miles ? kKphToMph : 1.0;
        Line(out, fmt::sprintf("Max speed: %.3f %s", *hi * k, unit));
        Line(out, fmt::sprintf("Min speed: %.3f %s", *lo * k, unit));
        Line(out, fmt::sprintf("Average speed: %.3f %s", mean * k, unit));
    });
    return out;
}

std::string Report::pedalBody() const {
    std::string out;
    if (!document) return out;
    ForEachLoadedLap(*document, settings, out, [&](const LapSlot& lap) {
        const auto throttle = LapSamples(lap.info->throttle, *lap.info);
        const auto brake = LapSamples(lap.info->brake, *lap.info);
        if (lap.driver != lap.drivers->savingPlayer || throttle.empty() || brake.empty()) {
            Line(out, kNoPedalText);
            return;
        }
        const double n = static_cast<double>(throttle.size());
        const double t = std::accumulate(throttle.begin(), throttle.end(), 0.0) * 100.0 / 255.0 / n;
        const double b =
            std::accumulate(brake.begin(), brake.end(), 0.0) * 100.0 / 255.0 / static_cast<double>(brake.size());
        const auto braking = std::count_if(brake.begin(), brake.end(), [](std::uint16_t v) { return v > 0; });
        Line(out, fmt::sprintf("Throttle: %.1f%%", t));
        Line(out, fmt::sprintf("Brake: %.1f%%", b));
        Line(out, fmt::sprintf("Braking: %.1f%% of the samples",
                               100.0 * static_cast<double>(braking) / static_cast<double>(brake.size())));
    });
    return out;
}

namespace {

std::vector<int> TextReportKinds(int mechanical) {
    std::vector<int> kinds = {ReportKind::RaceSettings, ReportKind::Practice, ReportKind::Qualifying,
                              ReportKind::HappyHour,    ReportKind::Race,     ReportKind::LapChart,
                              ReportKind::LapByLap,     ReportKind::Complete};
    if (mechanical == 1) {
        kinds.push_back(ReportKind::Mechanical);
        kinds.push_back(ReportKind::Flags);
    }
    return kinds;
}

}  // namespace

std::vector<std::string> Report::TextReportFiles(std::string_view prefix, int mechanical) const {
    std::vector<std::string> files;
    if (!header) return files;
    const std::string base = std::string(prefix) + BaseName(header->path.string());
    for (int k : TextReportKinds(mechanical)) files.push_back(base + FileSuffix(k));
    return files;
}

bool Report::WriteAllTextReports(std::string_view prefix, int mechanical) const {
    if (!header || !drivers) return false;
    const std::vector<int> kinds = TextReportKinds(mechanical);
    const std::vector<std::string> names = TextReportFiles(prefix, mechanical);
    // The complete report repeats four others: they are made once.
    std::map<int, std::string> texts;
    for (int k : kinds)
        if (k != ReportKind::Complete) texts[k] = Text(k);
    std::string& complete = texts[ReportKind::Complete];
    complete = heading(ReportKind::Complete).Bytes();
    for (int part : kCompleteParts) complete += "\r\n" + texts[part];
    // The complete report must never stand beside parts of another run.
    AtomicFileSet files;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (!files.add(std::filesystem::path(names[i]), texts[kinds[i]])) break;
    if (files.commit()) return true;
    if (prompts)
        prompts->messageText(WhereAndWhy(kReportFileErrorText, files.failedPath().string(), files.error()), {},
                             Icon::Warning, Buttons::Ok);
    return false;
}

}  // namespace vra
