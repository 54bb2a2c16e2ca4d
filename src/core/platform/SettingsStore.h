#pragma once
// Persistent named values standing where the system registry stood: the
// program's own settings key and the simulation's installation key.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vra {

// Which key a value lives under.
enum class SettingsKey {
    Program,     // the analyser's own settings
    Simulation,  // the simulation's installation key (only "Directory" is used)
};

// Where a value is read from. The user scope is per user and writable; the
// system scope is machine-wide and only ever read, because an ordinary user
// cannot write it and the simulation's installer owns it.
enum class SettingsScope { User, System };

// A stored value: a 32-bit word, a text of any length (bytes, Windows-1252),
// or a binary blob.
using SettingsValue = std::variant<std::int32_t, std::string, std::vector<std::uint8_t>>;

// The kind a reader expects; it picks the alternative of SettingsValue.
enum class SettingsKind { Int = 0, String = 1, Binary = 2 };

// One change of a batch: a value to store under name, or none to remove it.
struct SettingsChange {
    std::string name;
    std::optional<SettingsValue> value;
};

// The changes of one key, for a save that spans several keys.
struct SettingsKeyChanges {
    SettingsKey key;
    std::span<const SettingsChange> changes;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The value as the kind asked for, or nullopt when it is missing or is
    // not of that kind. Stores whose files do not keep kinds (plain text
    // settings files) convert where the text allows it.
    virtual std::optional<SettingsValue> read(SettingsKey key, SettingsScope scope, std::string_view name,
                                              SettingsKind kind) const = 0;
    // Whether a value of any kind is stored under name in the scope.
    virtual bool contains(SettingsKey key, SettingsScope scope, std::string_view name) const = 0;
    // Writes into the user scope; false when the store refused.
    virtual bool write(SettingsKey key, std::string_view name, const SettingsValue& value) = 0;
    // Removes a value from the user scope; true when it is gone afterwards.
    virtual bool remove(SettingsKey key, std::string_view name) = 0;
    // Several changes of one key's user scope together. Stores that keep a
    // key in one file write it once and keep either every change or none, so
    // a save is one write, not one per value. The default applies the
    // changes one by one. False when the store refused any of them.
    virtual bool apply(SettingsKey key, std::span<const SettingsChange> changes);
    // The changes of several keys as one save: stores that can, keep every
    // key's changes or none of them. The default applies key by key, so a
    // failure there can leave earlier keys changed. False when the store
    // refused any of them.
    virtual bool applyAll(std::span<const SettingsKeyChanges> keys);
    // Why the last write failed, in words a user can act on ("No space left
    // on device"); empty when the store cannot tell.
    virtual std::string lastWriteError() const { return {}; }

    // Typed reads of the user scope: nullopt when missing or of another kind.
    std::optional<std::int32_t> readInt(SettingsKey key, std::string_view name) const;
    std::optional<std::string> readString(SettingsKey key, std::string_view name) const;
    std::optional<std::vector<std::uint8_t>> readBinary(SettingsKey key, std::string_view name) const;
    bool contains(SettingsKey key, std::string_view name) const { return contains(key, SettingsScope::User, name); }

    bool writeInt(SettingsKey key, std::string_view name, std::int32_t value);
    bool writeString(SettingsKey key, std::string_view name, std::string_view value);
    bool writeBinary(SettingsKey key, std::string_view name, std::span<const std::uint8_t> value);
};

}  // namespace vra
