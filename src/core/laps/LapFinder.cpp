#include "core/laps/LapFinder.h"

#include "core/base/CFileInfoArray.h"
#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/laps/ReplayDatabaseLoader.h"
#include "core/laps/SimFolders.h"
#include "core/platform/Clipboard.h"
#include "core/platform/Prompts.h"
#include "core/platform/Volumes.h"
#include "core/platform/WaitBox.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"
#include "core/text/CSortClass.h"
#include "core/text/LapTime.h"
#include "core/text/WebText.h"

#include <algorithm>
#include <numeric>
#include <system_error>

namespace vra {

namespace {

constexpr std::string_view kTooManyText = "Too many laps selected!";
constexpr std::string_view kChooseText = "Choose a lap to view!";
constexpr std::string_view kNoLapCaption = "No lap choosen!";
constexpr std::string_view kNoSortText = "No sorting available for this column.";
constexpr std::array<std::string_view, 4> kSessionTexts = {"Practice", "Qualifying", "Happy Hour", "Race"};

// The session column's texts, which rows point at: the four kinds, then
// "Training" for a two-driver replay's practice.
const std::array<std::string, 5>& SessionNames() {
    static const std::array<std::string, 5> kNames = {std::string(kSessionTexts[0]), std::string(kSessionTexts[1]),
                                                      std::string(kSessionTexts[2]), std::string(kSessionTexts[3]),
                                                      "Training"};
    return kNames;
}

const std::string& EmptyText() {
    static const std::string kEmpty;
    return kEmpty;
}

// The column each sort orders by.
int ColumnOfMode(int mode) {
    switch (mode) {
        case LapFinder::ByDriver:
            return 0;
        case LapFinder::ByLapTime:
            return 1;
        case LapFinder::ByGameMode:
            return 2;
        case LapFinder::BySession:
            return 3;
        case LapFinder::ByFileDate:
            return 4;
        case LapFinder::ByReplayFile:
            return 5;
        case LapFinder::ByPhysics:
            return 6;
        default:
            return -1;
    }
}

// The file a disc path names under root, each component found ignoring
// case, as stored or in its Windows-1252 reading.
std::optional<std::filesystem::path> ResolveOnDisc(const std::filesystem::path& root, std::string_view discPath) {
    std::filesystem::path at = root;
    std::size_t start = 0;
    while (start <= discPath.size()) {
        const std::size_t end = std::min(discPath.find('\\', start), discPath.size());
        const std::string_view part = discPath.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        if (!IsPlainName(part)) return std::nullopt;
        auto found = FindCaseInsensitive(at, part);
        // Discs written on Windows may hold a name in its Windows-1252 form.
        if (!found) found = FindCaseInsensitive(at, Cp1252ToUtf8(part));
        if (!found) return std::nullopt;
        at = *found;
    }
    return at;
}

std::filesystem::path JoinDiscPath(const std::filesystem::path& root, std::string_view discPath) {
    std::string rel(discPath);
    std::replace(rel.begin(), rel.end(), '\\', '/');
    while (!rel.empty() && rel.front() == '/') rel.erase(rel.begin());
    return root / rel;
}

}  // namespace

struct LapFinder::Source {
    std::filesystem::path path;  // a folder replay
    bool onDisc = false;
    std::string databaseName, discPath, label;
};

const std::string& LapFinderTexts::operator[](std::size_t column) const {
    const Replay* replayTexts = replay();
    switch (column) {
        case 0:
            return driver_ ? driver_->name : EmptyText();
        case 1:
            return lapTime_;
        case 2:
            return replayTexts ? replayTexts->gameMode : EmptyText();
        case 3:
            return session_ ? *session_ : EmptyText();
        case 4:
            return replayTexts ? replayTexts->fileDate : EmptyText();
        case 5:
            return replayTexts ? replayTexts->replayFile : EmptyText();
        case 6:
            return driver_ ? driver_->physics : EmptyText();
        case 7:
            return key_;
        case 8:
            return replayTexts ? replayTexts->label : EmptyText();
        default:
            return EmptyText();
    }
}

const std::string& LapFinderRow::Field(std::string LapFinderTexts::Replay::*field) const {
    const LapFinderTexts::Replay* replay = text.replay();
    return replay ? replay->*field : EmptyText();
}

const std::array<std::string_view, LapFinderRow::kColumns>& LapFinder::Headings() {
    static const std::array<std::string_view, LapFinderRow::kColumns> kHeadings = {"Driver Name                     ",
                                                                                   "Lap time    ",
                                                                                   "Game mode ",
                                                                                   "Session  ",
                                                                                   "Filedate         ",
                                                                                   "Replay file       ",
                                                                                   "Physics ",
                                                                                   "",
                                                                                   ""};
    return kHeadings;
}

std::optional<int> ParseFileDate(std::string_view text) {
    static constexpr std::string_view kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (text.size() != 11 || text[4] != ' ' || text[8] != ' ') return std::nullopt;
    auto digits = [&](std::size_t at, std::size_t n) -> std::optional<int> {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const auto year = digits(0, 4), day = digits(9, 2);
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (text.substr(5, 3) == kMonths[m]) month = m + 1;
    if (!year || !day || month == 0 || *day < 1 || *day > 31) return std::nullopt;
    return *year * 10000 + month * 100 + *day;
}

LapFinder::LapFinder(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox)
    : doc_(doc), prompts_(doc.GetPrompts()), volumes_(volumes), waitBox_(waitBox) {}

std::vector<std::string> LapFinder::FillTrackList() const {
    std::vector<std::string> names;
    const std::filesystem::path sim(doc_.SimFolder());
    const auto tracks = FindCaseInsensitive(sim, "tracks");
    if (!tracks) return names;
    std::error_code ec;
    std::filesystem::directory_iterator it(*tracks, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        // Only folders are tracks; stray files beside them are not.
        if (!it->is_directory(sec) || sec) continue;
        std::string name = it->path().filename().string();
        if (name == "shared") continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> LapFinder::InitialTrack(const std::vector<std::string>& trackList) const {
    for (int i = 0; i < CRpyGraphDoc::kSlotMaximum; ++i) {
        if (!doc_.IsSlotUsed(i) || !doc_.Slot(i).header) continue;
        const std::string& loaded = doc_.Slot(i).header->trackName;
        for (const std::string& name : trackList)
            if (EqualsIgnoreCase(name, loaded)) return name;
        return std::nullopt;
    }
    return std::nullopt;
}

void LapFinder::OnTrackChosen(const std::string& track) {
    ScanReplays(track, false);
}

void LapFinder::ScanEveryTrack() {
    ScanReplays({}, true);
}

void LapFinder::ScanReplays(const std::string& track, bool everyTrack) {
    WaitBoxScope wait(waitBox_, kWaitText);
    rows_.clear();
    sortMode_ = Unsorted;
    folderFiles_ = 0;
    databaseReplays_ = 0;
    unreadableFiles_ = 0;
    everyTrack_ = everyTrack;
    trackName_ = track;
    const std::filesystem::path sim(doc_.SimFolder());
    auto scanFolder = [&](const std::filesystem::path& folder) {
        for (const std::filesystem::path& file : ListFiles(folder, "*.rpy")) ReadReplayFile(file);
    };
    scanFolder(ReplayFolder(sim));
    if (!doc_.AltReplayPath().empty()) scanFolder(std::filesystem::path(doc_.AltReplayPath()));

    ReplayDatabaseLoader loader;
    if (!loader.FindDatabases(DatabaseFolder(sim))) return;
    while (loader.Next()) {
        ++databaseReplays_;
        const Header& header = *loader.GetHeader();
        if (!everyTrack_ && !EqualsIgnoreCase(header.trackName, trackName_)) continue;
        Source source;
        source.onDisc = true;
        source.databaseName = loader.Name();
        source.discPath = loader.RecordPath();
        source.label = loader.Label();
        AddLapRows(*loader.GetDrivers(), header, source);
    }
}

void LapFinder::ReadReplayFile(const std::filesystem::path& path) {
    ++folderFiles_;
    // One opening of the file for its header and its driver table.
    ReplaySource src(path, ReplaySource::Access::Sequential);
    Header header;
    if (header.Read(path, src) != Header::Ok) {
        if (everyTrack_) {
            ++unreadableFiles_;
            return;
        }
        prompts_.messageText(ShownText().FileName(path), kReadErrorCaption, Icon::Error, Buttons::Ok);
        return;
    }
    if (!everyTrack_ && !EqualsIgnoreCase(header.trackName, trackName_)) return;
    Drivers drivers;
    if (everyTrack_) {
        if (drivers.Load(path, src) != Drivers::LoadResult::Ok) {
            ++unreadableFiles_;
            return;
        }
    } else if (!CRpyGraphDoc::ReadDriverTable(drivers, path, src, prompts_)) {
        prompts_.messageText(ShownText().FileName(path), kReadErrorCaption, Icon::Error, Buttons::Ok);
        return;
    }
    Source source;
    source.path = path;
    AddLapRows(drivers, header, source);
}

void LapFinder::AddLapRows(const Drivers& drivers, const Header& header, const Source& source) {
    auto replay = std::make_shared<LapFinderTexts::Replay>();
    SharedPath path;
    if (source.onDisc) {
        replay->databaseName = source.databaseName;
        replay->discPath = source.discPath;
        replay->replayFile = source.databaseName + ":" + source.discPath;
        replay->label = source.label;
    } else {
        path = SharedPath(source.path);
        replay->replayFile = source.path.filename().string();
        replay->label = std::string(kNoLabel);
    }
    replay->gameMode = header.gameMode == 1 ? "Arcade" : "Simulation";
    replay->fileDate = drivers.fileDate;
    replay->track = header.trackName;
    const std::shared_ptr<const LapFinderTexts::Replay> replayTexts = std::move(replay);
    const bool training = drivers.drivers.size() == 2;

    for (std::size_t i = 0; i < drivers.drivers.size(); ++i) {
        const Drivers::Driver& d = drivers.drivers[i];
        const int driver = static_cast<int>(i);
        if (filter_ == Filter::NoAi && d.type == DriverAi) continue;
        // A saving-player index past the table matches nobody.
        if (filter_ == Filter::OnlyLocal && driver != drivers.savingPlayer) continue;
        // The driver's texts, made once for all of the driver's laps.
        const auto driverTexts = std::make_shared<const LapFinderTexts::Driver>(LapFinderTexts::Driver{
            replayTexts, d.firstName + " " + d.lastName, CRpyGraphDoc::GetSeriesName(d.physics, 2)});
        for (int kind = 0; kind < kSessionKinds; ++kind) {
            if (!drivers.sessionPresent[static_cast<std::size_t>(kind)]) continue;
            const std::string& session =
                SessionNames()[kind == Practice && training ? 4 : static_cast<std::size_t>(kind)];
            const int count = drivers.LapCount(kind, driver);
            for (int lap = 0; lap <= count && lap < kLapTableSize; ++lap) {
                if (!drivers.IsLapValid(kind, driver, lap)) continue;
                const std::uint32_t word = drivers.LapWordAt(kind, driver, lap);
                LapFinderRow& row = rows_.emplace_back();
                row.text = LapFinderTexts(
                    driverTexts, session, FormatLapTime(word),
                    std::to_string(static_cast<std::uint32_t>(lap) * 65536u +
                                   static_cast<std::uint32_t>(driver) * 256u + static_cast<std::uint32_t>(kind)));
                row.replayPath = path;
                row.onDisc = source.onDisc;
                row.lapMs = word & 0x0FFFFFFFu;
                row.driver = driver;
                row.session = kind;
                row.lap = lap;
            }
        }
    }
}

std::string LapFinder::StatusText() const {
    return "Total number of replay files scanned was " + std::to_string(folderFiles_ + databaseReplays_) +
           ", out of which " + std::to_string(databaseReplays_) + " were taken from Replay CD databases.";
}

int LapFinder::SortModeForColumn(int column) {
    static constexpr int kModes[7] = {ByDriver, ByLapTime, ByGameMode, BySession, ByFileDate, ByReplayFile, ByPhysics};
    return column >= 0 && column < 7 ? kModes[column] : 0;
}

void LapFinder::OnColumnClick(int column) {
    const int mode = SortModeForColumn(column);
    if (mode == 0) {
        prompts_.alert(kNoSortText);
        return;
    }
    SortBy(static_cast<SortMode>(mode));
}

bool LapFinder::SortBy(SortMode mode) {
    if (mode == sortMode_) return false;
    sortMode_ = mode;
    if (mode == Unsorted) return true;  // the rows stay as they are
    const int column = ColumnOfMode(mode);
    if (column < 0) return true;
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (mode == ByLapTime) {
        // By time, not by text: "10m 01.000s" comes after "9m 59.000s".
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return rows_[a].lapMs < rows_[b].lapMs; });
    } else if (mode == ByFileDate) {
        // By date; texts that are no date go last, among themselves by text.
        std::vector<std::optional<int>> keys;
        keys.reserve(rows_.size());
        for (const LapFinderRow& r : rows_) keys.push_back(ParseFileDate(r.text[4]));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (keys[a] && keys[b]) return *keys[a] < *keys[b];
            if (keys[a] || keys[b]) return keys[a].has_value();
            return CSortClass::CompareTextAscending(rows_[a].text[4], rows_[b].text[4]) < 0;
        });
    } else {
        std::vector<std::string> texts;
        texts.reserve(rows_.size());
        for (const LapFinderRow& r : rows_) texts.push_back(r.text[static_cast<std::size_t>(column)]);
        order = CSortClass(std::move(texts), CSortClass::Kind::Text).Sort(true);
    }
    std::vector<LapFinderRow> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    return true;
}

