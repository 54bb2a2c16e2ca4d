#pragma once
// The CD database of replays (*.rdb): for every replay on one disc its path
// on the disc, its Header and its Drivers record, so that laps of burnt
// replays can be listed without the disc.
//
// Layout (little-endian): "VELMRRACDDB" and a zero byte; a version byte;
// the disc label, zero-terminated; a uint32 count of the replays found on
// the disc (failures included); then records to the end of the file: the
// relative path with "\" separators, zero-terminated, the Header record and
// the Drivers record.

#include "core/base/ByteWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vra {

class Drivers;
class Header;

inline constexpr std::string_view kDatabaseMagic = "VELMRRACDDB";
inline constexpr std::uint8_t kDatabaseVersion = 2;
inline constexpr std::string_view kDatabaseFolderName = "VELMRRA_CDDB";
inline constexpr std::string_view kDatabaseExtension = ".rdb";

// Texts the writer keeps below this many bytes, so that every reader of the
// format, the oldest included, reads them whole.
inline constexpr std::size_t kDatabaseTextLimit = 200;
// What this reader accepts for one text before it calls the file damaged.
inline constexpr std::size_t kDatabaseReadTextLimit = 4096;

// The leading part of a database: magic, version, label (cut below
// kDatabaseTextLimit bytes) and the count of replays found.
void WriteDatabaseHeader(ByteWriter& out, std::string_view label, std::uint32_t replayCount,
                         std::uint8_t version = kDatabaseVersion);
// One record. relativePath uses "\" separators and is below kDatabaseTextLimit bytes.
void WriteDatabaseRecord(ByteWriter& out, std::string_view relativePath, const Header& header, const Drivers& drivers);

// The path of file relative to root as a database stores it ("\" between
// components, the file system's bytes); empty when file is not under root.
std::string DatabaseRelativePath(const std::filesystem::path& root, const std::filesystem::path& file);

}  // namespace vra
