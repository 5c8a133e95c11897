#include "framework/code_page.h"

#include <array>

namespace daybrook {
namespace {

// Bytes 0x80 to 0x9F; the others are the same numbers as in Unicode (Latin-1).
constexpr char16_t undefined = 0xFFFD;
constexpr std::array<char16_t, 32> high_controls = {
    0x20AC, undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, undefined, 0x017D, undefined,
    undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, undefined, 0x017E, 0x0178};

char16_t unicode_of(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return high_controls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> byte_of(char16_t unicode) {
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF)) return static_cast<unsigned char>(unicode);
    for (std::size_t i = 0; i < high_controls.size(); ++i)
        if (high_controls[i] == unicode && unicode != undefined) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

QString from_code_page(std::string_view bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char byte : bytes) text.append(QChar(unicode_of(static_cast<unsigned char>(byte))));
    return text;
}

std::optional<std::string> to_code_page(const QString& text) {
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (QChar character : text) {
        const std::optional<unsigned char> byte = byte_of(character.unicode());
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

bool in_code_page(QChar character) { return byte_of(character.unicode()).has_value(); }

}  // namespace daybrook
