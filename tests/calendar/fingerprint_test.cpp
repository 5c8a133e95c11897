// The checksum of the sync's record: a record cut short, lengthened or changed anywhere, its last
// few bytes included, must never pass as the record written.
#include "calendar/fingerprint.h"

#include <gtest/gtest.h>

#include <string>

namespace daybrook {
namespace {

TEST(Fingerprint, TheWordHashSeesEveryByteChangedAndEveryLength) {
    for (std::size_t size = 0; size <= 24; ++size) {
        std::string text;
        for (std::size_t at = 0; at < size; ++at) text += char('a' + at);
        const std::uint64_t hash = word_hash(text);
        EXPECT_NE(word_hash(text + '\0'), hash) << "a zero byte added to " << size << " bytes";
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed = text;
            changed[at] = char(changed[at] ^ 0x80);
            EXPECT_NE(word_hash(changed), hash) << "byte " << at << " of " << size;
        }
    }
    EXPECT_EQ(read_hex64(hex_text(0x0123456789abcdefu)), 0x0123456789abcdefu);
    for (const char* bad : {"0123456789ABCDEF", "0123456789abcde", "0123456789abcdefa", "0123456789abcdeg", ""})
        EXPECT_EQ(read_hex64(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace daybrook
