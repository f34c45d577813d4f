#include "platform/Cp932Unicode.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

namespace cp932 {
namespace {

constexpr std::uint32_t kLead = 1u << 30;
constexpr std::uint32_t kNonCanonical = 1u << 31;
constexpr std::uint32_t kCodeMask = 0x1FFFFF;
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr char32_t kReplacement = U'?';

struct Tables {
    // Per byte: its character, kLead for a lead byte, or its raw character.
    std::array<std::uint32_t, 256> single{};
    // Per lead << 8 | trail: the pair's character, 0 when not assigned.
    std::array<std::uint32_t, 0x10000> pair{};
    // Per BMP character: its preferred code (< 0x100 for one byte) or kNoCode.
    std::array<std::uint16_t, 0x10000> code{};
    // Per BMP character: the character a save gives back, or "?".
    std::array<char32_t, 0x10000> savedForm{};
};

class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input; the output, or nothing when iconv refuses it.
    bool Convert(std::string_view input, std::string& output) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
            return false;
        }
        output.assign(buffer, out);
        return true;
    }
    // errno of the last refusal: EINVAL for an incomplete character.
    static bool LastWasIncomplete() { return errno == EINVAL; }

private:
    iconv_t cd;
};

// One BMP character in UTF-32LE, or nothing.
std::optional<char32_t> SingleCharacter(const std::string& utf32) {
    if (utf32.size() != 4) {
        return std::nullopt;
    }
    auto byte = [&](int i) { return char32_t(static_cast<unsigned char>(utf32[size_t(i)])); };
    const char32_t c = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    return c < 0x10000 ? std::optional(c) : std::nullopt;
}

std::string Utf32(char32_t c) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[size_t(i)] = char((c >> (8 * i)) & 0xFF);
    }
    return bytes;
}

void FillDecoding(Tables& t) {
    Converter toUnicode("UTF-32LE", "CP932");
    std::string out;
    for (int b = 0; b < 256; ++b) {
        const bool converted = toUnicode.Convert(std::string(1, char(b)), out);
        const bool incomplete = !converted && Converter::LastWasIncomplete();
        if (b == '\n' || b == '\r' || (converted && !SingleCharacter(out))) {
            t.single[size_t(b)] = kRawByteBase + char32_t(b);
        } else if (converted) {
            t.single[size_t(b)] = *SingleCharacter(out);
        } else {
            t.single[size_t(b)] = incomplete ? kLead : kRawByteBase + char32_t(b);
        }
    }
    for (int lead = 0; lead < 256; ++lead) {
        if (t.single[size_t(lead)] != kLead) {
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            const std::string in{char(lead), char(trail)};
            if (toUnicode.Convert(in, out) && SingleCharacter(out)) {
                t.pair[size_t(lead << 8 | trail)] = *SingleCharacter(out);
            }
        }
    }
}

void FillEncoding(Tables& t) {
    Converter fromUnicode("CP932", "UTF-32LE");
    std::string out;
    t.code.fill(kNoCode);
    for (char32_t c = 0; c < 0x10000; ++c) {
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        if (!surrogate && fromUnicode.Convert(Utf32(c), out) && !out.empty() && out.size() <= 2) {
            const auto first = static_cast<unsigned char>(out[0]);
            t.code[c] = out.size() == 1
                            ? first
                            : std::uint16_t(first << 8 | static_cast<unsigned char>(out[1]));
        }
    }
    for (int b = 0; b < 256; ++b) {
        const std::uint32_t entry = t.single[size_t(b)];
        if (entry == kLead || entry == kRawByteBase + char32_t(b)) {
            t.code[kRawByteBase + char32_t(b)] = std::uint16_t(b);
        }
    }
}

char32_t CharacterOf(const Tables& t, std::uint16_t code) {
    if (code < 0x100) {
        const std::uint32_t entry = t.single[code];
        return entry == kLead ? kRawByteBase + code : entry & kCodeMask;
    }
    return t.pair[code] & kCodeMask;
}

