// core.ini reading and rewriting on any bytes: the first 16 bytes give the
// four values to write, the rest is the file. Every byte outside the four
// value fields must survive the rewrite, and each key must read back as
// written.
#include "core/settings/CoreIniEditor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Field {
    std::string_view key;
    std::int32_t value;
    vra::IniField where;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 16) return 0;
    std::int32_t raw[4];
    std::memcpy(raw, data, sizeof raw);
    const std::string text(reinterpret_cast<const char*>(data) + 16, size - 16);

    vra::CoreIniValues values{raw[0], raw[1], raw[2], raw[3]};
    (void)vra::ReadCoreIniValues(text);
    std::vector<std::string> missing;
    const std::string out = vra::CoreIniEditor::Rewrite(text, values, &missing);

    if (values.record_telem_sample != 0 || values.record_telem_state_a != 0) values.record_telem = 1;
    const std::pair<std::string_view, std::int32_t> keys[] = {
        {vra::kRecordTelem, values.record_telem},
        {vra::kRecordTelemAtPhysicsRate, values.record_telem_at_physics_rate},
        {vra::kRecordTelemSample, values.record_telem_sample},
        {vra::kRecordTelemStateA, values.record_telem_state_a},
    };
    std::vector<Field> fields;
    std::size_t missingCount = 0;
    for (const auto& [key, value] : keys) {
        if (auto where = vra::FindIniField(text, key)) {
            fields.push_back({key, value, *where});
        } else {
            ++missingCount;
        }
    }
    if (missing.size() != missingCount) std::abort();
    std::sort(fields.begin(), fields.end(),
              [](const Field& a, const Field& b) { return a.where.begin < b.where.begin; });

    // Walk both texts: the bytes between fields are equal, shifted by what
    // the fields before them grew.
    std::size_t from = 0;
    std::ptrdiff_t shift = 0;
    for (const Field& f : fields) {
        if (f.where.begin < from) std::abort();  // fields of distinct keys never overlap
        const std::size_t gap = f.where.begin - from;
        if (out.compare(from + shift, gap, text, from, gap) != 0) std::abort();
        const auto now = vra::FindIniField(out, f.key);
        if (!now || now->begin != f.where.begin + shift) std::abort();
        if (vra::ReadIniInt(out, f.key) != f.value) std::abort();
        const std::size_t oldWidth = f.where.end - f.where.begin;
        const std::size_t newWidth = now->end - now->begin;
        if (newWidth < oldWidth) std::abort();
        shift += static_cast<std::ptrdiff_t>(newWidth) - static_cast<std::ptrdiff_t>(oldWidth);
        from = f.where.end;
    }
    if (out.size() != text.size() + shift) std::abort();
    if (out.compare(from + shift, std::string::npos, text, from, std::string::npos) != 0) std::abort();
    return 0;
}
