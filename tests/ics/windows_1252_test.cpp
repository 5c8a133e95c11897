#include "ics/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace daybrook {
namespace {

TEST(Windows1252, EveryDefinedByteCrossesToUtf8AndBack) {
    for (int value = 1; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const bool undefined = value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
        const std::string utf8 = windows_1252_to_utf8(byte);
        EXPECT_EQ(utf8_to_windows_1252(utf8), undefined ? "?" : byte) << value;
        if (undefined) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << value;
        }
    }
    EXPECT_EQ(windows_1252_to_utf8("\x80 \xA3 \xE9 \x9F"), "€ £ é Ÿ");
}

TEST(Windows1252, SpellsWhatTheCodePageLacksPlainlyOrMarksIt) {
    struct Case { const char* utf8; const char* bytes; };
    const Case cases[] = {
        {"Zoë £5 €", "Zo\xEB \xA3" "5 \x80"},
        // A combining accent joins its letter, or goes where the code page has no such letter.
        {"Zoe\xCC\x88 and Ren\xC3\xA9" "e", "Zo\xEB and Ren\xE9" "e"},
        {"S\xCC\x8Cimon q\xCC\x88", "\x8Aimon q"},
        {"Łukasz Dvořák, Ștefan, Straße", "Lukasz Dvor\xE1k, Stefan, Stra\xDF" "e"},
        {"1‑2 x − y A–B", "1-2 x - y A\x96" "B"},
        {"ﬁne ＡＢ１", "fine AB1"},
        {"🎂 party", "? party"},
        {"👨‍👩‍👧 day", "? day"},   // one sequence joined by U+200D
        {"🇩🇪🇫🇷 trip", "?? trip"},  // two flags
        {"👍🏽 ❤️ 1️⃣", "? ? 1"},      // a skin tone, a variation selector, a keycap
        {"a\u200Db", "ab"},
        {"Γειά", "????"},
        {"caf\xE9 \x81", "caf\xE9 ?"},  // not UTF-8: Windows-1252 already
    };
    for (const Case& c : cases) EXPECT_EQ(utf8_to_windows_1252(c.utf8), c.bytes) << c.utf8;
    EXPECT_EQ(utf8_to_windows_1252("🎂 Γ", ' '), "   ");
}

}  // namespace
}  // namespace daybrook
