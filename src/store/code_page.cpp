#include "store/code_page.h"

#include <array>
#include <cstddef>

namespace daybrook {
namespace {

constexpr char32_t undefined = 0xFFFD;
// Bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> high_controls = {
    0x20AC, undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, undefined, 0x017D, undefined,
    undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, undefined, 0x017E, 0x0178};

}  // namespace

char32_t unicode_of_byte(unsigned char byte) noexcept {
    return byte >= 0x80 && byte <= 0x9F ? high_controls[byte - 0x80] : byte;
}

std::optional<unsigned char> byte_of_unicode(char32_t character) noexcept {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < high_controls.size(); ++i)
        if (high_controls[i] == character && character != undefined) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace daybrook
