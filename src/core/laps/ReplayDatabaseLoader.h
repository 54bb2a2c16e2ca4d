#pragma once
// Reads the replay records of every CD database in a folder, one record at a
// time. Databases come from other machines and old discs: a database that
// cannot be opened, has another magic or an unknown version is skipped, and
// a damaged record ends its database; the next database is read either way.

#include "core/base/CFileInfoArray.h"
#include "core/base/FileUtil.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vra {

class Drivers;
class Header;

class ReplayDatabaseLoader {
public:
    ReplayDatabaseLoader();
    virtual ~ReplayDatabaseLoader();
    ReplayDatabaseLoader(const ReplayDatabaseLoader&) = delete;
    ReplayDatabaseLoader& operator=(const ReplayDatabaseLoader&) = delete;

    // Lists every *.rdb in folder and its sub-folders; true when there is one.
    bool FindDatabases(const std::filesystem::path& folder);
    // Reads the next record over all listed databases: true when one was
    // read, false at the end.
    bool Next();

    // The open database's label and name (file name without extension), the
    // current record's path on the disc ("\" separators) and its version.
    std::string Label() const { return label_; }
    std::string Name() const { return name_; }
    const std::string& RecordPath() const { return recordPath_; }
    int Version() const { return version_; }
    std::filesystem::path DatabasePath() const;

    // The current record's objects, valid until the next call.
    const Header* GetHeader() const { return header_.get(); }
    const Drivers* GetDrivers() const { return drivers_.get(); }

private:
    bool OpenNextDatabase();
    bool ReadRecord();
    // Makes at least want bytes available from pos_ unless the file ends first.
    bool fill(std::size_t want);

    std::uint8_t version_ = 0;
    std::string name_;
    std::string label_;
    int index_ = -1;
    bool firstCall_ = true;
    std::unique_ptr<Drivers> drivers_;
    std::unique_ptr<Header> header_;
    std::string recordPath_;
    CFileInfoArray files_;

    BinaryFile file_;
    std::vector<std::uint8_t> buffer_;  // bytes of the file from bufferStart_
    std::uint64_t bufferStart_ = 0;
    std::size_t pos_ = 0;  // read position in buffer_
};

}  // namespace vra
