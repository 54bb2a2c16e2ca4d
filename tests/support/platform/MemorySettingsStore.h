#pragma once
// An in-memory settings store for tests: both keys, both scopes, every write
// recorded in order. Either scope can be preset; writes go to the user scope.

#include "platform/SettingsStore.h"

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
                                      SettingsKind kind) const override;
    bool contains(SettingsKey key, SettingsScope scope, std::string_view name) const override;
    using SettingsStore::contains;
    bool write(SettingsKey key, std::string_view name, const SettingsValue& value) override;
    bool remove(SettingsKey key, std::string_view name) override;

    // Presets a value without recording a write (what an earlier run or the
    // simulation's installer left behind).
    void preset(SettingsKey key, SettingsScope scope, std::string_view name, SettingsValue value);
    // The value as stored in a scope, bypassing the typed reads.
    std::optional<SettingsValue> stored(SettingsKey key, SettingsScope scope,
                                        std::string_view name) const;

    const std::vector<Write>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }
    // Makes every write fail, as a read-only registry would.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    using Slot = std::tuple<SettingsKey, SettingsScope, std::string>;
    std::map<Slot, SettingsValue> values_;
    std::vector<Write> writes_;
    bool readOnly_ = false;
};

}  // namespace vra::test