void MarkNonCanonical(Tables& t) {
    for (int b = 0; b < 256; ++b) {
        std::uint32_t& entry = t.single[size_t(b)];
        if (entry != kLead && t.code[entry & kCodeMask] != b) {
            entry |= kNonCanonical;
        }
    }
    for (size_t p = 0; p < t.pair.size(); ++p) {
        std::uint32_t& entry = t.pair[p];
        if (entry != 0 && t.code[entry & kCodeMask] != p) {
            entry |= kNonCanonical;
        }
    }
}

void FillSavedForms(Tables& t) {
    for (char32_t c = 0; c < 0x10000; ++c) {
        const bool rawByte = c >= kRawByteBase && c < kRawByteBase + 0x100;
        const std::uint16_t code = t.code[c];
        t.savedForm[c] = rawByte || code == kNoCode ? kReplacement : CharacterOf(t, code);
    }
}

std::unique_ptr<Tables> BuildTables() {
    auto tables = std::make_unique<Tables>();
    FillDecoding(*tables);
    FillEncoding(*tables);
    MarkNonCanonical(*tables);
    FillSavedForms(*tables);
    return tables;
}

const Tables& GetTables() {
    static const std::unique_ptr<Tables> tables = BuildTables();
    return *tables;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// The character starting at text[i]; advances i. kInvalidUtf8 (one byte
// consumed) for a malformed sequence.
char32_t NextCharacter(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        ++i;
        return kInvalidUtf8;
    }
    if (i + size_t(length) > text.size()) {
        ++i;
        return kInvalidUtf8;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + size_t(k)]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kInvalidUtf8;
        }
        c = c << 6 | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kInvalidUtf8;
    }
    i += size_t(length);
    return c;
}

char32_t SavedForm(const Tables& t, char32_t c) {
    return c < t.savedForm.size() ? t.savedForm[c] : kReplacement;
}

} // namespace

DecodeResult AppendDecoded(std::string_view text, std::string& out) {
    const Tables& t = GetTables();
    DecodeResult result;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::uint32_t entry = t.single[b];
        if (b < 0x80 && entry == b) {
            out.push_back(char(b));
            ++i;
            continue;
        }
        ++i;
        if (entry == kLead) {
            const std::uint32_t pair =
                i < n ? t.pair[size_t(b) << 8 | static_cast<unsigned char>(text[i])] : 0;
            if (pair != 0) {
                entry = pair;
                ++i;
            } else {
                entry = kRawByteBase + b;
            }
        }
        result.canonical = result.canonical && (entry & kNonCanonical) == 0;
        AppendUtf8(entry & kCodeMask, out);
    }
    return result;
}

std::string Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendDecoded(text, out);
    return out;
}

AnsiString Encode(std::string_view utf8) {
    const Tables& t = GetTables();
    AnsiString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCharacter(utf8, i);
        const std::uint16_t code = c < t.code.size() ? t.code[c] : kNoCode;
        if (code == kNoCode) {
            out.push_back(char(kReplacement));
        } else if (code < 0x100) {
            out.push_back(char(code));
        } else {
            out.push_back(char(code >> 8));
            out.push_back(char(code & 0xFF));
        }
    }
    return out;
}

bool NormalizeInsertion(std::string_view utf8, std::string& out) {
    const Tables& t = GetTables();
    std::string normalized;
    bool changed = false;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCharacter(utf8, i);
        char32_t saved = c == kInvalidUtf8 ? kReplacement : SavedForm(t, c);
        if (c == U'\r') {
            saved = U'\n';
            if (i < utf8.size() && utf8[i] == '\n') {
                ++i;
            }
        } else if (c == U'\n') {
            saved = U'\n';
        }
        changed = changed || saved != c;
        AppendUtf8(saved, normalized);
    }
    if (changed) {
        out = std::move(normalized);
    }
    return changed;
}

std::string RawByteCharacter(unsigned char byte) {
    std::string out;
    AppendUtf8(kRawByteBase + byte, out);
    return out;
}

} // namespace cp932
