#pragma once
// Making the CD database of one disc: the drive list, the checks and prompts
// before writing, and the walk that reads every replay on the disc into a
// record. The dialog shows the drive list and progress; everything it asks
// goes through the prompts and the callbacks given here.

#include "core/platform/Volumes.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vra {

class Prompts;

class ReplayCDDatabaseCreator {
public:
    struct DriveEntry {
        std::string text;            // as listed
        std::filesystem::path root;  // mount root; empty without a disc
        std::string label;           // volume name and bracketed file system
        bool ready = false;
    };

    // What the dialog lends the run: the name dialog (proposal in, the typed
    // name out, nullopt on Cancel), the progress bar and the wait cursor.
    struct Hooks {
        std::function<std::optional<std::string>(const std::string& proposal)> askName;
        std::function<void(int lower, int upper)> progressRange;
        std::function<void(int position)> progressPos;
        std::function<void(bool on)> waitCursor;
    };

    static constexpr std::string_view kNoDrivesText = "No CD-roms found";

    ReplayCDDatabaseCreator(std::filesystem::path simFolder, Volumes& volumes, Prompts& prompts);

    // The information text the dialog opens with, each line ended by CR LF.
    static std::string InformationText();

    // Lists the volumes again; afterwards CreateEnabled says whether a
    // readable disc is among them.
    void ScanDrives();
    const std::vector<DriveEntry>& Entries() const { return entries_; }
    // The texts as listed; "No CD-roms found" alone when there is no volume.
    // They name mount points and labels, which are shown as file names.
    std::vector<std::string> EntryTexts() const;
    bool CreateEnabled() const { return readable_; }

    // Makes the database of the entry at index. Returns the written file, or
    // nullopt when nothing was written (every reason told to the user).
    std::optional<std::filesystem::path> OnCreateDatabase(int index, const Hooks& hooks);

    // Number of *.rpy files under root, sub-folders included.
    static int CountReplayFiles(const std::filesystem::path& root);
    // Makes sure the database folder exists (telling the user when it is
    // made); false after telling why it could not be made.
    bool EnsureDatabaseFolder(std::filesystem::path& folder);

private:
    std::filesystem::path simFolder_;
    Volumes& volumes_;
    Prompts& prompts_;
    std::vector<DriveEntry> entries_;
    bool readable_ = false;
};

}  // namespace vra
