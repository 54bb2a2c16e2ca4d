#include "gui/platform/QtSettingsStore.h"

#include "core/base/AtomicFile.h"
#include "gui/platform/Cp1252.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

namespace vra {

namespace {

const QString kProgramName = QStringLiteral("Velmar Replay Analyzer");
const QString kProgramGroup = QStringLiteral("Settings");
const QString kSimOrganisation = QStringLiteral("Sorvan");
const QString kSimApplication = QStringLiteral("Velmar");

// The name Qt gives a value of a key: the program's values sit in a group.
QString FullName(SettingsKey key, std::string_view name) {
    const QString n = Cp1252ToQString(name);
    return key == SettingsKey::Program ? kProgramGroup + QLatin1Char('/') + n : n;
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

// A value as it reads back from the file, so that a value reads the same
// before and after the next start: numbers are text there.
QVariant ToVariant(const SettingsValue& value) {
    if (auto* i = std::get_if<std::int32_t>(&value)) return QString::number(*i);
    if (auto* t = std::get_if<std::string>(&value)) return Cp1252ToQString(*t);
    const auto& b = std::get<std::vector<std::uint8_t>>(value);
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

bool IsHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A key or group name: letters, digits and "_-." as they are, '/' as '\',
// everything else percent-encoded.
QString EscapedKey(const QString& key) {
    QString out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == '/')
            out += QLatin1Char('\\');
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
                 c == '.')
            out += qc;
        else if (c <= 0xFF)
            out += QLatin1Char('%') + QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            out += QStringLiteral("%U") + QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    }
    return out;
}

// A text in quotes (so that commas, semicolons and outer spaces are its own)
// with everything but printable ASCII as \x escapes. The reader takes every
// hex digit after \x, so a hex digit right after an escape is escaped too.
QString QuotedText(const QString& text) {
    QString out = QStringLiteral("\"");
    bool afterEscape = false;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == '"' || c == '\\') {
            out += QLatin1Char('\\');
            out += qc;
            afterEscape = false;
        } else if (c >= 0x20 && c < 0x7F && !(afterEscape && IsHexDigit(c))) {
            out += qc;
            afterEscape = false;
        } else {
            out += QStringLiteral("\\x") + QString::number(c, 16).rightJustified(4, QLatin1Char('0'));
            afterEscape = true;
        }
    }
    return out + QLatin1Char('"');
}

QString ValueText(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::UnknownType:
            return QStringLiteral("@Invalid()");
        case QMetaType::QString: {
            QString s = v.toString();
            // Numbers are stored as text; bare, they read as in any ini file.
            static const QRegularExpression kNumber(QStringLiteral("^-?[0-9]{1,10}$"));
            if (kNumber.match(s).hasMatch()) return s;
            // A leading '@' marks Qt's typed values; a text's own is doubled.
            if (s.startsWith(QLatin1Char('@'))) s.prepend(QLatin1Char('@'));
            return QuotedText(s);
        }
        case QMetaType::QByteArray:
            return QuotedText(QStringLiteral("@ByteArray(") + QString::fromLatin1(v.toByteArray()) + QLatin1Char(')'));
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return v.toString();
        case QMetaType::QStringList: {
            const QStringList list = v.toStringList();
            if (list.isEmpty()) return QStringLiteral("@Invalid()");
            QStringList parts;
            for (QString s : list) {
                if (s.startsWith(QLatin1Char('@'))) s.prepend(QLatin1Char('@'));
                parts << QuotedText(s);
            }
            return parts.join(QStringLiteral(", "));
        }
        default: {
            QByteArray bytes;
            QDataStream stream(&bytes, QIODevice::WriteOnly);
            stream.setVersion(QDataStream::Qt_4_0);
            stream << v;
            return QuotedText(QStringLiteral("@Variant(") + QString::fromLatin1(bytes) + QLatin1Char(')'));
        }
    }
}

std::filesystem::path LocalPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

QByteArray IniFileText(const std::map<QString, QVariant>& values) {
    // Values without a group go to "General", which therefore comes first; a
    // group really named so is marked with '%'.
    std::map<QString, std::vector<std::pair<QString, const QVariant*>>> groups;
    std::vector<std::pair<QString, const QVariant*>> general;
    for (const auto& [key, value] : values) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0)
            general.emplace_back(key, &value);
        else
            groups[key.left(slash)].emplace_back(key.mid(slash + 1), &value);
    }
    QString text;
    auto section = [&text](const QString& header, const auto& entries) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QLatin1Char('[') + header + QStringLiteral("]\n");
        for (const auto& [name, value] : entries)
            text += EscapedKey(name) + QLatin1Char('=') + ValueText(*value) + QLatin1Char('\n');
    };
    if (!general.empty()) section(QStringLiteral("General"), general);
    for (const auto& [group, entries] : groups) {
        QString header = EscapedKey(group);
        if (group.compare(QStringLiteral("General"), Qt::CaseInsensitive) == 0) header.prepend(QLatin1Char('%'));
        section(header, entries);
    }
    return text.toUtf8();
}

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString& folder) : folder_(folder) {}

