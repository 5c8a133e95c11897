#include "calendar/fingerprint.h"

#include <array>

namespace daybrook {
namespace {

constexpr std::string_view hex_digits = "0123456789abcdef";

int digit_value(char digit) {
    const std::size_t found = hex_digits.find(digit);
    return found == std::string_view::npos ? -1 : int(found);
}

}  // namespace

std::string hex_text(std::span<const unsigned char> bytes) {
    std::string text;
    text.reserve(2 * bytes.size());
    for (const unsigned char byte : bytes) {
        text += hex_digits[byte >> 4];
        text += hex_digits[byte & 15];
    }
    return text;
}

std::string hex_text(std::uint64_t value) {
    std::array<unsigned char, 8> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(value >> (56 - 8 * i));
    return hex_text(bytes);
}

bool read_hex(std::string_view text, std::span<unsigned char> bytes) {
    if (text.size() != 2 * bytes.size()) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = digit_value(text[2 * i]);
        const int low = digit_value(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return true;
}

std::optional<std::uint64_t> read_hex64(std::string_view text) {
    std::array<unsigned char, 8> bytes{};
    if (!read_hex(text, bytes)) return std::nullopt;
    std::uint64_t value = 0;
    for (const unsigned char byte : bytes) value = value << 8 | byte;
    return value;
}

}  // namespace daybrook
