#include "core/decode/KtObjectHeader.h"

#include "core/decode/PtfCursor.h"
#include "core/decode/PtfReadContext.h"

#include <fmt/format.h>

#include <string>

namespace vra {

namespace {

std::string OffsetLine(std::size_t offset, const char* lead) {
    return fmt::format("\n{}{:x}\n", lead, offset);
}

// Reads the first two values, which every versioned class checks alike.
void ReadLeadingValues(PtfCursor& pos, const KtObjectHeader::Checks& c) {
    std::size_t at = pos.Offset();
    const std::int32_t first = pos.I32();
    if (first != 1)
        PtfReadContext::ThrowKtException(c.source, c.firstLine,
                                         fmt::format("First value of {} is {}, it should be 1", c.className, first) +
                                             OffsetLine(at, "Detected in ptf file @ 0x"));
    at = pos.Offset();
    const std::int32_t second = pos.I32();
    if (second != 0)
        PtfReadContext::ThrowKtException(
            c.source, c.secondLine,
            fmt::format("{}Second value of {} is {}, it should be 0", c.secondPrefix, c.className, second) +
                OffsetLine(at, "Detected in ptf file @ 0x"));
}

std::string VersionList(std::initializer_list<std::int32_t> versions) {
    std::string text;
    std::size_t i = 0;
    for (std::int32_t v : versions) {
        if (i > 0) text += (i + 1 == versions.size()) ? " or " : ", ";
        text += std::to_string(v);
        ++i;
    }
    return text;
}

}  // namespace

std::int32_t KtObjectHeader::Read(PtfCursor& pos, const Checks& c, std::initializer_list<std::int32_t> versions) {
    ReadLeadingValues(pos, c);
    const std::size_t at = pos.Offset();
    const std::int32_t version = pos.I32();
    for (std::int32_t v : versions)
        if (v == version) return version;
    PtfReadContext::ThrowKtException(
        c.source, c.versionLine,
        fmt::format("Version of {} is {}, it should be {}", c.className, version, VersionList(versions)) +
            OffsetLine(at, "Detected in ptf file @ 0x"));
}

void KtObjectHeader::ReadFixed(PtfCursor& pos, const Checks& c, std::int32_t expectedThird) {
    ReadLeadingValues(pos, c);
    const std::size_t at = pos.Offset();
    const std::int32_t third = pos.I32();
    if (third == expectedThird) return;
    PtfReadContext::ThrowKtException(
        c.source, c.versionLine,
        fmt::format("Third value of {} is {}, it should be {}", c.className, third, expectedThird) +
            OffsetLine(at, "Detected in ptf file @ 0x"));
}

std::int32_t KtObjectHeader::ReadTrackHeader(PtfCursor& pos, const Checks& c) {
    ReadLeadingValues(pos, c);
    const std::size_t at = pos.Offset();
    const std::int32_t version = pos.I32();
    if (version == 6 || version == 8) return version;
    PtfReadContext::ThrowKtException(c.source, c.versionLine,
                                     fmt::format("Version of {} is {}, it should be 6 or 8", c.className, version) +
                                         OffsetLine(at, "Detected in ptf file @ 0x = "));
}

}  // namespace vra
