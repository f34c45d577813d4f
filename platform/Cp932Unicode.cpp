#include "platform/Cp932Unicode.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
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
    // The same as single and pair in packed UTF-8 (see Pack), for decoding.
    std::array<std::uint32_t, 256> packedSingle{};
    std::array<std::uint32_t, 0x10000> packedPair{};
};

// UTF-8 bytes of a BMP character in bits 0-23, their count in bits 24-25.
constexpr std::uint32_t kCountShift = 24;
constexpr std::uint32_t kPackedLead = 1u << 29;
constexpr std::uint32_t kPackedNonCanonical = 1u << 30;

std::uint32_t Pack(char32_t c) {
    if (c < 0x80) {
        return c | 1u << kCountShift;
    }
    if (c < 0x800) {
        return (0xC0 | c >> 6) | (0x80 | (c & 0x3F)) << 8 | 2u << kCountShift;
    }
    return (0xE0 | c >> 12) | (0x80 | ((c >> 6) & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16 |
           3u << kCountShift;
}

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

std::uint32_t PackEntry(std::uint32_t entry) {
    return Pack(entry & kCodeMask) | ((entry & kNonCanonical) ? kPackedNonCanonical : 0);
}

void FillPacked(Tables& t) {
    for (int b = 0; b < 256; ++b) {
        const std::uint32_t entry = t.single[size_t(b)];
        t.packedSingle[size_t(b)] =
            entry == kLead ? Pack(kRawByteBase + char32_t(b)) | kPackedLead : PackEntry(entry);
    }
    for (size_t p = 0; p < t.pair.size(); ++p) {
        t.packedPair[p] = t.pair[p] == 0 ? 0 : PackEntry(t.pair[p]);
    }
}

std::unique_ptr<Tables> BuildTables() {
    auto tables = std::make_unique<Tables>();
    FillDecoding(*tables);
    FillEncoding(*tables);
    MarkNonCanonical(*tables);
    FillSavedForms(*tables);
    FillPacked(*tables);
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
    }
    if ((lead & 0xF0) == 0xE0 && i + 2 < text.size()) {
        // The common case of Japanese text, checked in one go.
        const auto b1 = static_cast<unsigned char>(text[i + 1]);
        const auto b2 = static_cast<unsigned char>(text[i + 2]);
        c = char32_t(lead & 0x0F) << 12 | char32_t(b1 & 0x3F) << 6 | char32_t(b2 & 0x3F);
        if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && c >= 0x800 &&
            (c < 0xD800 || c > 0xDFFF)) {
            i += 3;
            return c;
        }
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
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

char* DecodeInto(std::string_view text, char* out, bool& canonical) {
    const Tables& t = GetTables();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    std::uint32_t nonCanonical = 0;
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80 && b != '\n' && b != '\r') {
            *out++ = char(b);
            continue;
        }
        std::uint32_t packed = t.packedSingle[b];
        if ((packed & kPackedLead) && p < end) {
            if (const std::uint32_t pair = t.packedPair[size_t(b) << 8 | *p]; pair != 0) {
                packed = pair;
                ++p;
            }
        }
        nonCanonical |= packed & kPackedNonCanonical;
        // Four bytes are written, the count of them kept: DecodeInto's room allows it.
        std::memcpy(out, &packed, 4);
        out += (packed >> kCountShift) & 3;
    }
    canonical = canonical && nonCanonical == 0;
    return out;
}

std::string Decode(std::string_view text) {
    std::string out(MaxDecodedSize(text.size()), '\0');
    bool canonical = true;
    out.resize(size_t(DecodeInto(text, out.data(), canonical) - out.data()));
    return out;
}

AnsiString Encode(std::string_view utf8) {
    const Tables& t = GetTables();
    // No character takes more bytes in CP932 than in UTF-8.
    AnsiString out(utf8.size(), '\0');
    char* o = out.data();
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            *o++ = char(lead);
            ++i;
            continue;
        }
        const char32_t c = NextCharacter(utf8, i);
        const std::uint16_t code = c < t.code.size() ? t.code[c] : kNoCode;
        if (code == kNoCode) {
            *o++ = char(kReplacement);
        } else if (code < 0x100) {
            *o++ = char(code);
        } else {
            *o++ = char(code >> 8);
            *o++ = char(code & 0xFF);
        }
    }
    out.resize(size_t(o - out.data()));
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
