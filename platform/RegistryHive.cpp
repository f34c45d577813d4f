#include "platform/RegistryHive.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr char kHexDigits[] = "0123456789abcdef";

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 character at text[at], or 0 when there is none.
std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondMin = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        secondMax = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondMin = lead == 0xF0 ? 0x90 : 0x80;
        secondMax = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < secondMin || byte(1) > secondMax)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuationByte(byte(i)))
            return 0;
    }
    return length;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = AsciiLower(c);
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + 10;
    return -1;
}

void AppendHexByte(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

const AnsiString& NameOf(const RegistryKey& key) {
    return key.Name();
}
const AnsiString& NameOf(const RegistryValue& value) {
    return value.name;
}

// The first item of that name in a vector of keys or values, const or not.
template <typename Items> auto FindNamed(Items& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(),
                        [&](const auto& item) { return SameRegistryName(NameOf(item), name); });
}

// Reads a hive text line by line; every error names the line it was found in.
class HiveParser {
public:
    explicit HiveParser(std::string_view text) : rest(text) {
        if (rest.starts_with("\xEF\xBB\xBF"))
            rest.remove_prefix(3);
    }

    RegistryKey Run() {
        ReadHeader();
        while (NextLine())
            ParseLine();
        return std::move(root);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EHiveSyntaxError("hive line " + std::to_string(lineNumber) + ": " + what);
    }

    // Moves to the next physical line; false at the end of the text.
    bool NextLine() {
        if (rest.empty())
            return false;
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        ++lineNumber;
        return true;
    }

    static bool IsBlank(std::string_view text) {
        return text.find_first_not_of(" \t") == std::string_view::npos;
    }

    void ReadHeader() {
        while (NextLine()) {
            if (IsBlank(line))
                continue;
            if (line != kHeader)
                Fail("the hive does not start with " + std::string(kHeader));
            return;
        }
        Fail("the hive is empty");
    }

    void ParseLine() {
        if (IsBlank(line) || line.starts_with(';'))
            return;
        if (line.starts_with('['))
            ParseSection();
        else if (line.starts_with('"') || line.starts_with('@'))
            ParseValue();
        else
            Fail("neither a key nor a value");
    }

    void ParseSection() {
        if (!line.ends_with(']'))
            Fail("a key line must end with ]");
        std::string_view path = line.substr(1, line.size() - 2);
        if (!SameRegistryName(path.substr(0, kRootName.size()), kRootName))
            Fail("keys must lie below " + std::string(kRootName));
        path.remove_prefix(kRootName.size());
        current = &root;
        for (std::size_t depth = 1; !path.empty(); ++depth) {
            if (path.front() != '\\')
                Fail("keys must lie below " + std::string(kRootName));
            if (depth > kMaxKeyDepth)
                Fail("the key lies too deep");
            path.remove_prefix(1);
            const std::string_view component = path.substr(0, path.find('\\'));
            if (!IsValidKeyName(component))
                Fail("invalid key name");
            current = &current->ObtainSubkey(component);
            path.remove_prefix(component.size());
        }
    }

    void ParseValue() {
        if (!current)
            Fail("a value before the first key");
        std::string_view text = line;
        AnsiString valueName;
        if (text.starts_with('@'))
            text.remove_prefix(1);
        else
            valueName = ParseQuoted(text);
        if (!text.starts_with('='))
            Fail("= expected after the value name");
        text.remove_prefix(1);
        auto [type, data] = ParseData(text);
        current->SetValue(valueName, type, std::move(data));
    }

    std::pair<std::uint32_t, std::string> ParseData(std::string_view text) {
        if (text.starts_with('"')) {
            std::string data = ParseQuoted(text);
            ExpectLineEnd(text);
            return {REG_SZ, std::move(data)};
        }
        if (Consume(text, "dword:")) {
            const std::uint32_t value = ParseHexNumber(text, "dword");
            ExpectLineEnd(text);
            return {REG_DWORD, DwordData(value)};
        }
        if (Consume(text, "hex:"))
            return {REG_BINARY, ParseHexList(text)};
        if (Consume(text, "hex(")) {
            const std::uint32_t type = ParseHexNumber(text, "value type");
            if (!Consume(text, "):"))
                Fail("): expected after the value type");
            return {type, ParseHexList(text)};
        }
        Fail("unknown value data");
    }

    static bool Consume(std::string_view& text, std::string_view prefix) {
        if (!text.starts_with(prefix))
            return false;
        text.remove_prefix(prefix.size());
        return true;
    }

    void ExpectLineEnd(std::string_view text) const {
        if (!text.empty())
            Fail("unexpected text after the value");
    }

    // One to eight hex digits.
    std::uint32_t ParseHexNumber(std::string_view& text, const char* what) const {
        std::uint32_t value = 0;
        const char* end = text.data() + std::min<std::size_t>(text.size(), 8);
        const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
        if (error != std::errc() || stop == text.data() ||
            (stop < text.data() + text.size() && HexValue(*stop) >= 0))
            Fail(std::string("invalid ") + what);
        text.remove_prefix(static_cast<std::size_t>(stop - text.data()));
        return value;
    }

    // Two-digit bytes separated by commas; a trailing backslash goes on in the next line.
    std::string ParseHexList(std::string_view text) {
        std::string data;
        while (!text.empty()) {
            if (text.size() < 2 || HexValue(text[0]) < 0 || HexValue(text[1]) < 0)
                Fail("invalid hex byte");
            data += static_cast<char>(HexValue(text[0]) * 16 + HexValue(text[1]));
            text.remove_prefix(2);
            if (text.empty())
                break;
            if (!Consume(text, ","))
                Fail(", expected between hex bytes");
            if (text == "\\")
                text = ContinuationLine();
            if (text.empty())
                Fail("hex byte expected after ,");
        }
        return data;
    }

