#pragma once
// An in-memory settings store for tests: both keys, both scopes, every write
// recorded in order. Either scope can be preset; writes go to the user scope.

#include "core/platform/SettingsStore.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vra::test {

class MemorySettingsStore : public SettingsStore {
public:
    struct Write {
        SettingsKey key;
        std::string name;
        SettingsValue value;
    };

    std::optional<SettingsValue> read(SettingsKey key, SettingsScope scope, std::string_view name,
                                      SettingsKind kind) const override {
        auto value = stored(key, scope, name);
        return value && value->index() == static_cast<std::size_t>(kind) ? value : std::nullopt;
    }
    bool contains(SettingsKey key, SettingsScope scope, std::string_view name) const override {
        return values_.contains({key, scope, std::string(name)});
    }
    using SettingsStore::contains;
    bool write(SettingsKey key, std::string_view name, const SettingsValue& value) override {
        if (!readOnly_) {
            writes_.push_back({key, std::string(name), value});
            values_[{key, SettingsScope::User, std::string(name)}] = value;
        }
        return !readOnly_;
    }
    bool remove(SettingsKey key, std::string_view name) override {
        return !readOnly_ && (values_.erase({key, SettingsScope::User, std::string(name)}), true);
    }

    // Presets a value without recording a write (what an earlier run or the
    // simulation's installer left behind).
    void preset(SettingsKey key, SettingsScope scope, std::string_view name, SettingsValue value) {
        values_[{key, scope, std::string(name)}] = std::move(value);
    }
    // The value as stored in a scope, bypassing the typed reads.
    std::optional<SettingsValue> stored(SettingsKey key, SettingsScope scope, std::string_view name) const {
        auto it = values_.find({key, scope, std::string(name)});
        return it == values_.end() ? std::nullopt : std::optional(it->second);
    }

    const std::vector<Write>& writes() const { return writes_; }
    // Makes every write fail, as a read-only registry would.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    std::map<std::tuple<SettingsKey, SettingsScope, std::string>, SettingsValue> values_;
    std::vector<Write> writes_;
    bool readOnly_ = false;
};

}  // namespace vra::test
