#include "platform/MemorySettingsStore.h"

namespace vra::test {

std::optional<SettingsValue> MemorySettingsStore::read(SettingsKey key, SettingsScope scope,
                                                       std::string_view name, SettingsKind kind) const
{
    auto value = stored(key, scope, name);
    if (!value || value->index() != static_cast<std::size_t>(kind))
        return std::nullopt;
    return value;
}

bool MemorySettingsStore::contains(SettingsKey key, SettingsScope scope, std::string_view name) const
{
    return stored(key, scope, name).has_value();
}

bool MemorySettingsStore::write(SettingsKey key, std::string_view name, const SettingsValue& value)
{
    if (readOnly_)
        return false;
    writes_.push_back({key, std::string(name), value});
    values_[{key, SettingsScope::User, std::string(name)}] = value;
    return true;
}

bool MemorySettingsStore::remove(SettingsKey key, std::string_view name)
{
    if (readOnly_)
        return false;
    values_.erase({key, SettingsScope::User, std::string(name)});
    return true;
}

void MemorySettingsStore::preset(SettingsKey key, SettingsScope scope, std::string_view name,
                                 SettingsValue value)
{
    values_[{key, scope, std::string(name)}] = std::move(value);
}

std::optional<SettingsValue> MemorySettingsStore::stored(SettingsKey key, SettingsScope scope,
                                                         std::string_view name) const
{
    auto it = values_.find({key, scope, std::string(name)});
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

}  // namespace vra::test