ShownText LapFinder::TableText() const {
    ShownText text("Driver Name\tLap time\tGame mode\tSession\tFiledate\tReplay file\n");
    for (const LapFinderRow& r : rows_) {
        for (int c = 0; c < 7; ++c) {
            const std::string& cell = r.text[static_cast<std::size_t>(c)];
            if (LapFinderRow::IsFileNameColumn(c))
                text.FileName(cell);
            else
                text.Text(cell);
            text.Text("\t");
        }
        text.Text("\n");
    }
    return text;
}

bool LapFinder::CopyTableToClipboard(Clipboard& clipboard) const {
    return clipboard.setShownText(TableText());
}

bool LapFinder::OnOK(const std::vector<int>& selectedRows) {
    if (doc_.LapCount() + static_cast<int>(selectedRows.size()) > doc_.SlotMaximum()) {
        prompts_.alert(kTooManyText);
        return false;
    }
    if (selectedRows.empty()) {
        prompts_.message(kChooseText, kNoLapCaption, Icon::Error, Buttons::Ok);
        return false;
    }
    for (int index : selectedRows) {
        if (index < 0 || index >= RowCount()) continue;
        const LapFinderRow row = rows_[static_cast<std::size_t>(index)];
        if (auto path = LoadChosenLap(row)) doc_.AddLapFromLapFinder(*path, row.driver, row.session, row.lap);
    }
    return true;
}

