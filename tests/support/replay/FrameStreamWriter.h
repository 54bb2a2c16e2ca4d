#pragma once
// Writes a bare frame chunk (its 12-byte header, then frames of records) at
// offset 0 of a byte image, for readers that walk the frame stream on their
// own. Every length is settable so that tests can damage them.

#include <cstdint>
#include <cstring>
#include <vector>

namespace vra::test {

struct StreamRecord {
    std::uint16_t type = 0;
    std::vector<std::uint8_t> body;
    int length = -1;  // the length field; -1: 4 + body size

    static StreamRecord Word(std::uint16_t type, std::uint32_t w) {
        StreamRecord r{type, std::vector<std::uint8_t>(4)};
        std::memcpy(r.body.data(), &w, 4);
        return r;
    }
    template <typename T>
    static StreamRecord Of(std::uint16_t type, const T* values, std::size_t count) {
        StreamRecord r{type, std::vector<std::uint8_t>(count * sizeof(T))};
        std::memcpy(r.body.data(), values, r.body.size());
        return r;
    }
};

class FrameStreamWriter {
public:
    // Appends a frame; sizeField overrides its size field.
    void Frame(const std::vector<StreamRecord>& records, int sizeField = -1) {
        offsets.push_back(frames_.size() + 12);
        std::vector<std::uint8_t> f(8);
        for (const StreamRecord& r : records) {
            const std::uint32_t length = r.length < 0 ? std::uint32_t(4 + r.body.size()) : std::uint32_t(r.length);
            const std::uint32_t head = r.type | (length << 16);
            Append(f, &head, 4);
            f.insert(f.end(), r.body.begin(), r.body.end());
            while (f.size() % 4) f.push_back(0);
        }
        const std::uint16_t size = sizeField < 0 ? std::uint16_t(f.size()) : std::uint16_t(sizeField);
        std::memcpy(f.data(), &size, 2);
        std::memcpy(f.data() + 2, &previous_, 2);
        std::memcpy(f.data() + 4, &time_, 4);
        previous_ = std::uint16_t(f.size());
        ++time_;
        frames_.insert(frames_.end(), f.begin(), f.end());
    }

    // The chunk: "PTPR", the frame count, the data size, then the frames.
    std::vector<std::uint8_t> Bytes(std::int64_t dataSize = -1) const {
        std::vector<std::uint8_t> out;
        const std::uint32_t magic = 0x52505450, count = std::uint32_t(offsets.size());
        const std::uint32_t size = dataSize < 0 ? std::uint32_t(frames_.size()) : std::uint32_t(dataSize);
        Append(out, &magic, 4);
        Append(out, &count, 4);
        Append(out, &size, 4);
        out.insert(out.end(), frames_.begin(), frames_.end());
        return out;
    }

    std::vector<std::uint64_t> offsets;  // of every frame in Bytes()

private:
    static void Append(std::vector<std::uint8_t>& v, const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        v.insert(v.end(), b, b + n);
    }
    std::vector<std::uint8_t> frames_;
    std::uint16_t previous_ = 0;
    std::uint32_t time_ = 0;
};

}  // namespace vra::test
