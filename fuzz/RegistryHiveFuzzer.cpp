// Arbitrary bytes as a hive text, and as names and data that must survive the text form.
#include "platform/RegistryHive.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A hive that parses must give itself back through its text form.
void ParseAndRoundTrip(std::string_view text) {
    RegistryKey hive;
    try {
        hive = ParseHive(text);
    } catch (const EHiveSyntaxError&) {
        return;
    }
    const std::string serialized = SerializeHive(hive);
    Check(ParseHive(serialized) == hive);
    Check(SerializeHive(ParseHive(serialized)) == serialized);
}

// The bytes split into a key name, a value name and data of every kind of value.
void StoreAndRoundTrip(std::string_view bytes) {
    const std::size_t third = bytes.size() / 3;
    const std::string_view keyName = bytes.substr(0, third);
    const std::string_view valueName = bytes.substr(third, third);
    const std::string data(bytes.substr(2 * third));
    RegistryKey hive;
    RegistryKey& key = IsValidKeyName(keyName) ? hive.ObtainSubkey(keyName) : hive;
    key.SetValue(valueName, REG_SZ, data);
    key.SetValue(std::string(valueName) + "#", REG_EXPAND_SZ, data);
    key.SetValue(std::string(valueName) + "$", REG_DWORD, data);
    key.SetValue(std::string(valueName) + "%", static_cast<std::uint32_t>(bytes.size()), data);
    Check(ParseHive(SerializeHive(hive)) == hive);
}

// The first byte picks how a value line starts; the rest goes on from there.
std::string ValueLine(std::string_view bytes) {
    static constexpr std::string_view starts[] = {
        "\"v\"=\"", "\"v\"=dword:", "\"v\"=hex:", "\"v\"=hex(2):", "@=", "\""};
    if (bytes.empty())
        return {};
    const std::string_view start = starts[static_cast<unsigned char>(bytes[0]) % std::size(starts)];
    return std::string(start) + std::string(bytes.substr(1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParseAndRoundTrip(bytes);
    // Past the header and a key, so that value lines are reached at once.
    const std::string header = "REGEDIT4\n[HKEY_CURRENT_USER\\Key]\n";
    ParseAndRoundTrip(header + std::string(bytes));
    ParseAndRoundTrip(header + ValueLine(bytes));
    StoreAndRoundTrip(bytes);
    return 0;
}
