#pragma once
// Every valid lap of one track across the user's replays: the simulation's
// replay folder, the second replay folder and the CD databases. The dialog
// shows the rows; filtering, sorting, the clipboard text and loading the
// chosen laps (asking for discs) happen here.

#include "core/text/ShownText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vra {

class Clipboard;
class CRpyGraphDoc;
class Drivers;
class Header;
class Prompts;
class Volumes;
class WaitBox;

// A replay's path, one for the rows of all its laps: a collection lists tens
// of thousands of laps, and a path copied into every row cost more than the
// rest of the row.
class SharedPath {
public:
    SharedPath() = default;
    explicit SharedPath(std::filesystem::path path)
        : path_(std::make_shared<const std::filesystem::path>(std::move(path))) {}
    const std::filesystem::path& get() const { return path_ ? *path_ : Empty(); }
    operator const std::filesystem::path&() const { return get(); }
    friend bool operator==(const SharedPath& a, const std::filesystem::path& b) { return a.get() == b; }

private:
    static const std::filesystem::path& Empty() {
        static const std::filesystem::path empty;
        return empty;
    }
    std::shared_ptr<const std::filesystem::path> path_;
};

// The nine texts of a lap's row: driver name, lap time, game mode, session,
// file date, replay file, physics, key, disc label ("NA" for a replay in a
// folder). Those of the replay and of the driver are kept once for all their
// laps: a collection lists tens of thousands of laps, and copying a dozen
// texts into every row took a tenth of a scan.
class LapFinderTexts {
public:
    static constexpr std::size_t kColumns = 9;
    using value_type = std::string;
    using size_type = std::size_t;
    using const_reference = const std::string&;
    using reference = const std::string&;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;
        const_iterator() = default;
        reference operator*() const { return (*texts_)[column_]; }
        pointer operator->() const { return &(*texts_)[column_]; }
        const_iterator& operator++() {
            ++column_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++column_;
            return was;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

    private:
        friend class LapFinderTexts;
        const_iterator(const LapFinderTexts* texts, std::size_t column) : texts_(texts), column_(column) {}
        const LapFinderTexts* texts_ = nullptr;
        std::size_t column_ = 0;
    };
    using iterator = const_iterator;

    // The texts of a replay and of one of its drivers, and where the replay
    // is; a row holds its driver's, which hold their replay's.
    struct Replay {
        std::string gameMode, fileDate, replayFile, label;
        std::string track;                   // as the header names it
        std::string databaseName, discPath;  // a disc replay's
    };
    struct Driver {
        std::shared_ptr<const Replay> replay;
        std::string name, physics;
    };

    LapFinderTexts() = default;
    // session is kept by reference: one of the names that last the program's run.
    LapFinderTexts(std::shared_ptr<const Driver> driver, const std::string& session, std::string lapTime,
                   std::string key)
        : driver_(std::move(driver)), session_(&session), lapTime_(std::move(lapTime)), key_(std::move(key)) {}

    // The text of column (empty past the last).
    const std::string& operator[](std::size_t column) const;
    static constexpr std::size_t size() { return kColumns; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, kColumns}; }
    const Replay* replay() const { return driver_ ? driver_->replay.get() : nullptr; }

private:
    std::shared_ptr<const Driver> driver_;
    const std::string* session_ = nullptr;  // one of the session names, kept for the program's run
    std::string lapTime_, key_;
};

struct LapFinderRow {
    static constexpr int kColumns = static_cast<int>(LapFinderTexts::kColumns);
    LapFinderTexts text;
    // The replay file and the disc label come from the file system (or a
    // database that keeps their bytes) and are shown as file names; the other
    // columns are replay text.
    static constexpr bool IsFileNameColumn(int column) { return column == 5 || column == 8; }
    // Where the replay is: a folder replay's full path, or a disc replay's
    // database name and path on the disc.
    SharedPath replayPath;
    bool onDisc = false;
    const std::string& DatabaseName() const { return Field(&LapFinderTexts::Replay::databaseName); }
    const std::string& DiscPath() const { return Field(&LapFinderTexts::Replay::discPath); }
    std::uint32_t lapMs = 0;
    int driver = 0, session = 0, lap = 0;
    // The replay's track as its header names it.
    const std::string& Track() const { return Field(&LapFinderTexts::Replay::track); }

private:
    const std::string& Field(std::string LapFinderTexts::Replay::*field) const;
};

