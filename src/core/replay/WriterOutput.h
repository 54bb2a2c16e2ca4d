#pragma once
// Where the replay writers and the text export put their bytes. Commands
// write into a file that replaces its destination only when everything was
// written; tests and fuzz targets write into memory.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace vra {

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // false when the bytes could not be taken; the writer then stops.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    bool write(std::string_view text) {
        return write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
};

class MemorySink final : public OutputSink {
public:
    using OutputSink::write;
    bool write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return true;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Runs produce on a sink whose bytes replace the file at path only when
// produce returns true and every byte reached the disk; otherwise the file at
// path stays as it was. Returns whether the file was written.
bool WriteThroughFile(const std::filesystem::path& path, const std::function<bool(OutputSink&)>& produce);

}  // namespace vra
