#include "simkit/track/RaceLineWriter.h"

#include "core/base/FileUtil.h"

#include "simkit/track/TrackLayout.h"

#include <cstring>

namespace vra::simkit {

namespace {

template <typename T>
void Put(std::vector<std::uint8_t>& out, T v) {
    std::uint8_t b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    out.insert(out.end(), b, b + sizeof(T));
}

}  // namespace

RaceLineWriter& RaceLineWriter::offsets(std::vector<float> values) {
    offsets_ = std::move(values);
    return *this;
}

RaceLineWriter& RaceLineWriter::declaredCount(std::uint32_t count) {
    declared_ = count;
    return *this;
}

RaceLineWriter& RaceLineWriter::truncatedTo(std::size_t bytes) {
    truncated_ = bytes;
    return *this;
}

RaceLineWriter RaceLineWriter::ForLayout(const TrackLayout& layout) {
    std::vector<float> values;
    const double length = layout.TotalLength();
    for (std::uint32_t i = 0; 3.0 * i < length; ++i)
        values.push_back(static_cast<float>(layout.RaceLineOffsetAt(3.0 * i)));
    RaceLineWriter w;
    w.offsets(std::move(values));
    return w;
}

std::vector<std::uint8_t> RaceLineWriter::bytes() const {
    std::vector<std::uint8_t> out;
    Put<std::uint32_t>(out, 0x4C50u);
    Put<std::uint32_t>(out, declared_.value_or(static_cast<std::uint32_t>(offsets_.size())));
    Put<std::uint32_t>(out, 3u);
    Put<std::uint32_t>(out, 0u);
    for (std::size_t i = 0; i < offsets_.size(); ++i) {
        Put<float>(out, offsets_[i]);
        Put<float>(out, 42.0f);  // values the reader skips
        Put<float>(out, static_cast<float>(i) * 3.0f);
        Put<std::uint32_t>(out, 0xDEADBEEFu);
        Put<float>(out, -1.0f);
        Put<float>(out, 1.0e30f);
    }
    if (truncated_ && *truncated_ < out.size()) out.resize(*truncated_);
    return out;
}

bool RaceLineWriter::write(const std::filesystem::path& file) const {
    const std::vector<std::uint8_t> data = bytes();
    return WriteFileAtomic(file, data);
}

}  // namespace vra::simkit