    std::string_view ContinuationLine() {
        if (!NextLine())
            Fail("the hex list goes on past the end of the hive");
        std::string_view text = line;
        text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
        return text;
    }

    // A quoted text with its escapes; leaves text after the closing quote.
    std::string ParseQuoted(std::string_view& text) const {
        std::string out;
        std::size_t i = 1;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] != '\\') {
                out += text[i];
                continue;
            }
            if (++i == text.size())
                break;
            out += Unescape(text, i);
        }
        if (i >= text.size())
            Fail("unterminated quoted text");
        text.remove_prefix(i + 1);
        return out;
    }

    // The byte that the escape at text[at] stands for; at moves to its last character.
    char Unescape(std::string_view text, std::size_t& at) const {
        switch (text[at]) {
        case '\\':
        case '"':
            return text[at];
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 'x':
            if (at + 2 < text.size() && HexValue(text[at + 1]) >= 0 &&
                HexValue(text[at + 2]) >= 0) {
                at += 2;
                return static_cast<char>(HexValue(text[at - 1]) * 16 + HexValue(text[at]));
            }
            break;
        default:
            break;
        }
        Fail("invalid escape in quoted text");
    }

    std::string_view rest;
    std::string_view line;
    int lineNumber = 0;
    RegistryKey root;
    RegistryKey* current = nullptr;
};

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8CharLength(text, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (length == 0 || c < 0x20 || c == 0x7F) {
            out += "\\x";
            AppendHexByte(out, c);
        } else {
            out += text.substr(i, length);
            i += length;
            continue;
        }
        ++i;
    }
    out += '"';
}

void AppendHexList(std::string& out, std::string_view data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendHexByte(out, static_cast<unsigned char>(data[i]));
    }
}

void AppendData(std::string& out, const RegistryValue& value) {
    if (value.type == REG_SZ) {
        AppendQuoted(out, value.data);
        return;
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const std::uint32_t number = DwordValue(value.data);
        out += "dword:";
        for (int shift = 24; shift >= 0; shift -= 8)
            AppendHexByte(out, static_cast<unsigned char>((number >> shift) & 0xFF));
        return;
    }
    if (value.type == REG_BINARY) {
        out += "hex:";
    } else {
        char type[9];
        const auto end = std::to_chars(type, type + sizeof type, value.type, 16).ptr;
        out += "hex(" + std::string(type, end) + "):";
    }
    AppendHexList(out, value.data);
}

void AppendKey(std::string& out, const RegistryKey& key, const std::string& path) {
    out += "\n[" + path + "]\n";
    for (const RegistryValue& value : key.Values()) {
        if (value.name.empty())
            out += '@';
        else
            AppendQuoted(out, value.name);
        out += '=';
        AppendData(out, value);
        out += '\n';
    }
    for (const RegistryKey& subkey : key.Subkeys())
        AppendKey(out, subkey, path + '\\' + subkey.Name());
}

} // namespace

std::string DwordData(std::uint32_t value) {
    std::string data(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return data;
}

std::uint32_t DwordValue(std::string_view data) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

bool SameRegistryName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsValidKeyName(std::string_view keyName) {
    if (keyName.empty() || keyName.size() > kMaxKeyNameLength)
        return false;
    for (std::size_t i = 0; i < keyName.size();) {
        const unsigned char c = static_cast<unsigned char>(keyName[i]);
        const std::size_t length = Utf8CharLength(keyName, i);
        if (length == 0 || c < 0x20 || c == 0x7F || c == '\\')
            return false;
        i += length;
    }
    return true;
}

const RegistryKey* RegistryKey::FindSubkey(std::string_view keyName) const {
    const auto found = FindNamed(subkeys, keyName);
    return found == subkeys.end() ? nullptr : &*found;
}

RegistryKey* RegistryKey::FindSubkey(std::string_view keyName) {
    const auto found = FindNamed(subkeys, keyName);
    return found == subkeys.end() ? nullptr : &*found;
}

const RegistryValue* RegistryKey::FindValue(std::string_view valueName) const {
    const auto found = FindNamed(values, valueName);
    return found == values.end() ? nullptr : &*found;
}

RegistryKey& RegistryKey::ObtainSubkey(std::string_view keyName) {
    if (RegistryKey* existing = FindSubkey(keyName))
        return *existing;
    return subkeys.emplace_back(AnsiString(keyName));
}

bool RegistryKey::RemoveSubkey(std::string_view keyName) {
    const auto found = FindNamed(subkeys, keyName);
    if (found == subkeys.end())
        return false;
    subkeys.erase(found);
    return true;
}

void RegistryKey::SetValue(std::string_view valueName, std::uint32_t type, std::string data) {
    const auto found = FindNamed(values, valueName);
    RegistryValue& value = found == values.end()
                               ? values.emplace_back(RegistryValue{AnsiString(valueName), type, {}})
                               : *found;
    value.type = type;
    value.data = std::move(data);
}

RegistryKey ParseHive(std::string_view text) {
    return HiveParser(text).Run();
}

std::string SerializeHive(const RegistryKey& root) {
    std::string out(kHeader);
    out += '\n';
    AppendKey(out, root, std::string(kRootName));
    return out;
}
