#include "calendar/fingerprint.h"

#include <array>
#include <bit>

namespace daybrook {
namespace {

constexpr std::string_view hex_digits = "0123456789abcdef";

int digit_value(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

// Up to eight bytes as a number, the first the lowest, whatever the machine's byte order (the
// compiler makes one load of a whole word).
std::uint64_t little_endian_word(const char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t at = 0; at < count; ++at) value |= std::uint64_t(static_cast<unsigned char>(bytes[at])) << (8 * at);
    return value;
}

}  // namespace

// Each step is a bijection of the running hash for a given word, so a changed word can never be
// cancelled by the words after it.
std::uint64_t word_hash(std::string_view bytes) noexcept {
    constexpr std::uint64_t multiplier = 0x9e3779b97f4a7c15u;  // odd: the product is a bijection
    std::uint64_t hash = fnv1a_start ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) hash = std::rotl((hash ^ little_endian_word(bytes.data() + at, 8)) * multiplier, 29);
    hash = (hash ^ little_endian_word(bytes.data() + at, bytes.size() - at)) * multiplier;
    return hash ^ (hash >> 32);
}

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
    if (text.size() != 16) return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) {
        const int nibble = digit_value(digit);
        if (nibble < 0) return std::nullopt;
        value = value << 4 | unsigned(nibble);
    }
    return value;
}

}  // namespace daybrook
