#include "ics/windows_1252.h"

#include "store/code_page.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace daybrook {
namespace {

// What the code page gives for the bytes it leaves undefined.
constexpr char32_t undefined = 0xFFFD;

std::optional<char> byte_of(char32_t c) {
    const std::optional<unsigned char> byte = byte_of_unicode(c);
    if (!byte) return std::nullopt;
    return static_cast<char>(*byte);
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code points of a UTF-8 text, or nothing when it is not valid UTF-8 (overlong forms,
// surrogates and values beyond U+10FFFF included).
std::optional<std::vector<char32_t>> decode_utf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t c = 0;
        if (lead < 0x80) length = 1, c = lead;
        else if (lead >= 0xC2 && lead <= 0xDF) length = 2, c = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3, c = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4, c = lead & 0x07;
        else return std::nullopt;
        if (text.size() - i < static_cast<std::size_t>(length)) return std::nullopt;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
        out.push_back(c);
        i += length;
    }
    return out;
}

// A base letter and a combining accent after it, as the accented letter of the code page.
struct Accent {
    char32_t mark;
    std::string_view bases;
    std::string_view composed;  // the byte for each base
};
constexpr Accent accents[] = {
    {0x0300, "AEIOUaeiou", "\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2\xF9"},
    {0x0301, "AEIOUYaeiouy", "\xC1\xC9\xCD\xD3\xDA\xDD\xE1\xE9\xED\xF3\xFA\xFD"},
    {0x0302, "AEIOUaeiou", "\xC2\xCA\xCE\xD4\xDB\xE2\xEA\xEE\xF4\xFB"},
    {0x0303, "ANOano", "\xC3\xD1\xD5\xE3\xF1\xF5"},
    {0x0308, "AEIOUYaeiouy", "\xC4\xCB\xCF\xD6\xDC\x9F\xE4\xEB\xEF\xF6\xFC\xFF"},
    {0x030A, "Aa", "\xC5\xE5"},
    {0x030C, "SsZz", "\x8A\x9A\x8E\x9E"},
    {0x0327, "Cc", "\xC7\xE7"},
};

std::optional<char> composed(char base, char32_t mark) {
    for (const Accent& accent : accents) {
        if (accent.mark != mark) continue;
        const auto at = accent.bases.find(base);
        if (at != std::string_view::npos) return accent.composed[at];
    }
    return std::nullopt;
}

// U+0100 to U+017F, Latin Extended-A, without their accents (those the code page holds are
// found before this table is asked).
constexpr std::string_view latin_extended_a =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";
static_assert(latin_extended_a.size() == 0x80);

// Characters with an obvious spelling in the code page, or nothing.
std::optional<std::string_view> spelling_of(char32_t c) {
    switch (c) {
        case 0x0132: return "IJ";
        case 0x0133: return "ij";
        case 0x0218: return "S";
        case 0x0219: return "s";
        case 0x021A: return "T";
        case 0x021B: return "t";
        case 0x2010: case 0x2011: case 0x2012: case 0x2043: case 0x2212: return "-";
        case 0x2015: return "\x97";
        case 0x201B: return "\x91";
        case 0x201F: return "\x93";
        case 0x2032: return "'";
        case 0x2033: return "\"";
        case 0x2024: return ".";
        case 0x2025: return "..";
        case 0x2044: case 0x2215: return "/";
        case 0x2190: return "<-";
        case 0x2192: return "->";
        case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000: return " ";
        case 0xFB00: return "ff";
        case 0xFB01: return "fi";
        case 0xFB02: return "fl";
        case 0xFB03: return "ffi";
        case 0xFB04: return "ffl";
        default: break;
    }
    if (c >= 0x0100 && c <= 0x017F) return latin_extended_a.substr(c - 0x0100, 1);
    if (c >= 0x2000 && c <= 0x200A) return " ";
    if (c >= 0xFF01 && c <= 0xFF5E) {  // full-width forms of ASCII
        static constexpr std::string_view ascii =
            "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
            "abcdefghijklmnopqrstuvwxyz{|}~";
        return ascii.substr(c - 0xFF01, 1);
    }
    return std::nullopt;
}

bool is_combining_accent(char32_t c) { return c >= 0x0300 && c <= 0x036F; }

// Characters that only shape their neighbours: zero-width spaces and joiners, marks of
// direction, variation selectors, combining marks for symbols, emoji skin tones and tags.
bool is_invisible(char32_t c) {
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF ||
           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

bool is_regional_indicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

// Text that is not UTF-8 is taken as code page bytes already, its undefined bytes replaced.
std::string bytes_as_they_are(std::string_view text, char replacement) {
    std::string out;
    for (char byte : text) out += unicode_of_byte(static_cast<unsigned char>(byte)) == undefined ? replacement : byte;
    return out;
}

// Writes characters as code page bytes one at a time, remembering what came last: an accent
// joins the letter before it, and a sequence the code page cannot hold (a joined emoji, a flag's
// two halves) becomes one replacement.
class CodePageWriter {
public:
    explicit CodePageWriter(char replacement) : m_replacement(replacement) {}

    void take(char32_t c) {
        if (c == 0x200D) {
            m_joined = m_last_replaced;
            return;
        }
        if (is_invisible(c)) return;
        if (const auto byte = byte_of(c)) {
            m_out += *byte;
            m_last_is_letter = true;
        } else if (is_combining_accent(c)) {
            return join_accent(c);
        } else if (const auto spelling = spelling_of(c)) {
            m_out += *spelling;
            m_last_is_letter = spelling->size() == 1;
        } else {
            return replace(c);
        }
        m_last_replaced = m_joined = m_open_flag = false;
    }

    std::string text() && { return std::move(m_out); }

private:
    // An accent the code page cannot join to its letter goes; so does one after no letter.
    void join_accent(char32_t c) {
        if (!m_last_is_letter) return;
        if (const auto accented = composed(m_out.back(), c)) m_out.back() = *accented;
    }

    void replace(char32_t c) {
        const bool same_sequence = m_joined || (m_open_flag && is_regional_indicator(c));
        m_open_flag = is_regional_indicator(c) && !m_open_flag;
        m_joined = false;
        m_last_is_letter = false;
        if (!same_sequence) m_out += m_replacement;
        m_last_replaced = true;
    }

    std::string m_out;
    char m_replacement;
    bool m_last_is_letter = false;  // the last byte out stands for a character an accent may join
    bool m_joined = false;          // a U+200D came since the last replacement
    bool m_open_flag = false;       // the last replacement was the first half of a flag
    bool m_last_replaced = false;   // the last character taken was replaced
};

}  // namespace

std::string windows_1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char byte : bytes) append_utf8(out, unicode_of_byte(static_cast<unsigned char>(byte)));
    return out;
}

std::string utf8_to_windows_1252(std::string_view text, char replacement) {
    const auto characters = decode_utf8(text);
    if (!characters) return bytes_as_they_are(text, replacement);
    CodePageWriter writer(replacement);
    for (const char32_t c : *characters) writer.take(c);
    return std::move(writer).text();
}

}  // namespace daybrook