class LapFinder {
public:
    enum class Filter { ShowAll, NoAi, OnlyLocal };
    enum SortMode : int {
        Unsorted = 1,
        ByDriver = 2,
        ByLapTime = 3,
        ByGameMode = 4,
        BySession = 5,
        ByReplayFile = 6,
        ByFileDate = 7,
        ByPhysics = 8,
    };

    static constexpr std::string_view kWaitText = "Please wait while scanning replays...";
    static constexpr std::string_view kReadErrorCaption =
        "Error reading replay file - is this a standard Velmar replay?";
    static constexpr std::string_view kNoLabel = "NA";

    // Headings with the blanks that set their initial widths; columns 7 and
    // 8 have none and stay hidden.
    static const std::array<std::string_view, LapFinderRow::kColumns>& Headings();

    LapFinder(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox);

    // Folder names of the simulation's tracks, in name order, "shared" left out.
    std::vector<std::string> FillTrackList() const;
    // The track to select and scan at once: the loaded laps' track as the
    // list spells it; nullopt with no lap loaded or no such track.
    std::optional<std::string> InitialTrack(const std::vector<std::string>& trackList) const;

    // The opening state: only the saving players' laps, unsorted.
    Filter GetFilter() const { return filter_; }
    void SetFilter(Filter filter) { filter_ = filter; }

    // Lists the laps of track; resets the sort to "Unsorted (fastest)".
    void OnTrackChosen(const std::string& track);
    // Lists the laps of every track. A replay that cannot be read is only
    // counted: over all of a user's replays one box each would bury him.
    void ScanEveryTrack();
    int UnreadableFiles() const { return unreadableFiles_; }
    const std::vector<LapFinderRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int FolderFiles() const { return folderFiles_; }
    int DatabaseReplays() const { return databaseReplays_; }
    std::string StatusText() const;
    const std::string& TrackName() const { return trackName_; }

    // Sorts by mode; false (and nothing changed) when mode is already the current one.
    bool SortBy(SortMode mode);
    SortMode GetSortMode() const { return sortMode_; }
    // The sort of a heading click; 0 for columns that cannot be sorted.
    static int SortModeForColumn(int column);
    // A heading click: sorts, or says that this column cannot be sorted.
    void OnColumnClick(int column);

    ShownText TableText() const;
    bool CopyTableToClipboard(Clipboard& clipboard) const;

    // OK with the rows selected (indices into Rows(), top first): loads them
    // and returns true to close, or tells why not and returns false.
    bool OnOK(const std::vector<int>& selectedRows);
    // Where the row's replay is now, asking for its disc when needed;
    // nullopt when it cannot be had.
    std::optional<std::filesystem::path> LoadChosenLap(const LapFinderRow& row);
    // The mount root of the ready volume with this label, or nullopt.
    std::optional<std::filesystem::path> FindCdByLabel(const std::string& label);
    const std::string& LastDiscLabel() const { return lastDiscLabel_; }

private:
    struct Source;
    // A fresh list of the laps of track, or of every track.
    void ScanReplays(const std::string& track, bool everyTrack);
    void ReadReplayFile(const std::filesystem::path& path);
    void AddLapRows(const Drivers& drivers, const Header& header, const Source& source);

    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    Volumes& volumes_;
    WaitBox& waitBox_;
    Filter filter_ = Filter::OnlyLocal;
    SortMode sortMode_ = Unsorted;
    std::string trackName_;
    std::vector<LapFinderRow> rows_;
    int folderFiles_ = 0;
    int databaseReplays_ = 0;
    bool everyTrack_ = false;
    int unreadableFiles_ = 0;
    std::string lastDiscLabel_;
};

// A file date "%Y %b %d" with English month names as a sortable number;
// nullopt when the text is not such a date.
std::optional<int> ParseFileDate(std::string_view text);

}  // namespace vra
