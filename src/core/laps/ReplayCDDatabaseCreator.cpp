#include "core/laps/ReplayCDDatabaseCreator.h"

#include "core/base/AtomicFile.h"
#include "core/base/ByteWriter.h"
#include "core/base/CFileInfoArray.h"
#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/laps/ReplayDatabase.h"
#include "core/laps/SimFolders.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include <system_error>
#include <utility>

namespace vra {

namespace {

constexpr std::string_view kNoReplaysText = "No replay files found on selected media, aborting...";
constexpr std::string_view kFolderNoticeText =
    "The following directory will be created and will\r\ncontain replay CD databases:\r\n\r\n";
constexpr std::string_view kFolderErrorText = "Error creating directory, aborting...";
constexpr std::string_view kOverwriteText = "File already exists, overwrite?";
constexpr std::string_view kFileErrorText = "Error creating database file, aborting...";
constexpr std::string_view kNotIncludedText = "\r\nFile will not be included in the database.";
constexpr std::string_view kReadErrorCaption = "Error reading replay file - is this a standard VELMR replay?";

// The label as the database keeps it: below the text limit, cut at a
// character boundary of the single-byte text.
std::string DatabaseLabel(const std::string& label) {
    return label.substr(0, std::min(label.size(), kDatabaseTextLimit - 1));
}

bool UsableName(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

ReplayCDDatabaseCreator::ReplayCDDatabaseCreator(std::filesystem::path simFolder, Volumes& volumes, Prompts& prompts)
    : simFolder_(std::move(simFolder)), volumes_(volumes), prompts_(prompts) {}

std::string ReplayCDDatabaseCreator::InformationText() {
    constexpr std::string_view kLines[] = {
        "This feature lets you burn your VELMR replay files on CDs (or store on other removable media), thus saving "
        "hard disk space, and still be able to use these replay files in VELMR Replay Analyzer's LapFinder etc.",
        "",
        "It works like this:",
        "1. Burn your VELMR Replay CD with your favourite burning program",
        "2. All replay files on the CD are scanned and all drivers and their laptimes are extracted.",
        "3. This data is stored in a small database (one database per CD)",
        "4. This database is stored in a subdirectory to your \\VELMR\\Replay\\ directory.",
        "5. LapFinder etc reads these databases when performing their tasks. If you in LapFinder choose a lap which "
        "is stored on a CD you'll be prompted to insert that CD.",
    };
    std::string text;
    for (std::string_view line : kLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void ReplayCDDatabaseCreator::ScanDrives() {
    entries_.clear();
    readable_ = false;
    for (const Volume& v : volumes_.List()) {
        DriveEntry e;
        e.text = VolumeEntryText(v);
        e.ready = v.ready;
        if (v.ready) {
            e.root = v.root;
            e.label = VolumeLabel(v);
            readable_ = true;
        }
        entries_.push_back(std::move(e));
    }
}

std::vector<std::string> ReplayCDDatabaseCreator::EntryTexts() const {
    std::vector<std::string> texts;
    for (const DriveEntry& e : entries_) texts.push_back(e.text);
    if (texts.empty()) texts.emplace_back(kNoDrivesText);
    return texts;
}

int ReplayCDDatabaseCreator::CountReplayFiles(const std::filesystem::path& root) {
    CFileInfoArray files;
    return files.AddDir(root, "*.rpy", true, CFileInfoArray::Append, false);
}

bool ReplayCDDatabaseCreator::EnsureDatabaseFolder(std::filesystem::path& folder) {
    folder = DatabaseFolder(simFolder_);
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    prompts_.messageText(ShownText(kFolderNoticeText).FileName(folder), {}, Icon::Warning, Buttons::Ok);
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        prompts_.alert(kFolderErrorText);
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> ReplayCDDatabaseCreator::OnCreateDatabase(int index, const Hooks& hooks) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return std::nullopt;
    const DriveEntry entry = entries_[static_cast<std::size_t>(index)];

    const int count = entry.ready ? CountReplayFiles(entry.root) : 0;
    if (count == 0) {
        prompts_.alert(kNoReplaysText);
        return std::nullopt;
    }

    std::filesystem::path folder;
    if (!EnsureDatabaseFolder(folder)) return std::nullopt;

    std::string name = entry.label;
    std::filesystem::path target;
    for (;;) {
        auto typed = hooks.askName ? hooks.askName(name) : std::nullopt;
        if (!typed) return std::nullopt;
        name = *typed;
        if (!UsableName(name)) {
            prompts_.alert(kFileErrorText);
            return std::nullopt;
        }
        target = folder / (name + std::string(kDatabaseExtension));
        std::error_code ec;
        if (!std::filesystem::exists(target, ec)) break;
        const Button b = prompts_.message(kOverwriteText, {}, Icon::Question, Buttons::YesNoCancel);
        if (b == Button::Yes) break;
        if (b != Button::No) return std::nullopt;
    }

    ByteWriter out;
    WriteDatabaseHeader(out, DatabaseLabel(entry.label), static_cast<std::uint32_t>(count));

    if (hooks.progressRange) hooks.progressRange(0, count);
    if (hooks.waitCursor) hooks.waitCursor(true);
    CFileInfoArray files;
    files.AddDir(entry.root, "*.rpy", true, CFileInfoArray::Append, false);
    int added = 0;
    for (int i = 0; i < files.GetSize(); ++i) {
        const std::filesystem::path& path = files[i].GetFilePath();
        Header header;
        const bool headerRead = header.Read(path) == Header::Ok;
        Drivers drivers;
        const bool read = headerRead && CRpyGraphDoc::ReadDriverTable(drivers, path, prompts_);
        const std::string relative = DatabaseRelativePath(entry.root, path);
        // A path the oldest readers would cut is left out rather than stored
        // in a way that spoils the records after it.
        if (!read || relative.empty() || relative.size() >= kDatabaseTextLimit) {
            prompts_.messageText(ShownText().FileName(path).Text(kNotIncludedText), kReadErrorCaption, Icon::Error,
                                 Buttons::Ok);
        } else {
            WriteDatabaseRecord(out, relative, header, drivers);
            ++added;
        }
        if (headerRead && hooks.progressPos) hooks.progressPos(i + 1);
    }
    if (hooks.waitCursor) hooks.waitCursor(false);

    if (!WriteFileAtomic(target, std::span<const std::uint8_t>(out.data()))) {
        if (hooks.progressPos) hooks.progressPos(0);
        prompts_.alert(kFileErrorText);
        return std::nullopt;
    }
    prompts_.alert("The replay CD contained " + std::to_string(count) + " replays,\r\n" +
                   (added == count ? std::string("all") : std::to_string(added)) + " were added to the database.");
    if (hooks.progressPos) hooks.progressPos(0);
    return target;
}

}  // namespace vra