std::optional<std::filesystem::path> LapFinder::LoadChosenLap(const LapFinderRow& row) {
    if (!row.onDisc) {
        // The row's own file, not a same-named one elsewhere; gone means
        // gone, not "on a disc".
        std::error_code ec;
        const std::filesystem::path& path = row.replayPath;
        if (std::filesystem::is_regular_file(path, ec)) return path;
        prompts_.messageText(ShownText().FileName(path), kReadErrorCaption, Icon::Error, Buttons::Ok);
        return std::nullopt;
    }
    const std::string& label = row.text[8];
    if (label != lastDiscLabel_) {
        // The path on the disc, the database's name and the label all come
        // from the file system.
        const ShownText text =
            ShownText("The replay file ")
                .FileName(row.DiscPath())
                .Text(" is stored on the CD ")
                .FileName(row.DatabaseName())
                .Text(".\r\n(Actual CD label is ")
                .FileName(label)
                .Text(")\r\nThis CD must be inserted now to load the replay.\r\n\r\nDo you want to continue?");
        if (prompts_.messageText(text, {}, Icon::Question, Buttons::YesNo) != Button::Yes) return std::nullopt;
    }
    std::optional<std::filesystem::path> root;
    while (!(root = FindCdByLabel(label))) {
        if (prompts_.messageText(ShownText("Can't find the CD with label: ").FileName(label).Text("! Try again?"), {},
                                 Icon::Question, Buttons::YesNo) != Button::Yes)
            return std::nullopt;
    }
    lastDiscLabel_ = label;
    if (auto found = ResolveOnDisc(*root, row.DiscPath())) return found;
    return JoinDiscPath(*root, row.DiscPath());
}

std::optional<std::filesystem::path> LapFinder::FindCdByLabel(const std::string& label) {
    for (const Volume& v : volumes_.List())
        if (VolumeMatchesLabel(v, label)) return v.root;
    return std::nullopt;
}

}  // namespace vra
