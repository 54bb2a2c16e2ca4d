#include "gui/platform/QtSettingsStore.h"

#include "gui/platform/Cp1252.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QVariant>

#include <limits>

namespace vra {

namespace {

const QString kProgramName = QStringLiteral("Velmar Replay Analyzer");
const QString kProgramGroup = QStringLiteral("Settings");
const QString kSimOrganisation = QStringLiteral("Sorvan");
const QString kSimApplication = QStringLiteral("Velmar");

QString Name(std::string_view name) {
    return Cp1252ToQString(name);
}

std::optional<std::int32_t> ToInt32(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            bool ok = false;
            const qlonglong n = v.toLongLong(&ok);
            // A 32-bit word may come back unsigned; keep its bits.
            if (!ok || n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
        }
        case QMetaType::QString: {
            // Text files keep numbers as text.
            bool ok = false;
            const int n = v.toString().trimmed().toInt(&ok, 10);
            return ok ? std::optional<std::int32_t>(n) : std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString& folder) : folder_(folder) {}

QString QtSettingsStore::iniPath(SettingsKey key, SettingsScope scope) const {
    if (folder_.isEmpty()) return {};
    const QString scopeDir = scope == SettingsScope::User ? QStringLiteral("user") : QStringLiteral("system");
    const QString file = key == SettingsKey::Program
                             ? kProgramName + QLatin1Char('/') + kProgramName + QStringLiteral(".ini")
                             : kSimOrganisation + QLatin1Char('/') + kSimApplication + QStringLiteral(".ini");
    return QDir(folder_).filePath(scopeDir + QLatin1Char('/') + file);
}

std::unique_ptr<QSettings> QtSettingsStore::open(SettingsKey key, SettingsScope scope) const {
    std::unique_ptr<QSettings> s;
    if (!folder_.isEmpty()) {
        s = std::make_unique<QSettings>(iniPath(key, scope), QSettings::IniFormat);
    } else {
        const auto qscope = scope == SettingsScope::User ? QSettings::UserScope : QSettings::SystemScope;
        if (key == SettingsKey::Program)
            s = std::make_unique<QSettings>(QSettings::NativeFormat, qscope, kProgramName, kProgramName);
        else
            s = std::make_unique<QSettings>(QSettings::NativeFormat, qscope, kSimOrganisation, kSimApplication);
    }
    // Each scope is asked on its own; the caller decides the order.
    s->setFallbacksEnabled(false);
    if (key == SettingsKey::Program) s->beginGroup(kProgramGroup);
    return s;
}

std::optional<SettingsValue> QtSettingsStore::read(SettingsKey key, SettingsScope scope, std::string_view name,
                                                   SettingsKind kind) const {
    auto s = open(key, scope);
    const QString n = Name(name);
    if (!s->contains(n)) return std::nullopt;
    const QVariant v = s->value(n);
    switch (kind) {
        case SettingsKind::Int:
            if (auto i = ToInt32(v)) return SettingsValue{*i};
            return std::nullopt;
        case SettingsKind::String:
            if (v.metaType().id() == QMetaType::QString) return SettingsValue{QStringToCp1252(v.toString())};
            return std::nullopt;
        case SettingsKind::Binary:
            if (v.metaType().id() == QMetaType::QByteArray) {
                const QByteArray b = v.toByteArray();
                return SettingsValue{std::vector<std::uint8_t>(b.begin(), b.end())};
            }
            return std::nullopt;
    }
    return std::nullopt;
}

bool QtSettingsStore::contains(SettingsKey key, SettingsScope scope, std::string_view name) const {
    return open(key, scope)->contains(Name(name));
}

bool QtSettingsStore::write(SettingsKey key, std::string_view name, const SettingsValue& value) {
    auto s = open(key, SettingsScope::User);
    if (!s->isWritable()) return false;
    QVariant v;
    if (auto* i = std::get_if<std::int32_t>(&value)) {
        v = QVariant(int(*i));
    } else if (auto* t = std::get_if<std::string>(&value)) {
        v = Cp1252ToQString(*t);
    } else {
        const auto& b = std::get<std::vector<std::uint8_t>>(value);
        v = QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
    }
    s->setValue(Name(name), v);
    s->sync();
    return s->status() == QSettings::NoError;
}

bool QtSettingsStore::remove(SettingsKey key, std::string_view name) {
    auto s = open(key, SettingsScope::User);
    if (!s->isWritable()) return false;
    s->remove(Name(name));
    s->sync();
    return s->status() == QSettings::NoError;
}

}  // namespace vra
