#include "core/laps/ReplayDatabase.h"

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include <span>

namespace vra {

void WriteDatabaseHeader(ByteWriter& out, std::string_view label, std::uint32_t replayCount, std::uint8_t version) {
    out.cstring(kDatabaseMagic, kDatabaseMagic.size() + 1);
    out.u8(version);
    out.cstring(label, kDatabaseTextLimit);
    out.u32(replayCount);
}

void WriteDatabaseRecord(ByteWriter& out, std::string_view relativePath, const Header& header, const Drivers& drivers) {
    out.cstring(relativePath, kDatabaseTextLimit);
    header.SaveToStream(out);
    drivers.SaveToStream(out);
}

std::string DatabaseRelativePath(const std::filesystem::path& root, const std::filesystem::path& file) {
    const std::filesystem::path rel = file.lexically_relative(root);
    if (rel.empty() || *rel.begin() == "..") return {};
    std::string out;
    for (const auto& part : rel) {
        if (!out.empty()) out += '\\';
        out += part.native();
    }
    return out;
}

}  // namespace vra
