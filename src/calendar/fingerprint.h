// Fingerprints of texts and how they are written: the 64-bit FNV-1a hash that names vdir items
// and gives entries their UIDs, a quicker hash that checks large texts, and the lowercase hex
// digits every record of ours writes bytes and hashes in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace daybrook {

inline constexpr std::uint64_t fnv1a_start = 0xcbf29ce484222325u;

// FNV-1a over the bytes, going on from `hash` (so that several texts can be hashed as one).
constexpr std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = fnv1a_start) noexcept {
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3u;
    }
    return hash;
}

// A 64-bit hash that takes the bytes eight at a time, several times quicker than FNV-1a over
// a large text: the checksum of the sync's state, a megabyte for a large diary, read at every
// sync. Any one word changed changes the hash.
std::uint64_t word_hash(std::string_view bytes) noexcept;

// Two lowercase hex digits for each byte.
std::string hex_text(std::span<const unsigned char> bytes);
// The 16 lowercase hex digits of the value, most significant first.
std::string hex_text(std::uint64_t value);

// Fills `bytes` from exactly two lowercase hex digits each; false for any other text.
bool read_hex(std::string_view text, std::span<unsigned char> bytes);
// The value of exactly 16 lowercase hex digits.
std::optional<std::uint64_t> read_hex64(std::string_view text);

}  // namespace daybrook
