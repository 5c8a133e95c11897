#include "calendar/fingerprint.h"

#include <array>
#include <bit>
#include <cstring>

namespace daybrook {
namespace {

constexpr std::string_view hex_digits = "0123456789abcdef";

// The value of each byte as a lowercase hex digit, -1 for a byte that is none: a look-up costs no
// branch that a text of random digits would mispredict half the time.
constexpr std::array<signed char, 256> digit_values = [] {
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (std::size_t at = 0; at < hex_digits.size(); ++at) values[static_cast<unsigned char>(hex_digits[at])] = static_cast<signed char>(at);
    return values;
}();

int digit_value(char digit) { return digit_values[static_cast<unsigned char>(digit)]; }

// Eight bytes as a number, the first the lowest, whatever the machine's byte order.
std::uint64_t word_at(const char* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
    return value;
}

// The last bytes, fewer than eight, in the same order.
std::uint64_t tail_word(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) value |= std::uint64_t(static_cast<unsigned char>(bytes[at])) << (8 * at);
    return value;
}

}  // namespace

// Each step is a bijection of the running hash for a given word, so a changed word can never be
// cancelled by the words after it.
std::uint64_t word_hash(std::string_view bytes) noexcept {
    constexpr std::uint64_t multiplier = 0x9e3779b97f4a7c15u;  // odd: the product is a bijection
    std::uint64_t hash = fnv1a_start ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) hash = std::rotl((hash ^ word_at(bytes.data() + at)) * multiplier, 29);
    hash = (hash ^ tail_word(bytes.substr(at))) * multiplier;
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