QString QtSettingsStore::iniPath(SettingsKey key, SettingsScope scope) const {
    if (folder_.isEmpty()) {
        const auto qscope = scope == SettingsScope::User ? QSettings::UserScope : QSettings::SystemScope;
        if (key == SettingsKey::Program)
            return QSettings(QSettings::NativeFormat, qscope, kProgramName, kProgramName).fileName();
        return QSettings(QSettings::NativeFormat, qscope, kSimOrganisation, kSimApplication).fileName();
    }
    const QString scopeDir = scope == SettingsScope::User ? QStringLiteral("user") : QStringLiteral("system");
    const QString file = key == SettingsKey::Program
                             ? kProgramName + QLatin1Char('/') + kProgramName + QStringLiteral(".ini")
                             : kSimOrganisation + QLatin1Char('/') + kSimApplication + QStringLiteral(".ini");
    return QDir(folder_).filePath(scopeDir + QLatin1Char('/') + file);
}

QtSettingsStore::File& QtSettingsStore::file(SettingsKey key, SettingsScope scope) const {
    File& f = files_[{key, scope}];
    if (f.loaded) return f;
    f.loaded = true;
    const QString path = iniPath(key, scope);
    const QFileInfo info(path);
    if (info.exists() && !info.isReadable()) {
        f.unreadable = true;
        return f;
    }
    const QSettings settings(path, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    if (settings.status() == QSettings::AccessError) {
        f.unreadable = true;
        return f;
    }
    for (const QString& k : keys) f.values[k] = settings.value(k);
    return f;
}

std::optional<SettingsValue> QtSettingsStore::read(SettingsKey key, SettingsScope scope, std::string_view name,
                                                   SettingsKind kind) const {
    const File& f = file(key, scope);
    const auto it = f.values.find(FullName(key, name));
    if (it == f.values.end()) return std::nullopt;
    const QVariant& v = it->second;
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
    return file(key, scope).values.contains(FullName(key, name));
}

bool QtSettingsStore::write(SettingsKey key, std::string_view name, const SettingsValue& value) {
    const SettingsChange change{std::string(name), value};
    return apply(key, std::span(&change, 1));
}

bool QtSettingsStore::remove(SettingsKey key, std::string_view name) {
    const SettingsChange change{std::string(name), std::nullopt};
    return apply(key, std::span(&change, 1));
}

bool QtSettingsStore::apply(SettingsKey key, std::span<const SettingsChange> changes) {
    const SettingsKeyChanges one{key, changes};
    return applyAll(std::span(&one, 1));
}

bool QtSettingsStore::applyAll(std::span<const SettingsKeyChanges> keys) {
    struct Pending {
        File* file;
        std::map<QString, QVariant> values;
        std::filesystem::path target;
        std::unique_ptr<AtomicFile> out;
    };
    std::vector<Pending> pending;
    for (const auto& [key, changes] : keys) {
        File& f = file(key, SettingsScope::User);
        const QString path = iniPath(key, SettingsScope::User);
        if (f.unreadable) {
            lastError_ = QFile::encodeName(path).toStdString() + " cannot be read";
            return false;
        }
        std::map<QString, QVariant> values = f.values;
        for (const auto& change : changes) {
            if (change.value)
                values[FullName(key, change.name)] = ToVariant(*change.value);
            else
                values.erase(FullName(key, change.name));
        }
        // Nothing new: the file holds it already (a save at exit with nothing
        // changed must not fail on a full disk).
        if (values == f.values && (QFileInfo::exists(path) || values.empty())) continue;
        pending.push_back({&f, std::move(values), LocalPath(path), nullptr});
    }

    // Every new file whole and on the disk first; the old files are replaced
    // only then. Until the renames, a failure removes the temporary files
    // (AtomicFile's destructor) and leaves every old file as it was.
    for (Pending& p : pending) {
        std::error_code ec;
        std::filesystem::create_directories(p.target.parent_path(), ec);
        if (ec) {
            lastError_ = ec.message();
            return false;
        }
        p.out = std::make_unique<AtomicFile>(p.target);
        const QByteArray text = IniFileText(p.values);
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.constData()), std::size_t(text.size()));
        if (!p.out->isOpen() || !p.out->write(bytes) || !p.out->finish()) {
            lastError_ = (p.out->error() ? p.out->error() : std::make_error_code(std::errc::io_error)).message();
            return false;
        }
    }
    for (Pending& p : pending) {
        // Beside its target in a folder just written in, a rename fails only
        // when the file system itself does; keys renamed before keep their
        // new values then.
        if (!p.out->commit()) {
            lastError_ = p.out->error().message();
            return false;
        }
        p.file->values = std::move(p.values);
    }
    lastError_.clear();
    return true;
}

}  // namespace vra
