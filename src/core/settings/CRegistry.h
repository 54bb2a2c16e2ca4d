#pragma once
// One key of the settings store, read and written value by value. Every
// operation reports success and remembers the kind and size of the value it
// last touched, which the settings object and its tests can inspect.

#include "core/platform/SettingsStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class CRegistry {
public:
    enum class ValueType : std::uint32_t { None = 0, String = 1, Binary = 3, Dword = 4 };

    // Reads look in the user scope first; with systemFallback they then look
    // in the machine-wide scope, which is never written.
    CRegistry(SettingsStore& store, SettingsKey key, bool systemFallback = false);

    bool VerifyValue(std::string_view name) const;
    // The output is changed only on success.
    bool ReadDword(std::string_view name, std::int32_t& out);
    bool WriteDword(std::string_view name, std::int32_t value);
    // Texts of any length.
    bool ReadString(std::string_view name, std::string& out);
    bool WriteString(std::string_view name, std::string_view text);
    bool ReadBinary(std::string_view name, std::vector<std::uint8_t>& out);
    bool WriteBinary(std::string_view name, std::span<const std::uint8_t> bytes);
    // A serialised array of 32-bit words (see EncodeWordArray). A stored
    // value of more than kObjectBufferSize bytes fails to read.
    static constexpr std::size_t kObjectBufferSize = 4096;
    bool ReadObject(std::string_view name, std::vector<std::uint32_t>& words);
    bool WriteObject(std::string_view name, std::span<const std::uint32_t> words);
    bool DeleteValue(std::string_view name);

    bool LastSucceeded() const { return lastOk_; }
    ValueType LastType() const { return lastType_; }
    std::uint32_t LastSize() const { return lastSize_; }

private:
    std::optional<SettingsValue> Find(std::string_view name, SettingsKind kind) const;
    bool Done(bool ok, ValueType type, std::size_t size);

    SettingsStore& store_;
    SettingsKey key_;
    bool systemFallback_;
    bool lastOk_ = true;
    ValueType lastType_ = ValueType::None;
    std::uint32_t lastSize_ = 0;
};

// The stored form of a word array: a 16-bit element count (or 0xFFFF and a
// 32-bit count for large arrays), then the words, all little-endian.
std::vector<std::uint8_t> EncodeWordArray(std::span<const std::uint32_t> words);
// nullopt when the bytes are too short for the count they announce.
std::optional<std::vector<std::uint32_t>> DecodeWordArray(std::span<const std::uint8_t> bytes);

}  // namespace vra
