// The per-user hive in memory and its .reg text form.
//
// Text form: a "REGEDIT4" header line, then one "[HKEY_CURRENT_USER\A\B]" section per key
// followed by its values, one a line:
//   "Name"="text"          REG_SZ; in quotes \\ \" \n \r and \xHH (control bytes and bytes
//                          that are not UTF-8) are escaped, so any byte string round-trips
//   "Name"=dword:0000020c  REG_DWORD (four data bytes, little-endian)
//   "Name"=hex(2):41,42    REG_EXPAND_SZ and any other type N as hex(N):, REG_BINARY as hex:
//   @=...                  the key's unnamed value
// A hex list may go on in the next line after a trailing backslash. Blank lines and lines
// starting with ';' are ignored. Key and value names compare without regard to ASCII case.
#pragma once

#include "platform/AnsiString.h"
#include "platform/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A hive text that cannot be parsed; the message names the line.
class EHiveSyntaxError : public Exception {
public:
    using Exception::Exception;
};

enum RegistryValueType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
};

struct RegistryValue {
    AnsiString name;
    std::uint32_t type = REG_NONE;
    std::string data; // raw bytes; a REG_DWORD holds four, little-endian

    bool operator==(const RegistryValue&) const = default;
};

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(AnsiString name) : name(std::move(name)) {}

    const AnsiString& Name() const { return name; }
    const std::vector<RegistryValue>& Values() const { return values; }
    const std::vector<RegistryKey>& Subkeys() const { return subkeys; }

    // Lookups ignore ASCII case; null when missing.
    const RegistryKey* FindSubkey(std::string_view keyName) const;
    RegistryKey* FindSubkey(std::string_view keyName);
    const RegistryValue* FindValue(std::string_view valueName) const;

    // The subkey of that name, appended when missing (the first spelling stays).
    RegistryKey& ObtainSubkey(std::string_view keyName);
    // False when there is no such subkey.
    bool RemoveSubkey(std::string_view keyName);
    // Replaces type and data of an existing value, keeping its spelling, or appends one.
    void SetValue(std::string_view valueName, std::uint32_t type, std::string data);

    bool operator==(const RegistryKey&) const = default;

private:
    AnsiString name;
    std::vector<RegistryValue> values;
    std::vector<RegistryKey> subkeys;
};

// The four data bytes of a REG_DWORD and back; DwordValue needs four bytes.
std::string DwordData(std::uint32_t value);
std::uint32_t DwordValue(std::string_view data);

// True when two names are equal apart from the case of ASCII letters.
bool SameRegistryName(std::string_view a, std::string_view b);

// True for a name that one key may bear: 1 to 255 bytes of UTF-8 without control
// characters and without a backslash.
bool IsValidKeyName(std::string_view keyName);

// How many keys deep a key may lie below HKEY_CURRENT_USER, as in the Windows registry.
// Bounds the recursion of everything that walks a hive.
constexpr std::size_t kMaxKeyDepth = 512;

// Parses a hive text into the key HKEY_CURRENT_USER; throws EHiveSyntaxError.
RegistryKey ParseHive(std::string_view text);

// The text form of a hive; ParseHive gives the same hive back.
std::string SerializeHive(const RegistryKey& root);
