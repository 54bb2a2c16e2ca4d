#include "simkit/track/DatContainerWriter.h"

#include "core/base/FileUtil.h"

#include "simkit/track/ImplodeWriter.h"

#include <stdexcept>

namespace vra::simkit {

namespace {
constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kRecordFixed = 16;  // record bytes besides the name

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
}  // namespace

DatContainerWriter& DatContainerWriter::stored(std::string name, std::vector<std::uint8_t> data) {
    const auto size = static_cast<std::uint32_t>(data.size());
    return raw(std::move(name), std::move(data), size);
}

DatContainerWriter& DatContainerWriter::imploded(std::string name, std::span<const std::uint8_t> data,
                                                 std::uint8_t dictionaryCode) {
    return raw(std::move(name), ImplodeWriter::Literals(data, dictionaryCode), static_cast<std::uint32_t>(data.size()));
}

DatContainerWriter& DatContainerWriter::raw(std::string name, std::vector<std::uint8_t> storedBytes,
                                            std::uint32_t uncompressedSize) {
    if (name.size() > 255) throw std::invalid_argument("entry name longer than 255 bytes");
    entries_.push_back({std::move(name), std::move(storedBytes), uncompressedSize, 5});
    return *this;
}

DatContainerWriter& DatContainerWriter::tag(std::uint8_t value) {
    entries_.back().tag = value;
    return *this;
}

std::size_t DatContainerWriter::recordOffset(std::size_t i) const {
    std::size_t at = kHeaderSize;
    for (std::size_t k = 0; k < i; ++k) at += kRecordFixed + entries_[k].name.size();
    return at;
}

std::size_t DatContainerWriter::directoryEnd() const {
    return recordOffset(entries_.size());
}

std::size_t DatContainerWriter::dataOffset(std::size_t i) const {
    std::size_t at = directoryEnd() + 1;
    for (std::size_t k = 0; k < i; ++k) at += entries_[k].stored.size();
    return at;
}

std::vector<std::uint8_t> DatContainerWriter::bytes() const {
    std::vector<std::uint8_t> out(kHeaderSize, 0);
    out[0] = 'V';  // the header is not read; give it some content all the same
    out[1] = 'D';
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        out.push_back(e.tag);
        out.push_back(0);
        PutU32(out, e.uncompressedSize);
        PutU32(out, static_cast<std::uint32_t>(e.stored.size()));
        PutU32(out, static_cast<std::uint32_t>(dataOffset(i)));
        out.push_back(static_cast<std::uint8_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.push_back(0);
    }
    out.push_back(0);  // closes the directory
    for (const Entry& e : entries_) out.insert(out.end(), e.stored.begin(), e.stored.end());
    return out;
}

bool DatContainerWriter::write(const std::filesystem::path& file) const {
    const std::vector<std::uint8_t> data = bytes();
    return WriteFileAtomic(file, data);
}

bool WriteLoosePtf(const std::filesystem::path& file, std::span<const std::uint8_t> stream) {
    return WriteFileAtomic(file, stream);
}

}  // namespace vra::simkit
