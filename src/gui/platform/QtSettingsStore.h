#pragma once
// The settings store on QSettings. The program's values live under
// organisation and application "Velmar Replay Analyzer", group "Settings";
// the simulation's folder under organisation "Sorvan", application "Velmar".
// On Windows these are the very registry keys the simulation and earlier
// versions of the program use.

#include "core/platform/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

namespace vra {

class QtSettingsStore : public SettingsStore {
public:
    // The user's real settings, in the platform's native place.
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

    // The ini file a key and scope use in folder mode; empty in native mode.
    QString iniPath(SettingsKey key, SettingsScope scope) const;

private:
    std::unique_ptr<QSettings> open(SettingsKey key, SettingsScope scope) const;

    QString folder_;
};

}  // namespace vra
