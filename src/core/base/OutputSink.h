#pragma once
// Where a writer puts its bytes. Writers stream into a sink instead of
// building whole files in memory, and every write is checked: a sink that
// failed once stays failed, so a writer may check after each write or only
// at the end.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vra {

class OutputSink {
public:
    virtual ~OutputSink() = default;

    // Appends bytes. False when they could not all be taken; after a failure
    // every later write returns false too.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Appends the bytes of text as they are (no conversion, no terminator).
    bool write(std::string_view text) {
        return write(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
};

// Collects everything in memory: encode first, then hand the bytes to a file
// writer, or look at them in a test.
class MemorySink final : public OutputSink {
public:
    using OutputSink::write;
    bool write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return true;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace vra
