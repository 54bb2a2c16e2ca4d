#pragma once
// The settings store on ini files. The program's values live in the file of
// organisation and application "Velmar Replay Analyzer", group "Settings";
// the simulation's folder in the file of organisation "Sorvan", application
// "Velmar". Qt reads the files; this store writes them itself, whole and
// through the atomic writer, so that a full disk or a crash can never leave a
// settings file cut short.

#include "core/platform/SettingsStore.h"

#include <QString>
#include <QVariant>

#include <map>
#include <utility>

namespace vra {

class QtSettingsStore : public SettingsStore {
public:
    // The user's real settings, in the platform's usual place.
    QtSettingsStore();
    // Settings kept in ini files under folder ("user" and "system" below
    // it), so that tests and demonstration runs leave the user's alone.
    explicit QtSettingsStore(const QString& folder);

    std::optional<SettingsValue> read(SettingsKey key, SettingsScope scope, std::string_view name,
                                      SettingsKind kind) const override;
    bool contains(SettingsKey key, SettingsScope scope, std::string_view name) const override;
    using SettingsStore::contains;
    bool write(SettingsKey key, std::string_view name, const SettingsValue& value) override;
    bool remove(SettingsKey key, std::string_view name) override;
    // Writes the key's file once, with every change or with none.
    bool apply(SettingsKey key, std::span<const SettingsChange> changes) override;
    // Writes every key's new file completely before any of them replaces its
    // old one: a failure leaves every file as it was. Each key at most once.
    bool applyAll(std::span<const SettingsKeyChanges> keys) override;
    std::string lastWriteError() const override { return lastError_; }

    // The file a key and scope use.
    QString iniPath(SettingsKey key, SettingsScope scope) const;

private:
    // One file as read at first use and as last written: this process's
    // writes are the truth from then on.
    struct File {
        bool loaded = false;
        // The file exists but could not be read: it is never written over,
        // as that would drop every value it holds.
        bool unreadable = false;
        std::map<QString, QVariant> values;  // keys as Qt names them ("Settings/MPH")
    };
    File& file(SettingsKey key, SettingsScope scope) const;

    QString folder_;
    mutable std::map<std::pair<SettingsKey, SettingsScope>, File> files_;
    std::string lastError_;
};

// The text of an ini file holding values (keys as Qt names them, a group
// before the first '/'), in the form Qt's own ini reader reads back to the
// same values: texts, byte arrays, lists of texts, and other kinds as Qt's
// serialised variants.
QByteArray IniFileText(const std::map<QString, QVariant>& values);

}  // namespace vra
