#include "core/settings/CRegistry.h"

#include "core/base/ByteCursor.h"

#include <algorithm>
#include <limits>

namespace vra {

CRegistry::CRegistry(SettingsStore& store, SettingsKey key, bool systemFallback)
    : store_(store), key_(key), systemFallback_(systemFallback) {}

std::optional<SettingsValue> CRegistry::Find(std::string_view name, SettingsKind kind) const {
    auto value = store_.read(key_, SettingsScope::User, name, kind);
    if (!value && systemFallback_) value = store_.read(key_, SettingsScope::System, name, kind);
    return value;
}

bool CRegistry::Done(bool ok, ValueType type, std::size_t size) {
    lastOk_ = ok;
    lastType_ = type;
    lastSize_ = static_cast<std::uint32_t>(std::min<std::size_t>(size, std::numeric_limits<std::uint32_t>::max()));
    return ok;
}

bool CRegistry::VerifyValue(std::string_view name) const {
    return store_.contains(key_, SettingsScope::User, name) ||
           (systemFallback_ && store_.contains(key_, SettingsScope::System, name));
}

bool CRegistry::ReadDword(std::string_view name, std::int32_t& out) {
    auto value = Find(name, SettingsKind::Int);
    auto* word = value ? std::get_if<std::int32_t>(&*value) : nullptr;
    if (!word) return Done(false, ValueType::None, 0);
    out = *word;
    return Done(true, ValueType::Dword, 4);
}

bool CRegistry::WriteDword(std::string_view name, std::int32_t value) {
    return Done(store_.write(key_, name, SettingsValue{value}), ValueType::Dword, 4);
}

bool CRegistry::ReadString(std::string_view name, std::string& out) {
    auto value = Find(name, SettingsKind::String);
    auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
    if (!text) return Done(false, ValueType::None, 0);
    out = std::move(*text);
    return Done(true, ValueType::String, out.size() + 1);
}

bool CRegistry::WriteString(std::string_view name, std::string_view text) {
    return Done(store_.write(key_, name, SettingsValue{std::string(text)}), ValueType::String, text.size() + 1);
}

bool CRegistry::ReadBinary(std::string_view name, std::vector<std::uint8_t>& out) {
    auto value = Find(name, SettingsKind::Binary);
    auto* bytes = value ? std::get_if<std::vector<std::uint8_t>>(&*value) : nullptr;
    if (!bytes) return Done(false, ValueType::None, 0);
    out = std::move(*bytes);
    return Done(true, ValueType::Binary, out.size());
}

bool CRegistry::WriteBinary(std::string_view name, std::span<const std::uint8_t> bytes) {
    return Done(store_.write(key_, name, SettingsValue{std::vector<std::uint8_t>(bytes.begin(), bytes.end())}),
                ValueType::Binary, bytes.size());
}

bool CRegistry::ReadObject(std::string_view name, std::vector<std::uint32_t>& words) {
    std::vector<std::uint8_t> bytes;
    if (!ReadBinary(name, bytes)) return false;
    // The value is taken through a buffer of this size; a longer one is
    // refused whole rather than read in part.
    if (bytes.size() > kObjectBufferSize) return Done(false, ValueType::Binary, bytes.size());
    auto decoded = DecodeWordArray(bytes);
    if (!decoded) return Done(false, ValueType::Binary, bytes.size());
    words = std::move(*decoded);
    return true;
}

bool CRegistry::WriteObject(std::string_view name, std::span<const std::uint32_t> words) {
    return WriteBinary(name, EncodeWordArray(words));
}

bool CRegistry::DeleteValue(std::string_view name) {
    return Done(store_.remove(key_, name), ValueType::None, 0);
}

std::vector<std::uint8_t> EncodeWordArray(std::span<const std::uint32_t> words) {
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    if (words.size() < 0xFFFF) {
        put(words.size(), 2);
    } else {
        put(0xFFFF, 2);
        put(words.size(), 4);
    }
    for (std::uint32_t w : words) put(w, 4);
    return out;
}

std::optional<std::vector<std::uint32_t>> DecodeWordArray(std::span<const std::uint8_t> bytes) {
    ByteCursor cur(bytes);
    std::uint16_t shortCount = 0;
    if (!cur.u16(shortCount)) return std::nullopt;
    std::uint32_t count = shortCount;
    if (shortCount == 0xFFFF && !cur.u32(count)) return std::nullopt;
    if (count > cur.remaining() / 4) return std::nullopt;
    std::vector<std::uint32_t> words(count);
    for (auto& w : words) cur.u32(w);
    return words;
}

}  // namespace vra
