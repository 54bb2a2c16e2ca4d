#include "core/platform/SettingsStore.h"

#include <type_traits>

namespace vra {

namespace {

template <class T>
std::optional<T> ReadAs(const SettingsStore& store, SettingsKey key, std::string_view name) {
    SettingsKind kind = SettingsKind::Binary;
    if constexpr (std::is_same_v<T, std::int32_t>)
        kind = SettingsKind::Int;
    else if constexpr (std::is_same_v<T, std::string>)
        kind = SettingsKind::String;
    auto value = store.read(key, SettingsScope::User, name, kind);
    if (!value) return std::nullopt;
    if (auto* typed = std::get_if<T>(&*value)) return std::move(*typed);
    return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> SettingsStore::readInt(SettingsKey key, std::string_view name) const {
    return ReadAs<std::int32_t>(*this, key, name);
}

std::optional<std::string> SettingsStore::readString(SettingsKey key, std::string_view name) const {
    return ReadAs<std::string>(*this, key, name);
}

std::optional<std::vector<std::uint8_t>> SettingsStore::readBinary(SettingsKey key, std::string_view name) const {
    return ReadAs<std::vector<std::uint8_t>>(*this, key, name);
}

bool SettingsStore::writeInt(SettingsKey key, std::string_view name, std::int32_t value) {
    return write(key, name, SettingsValue{value});
}

bool SettingsStore::writeString(SettingsKey key, std::string_view name, std::string_view value) {
    return write(key, name, SettingsValue{std::string(value)});
}

bool SettingsStore::writeBinary(SettingsKey key, std::string_view name, std::span<const std::uint8_t> value) {
    return write(key, name, SettingsValue{std::vector<std::uint8_t>(value.begin(), value.end())});
}

bool SettingsStore::apply(SettingsKey key, std::span<const SettingsChange> changes) {
    bool ok = true;
    for (const auto& change : changes)
        ok &= change.value ? write(key, change.name, *change.value) : remove(key, change.name);
    return ok;
}

bool SettingsStore::applyAll(std::span<const SettingsKeyChanges> keys) {
    bool ok = true;
    for (const auto& [key, changes] : keys) ok &= apply(key, changes);
    return ok;
}

}  // namespace vra
