#include "store/entry_record.h"

#include <gtest/gtest.h>

#include <string>

#include "store/memo.h"

namespace daybrook {
namespace {

EntryRecord decode_text(const std::string& bytes) {
    return decode(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

TEST(EntryRecord, KeepsA60CharacterMemoAndCutsLongerTextsBeforeTheirLastByte) {
    struct Case {
        std::string text;
        std::size_t kept;
    };
    const Case cases[] = {
        {std::string(60, 'm'), 60}, {std::string(80, 'm'), 80}, {std::string(200, 'm'), 80}};
    for (const Case& c : cases) {
        const RecordBytes bytes =
            encode(Memo(c.text).date("06/12/26/overlong").file("DAT20793.000-overlong"));
        EXPECT_EQ(bytes[c.kept - 1], 'm') << c.text.size();
        EXPECT_EQ(bytes[c.kept], 0) << c.text.size();
        const EntryRecord back = decode(bytes);
        EXPECT_EQ(back.text, c.text.substr(0, c.kept));
        EXPECT_EQ(back.date, "06/12/26");
        EXPECT_EQ(back.file, "DAT20793.000");
    }
}

// A field without its zero byte ends where the zero belongs, so that a damaged record is written
// back exactly as it was read: a yearly renewal stopped before its mark then finds its copy
// again instead of making a second one.
TEST(EntryRecord, DecodesDamagedBytesWithoutCarryingOneFieldIntoAnother) {
    const std::string full(std::string(81, 'x') + "05/12/26z" + "DAT20792.000z" +
                           std::string("\xFF\xFF\xFF\xFF\x04\x03\x02\x01", 8));
    ASSERT_EQ(full.size(), EntryRecord::size);
    const EntryRecord whole = Memo(std::string(80, 'x'))
                                  .date("05/12/26")
                                  .file("DAT20792.000")
                                  .yearly(-1)
                                  .red(0x01020304);
    struct Case {
        std::string bytes;
        EntryRecord expected;
    };
    const Case cases[] = {
        {full, whole},
        {full + "more bytes", whole},
        {full.substr(0, 86), Memo(std::string(80, 'x')).date("05/12")},
        {full.substr(0, 105),
         Memo(std::string(80, 'x')).date("05/12/26").file("DAT20792.000").yearly(0xFFFF)},
        {"", Memo()},
    };
    for (const Case& c : cases) {
        const EntryRecord decoded = decode_text(c.bytes);
        EXPECT_EQ(decoded, c.expected) << c.bytes.size();
        EXPECT_EQ(decode(encode(decoded)), decoded) << c.bytes.size();
    }
}

// A renewal copy's origin, and the event a received entry came from, sit after the memo's end,
// where readers see nothing of them; a memo too long for them keeps every character instead, and
// remains of an older, longer memo are neither.
TEST(EntryRecord, KeepsTheOriginAndTheEventBehindAMemoThatLeavesRoomForThem) {
    struct Case {
        std::string text_field;  // the field's bytes as found, up to its last byte
        std::string origin;
        std::string event;
    };
    const std::string mark = std::string(1, '\0') + '\x01';
    const std::string tag = std::string(1, '\0') + "\x02" "0123456789ab";
    const Case cases[] = {
        {"Birthday" + std::string(59, '\0') + "\x01" "DAT20427.000", "DAT20427.000", ""},
        {std::string(66, 'm') + mark + "DAT20427.000", "DAT20427.000", ""},
        {std::string(67, 'm') + "\x01" "DAT20427.000", "", ""},
        {"Birthday" + std::string(1, '\0') + std::string(71, 'o'), "", ""},             // an older memo's remains
        {"Birthday" + std::string(59, '\0') + "\x01" "DAT2042", "", ""},              // a name cut short
        {"Birthday" + std::string(59, '\0') + "\x01" "DAT20427.0001", "", ""},        // no zero after it
        {std::string(52, 'm') + tag + mark + "DAT20427.000", "DAT20427.000", "0123456789ab"},
        {"Swim" + std::string(48, '\0') + tag, "", "0123456789ab"},
        {std::string(53, 'm') + tag.substr(1) + mark + "DAT20427.000", "DAT20427.000", ""},  // memo too long
        {"Swim" + std::string(48, '\0') + "\x01" "0123456789ab", "", ""},              // the wrong mark
    };
    for (const Case& c : cases) {
        const EntryRecord record = decode_text(c.text_field);
        EXPECT_EQ(record.origin, c.origin) << c.text_field;
        EXPECT_EQ(record.event, c.event) << c.text_field;
        EXPECT_EQ(decode(encode(record)), record) << c.text_field;
    }
    const EntryRecord both = decode(encode(Memo(std::string(52, 'm')).origin("DAT20427.000").event("0123456789ab")));
    EXPECT_EQ(both.origin, "DAT20427.000");
    EXPECT_EQ(both.event, "0123456789ab");
    const EntryRecord long_memo = decode(encode(Memo(std::string(80, 'm')).origin("DAT20427.000").event("0123456789ab")));
    EXPECT_EQ(long_memo.text, std::string(80, 'm'));
    EXPECT_EQ(long_memo.origin, "");
    EXPECT_EQ(long_memo.event, "");
}

TEST(EntryRecord, CallsAMemoBlankOnlyWhenItHoldsNoLetterDigitOrMeaningfulSign) {
    struct Case {
        std::string text;
        bool blank;
    };
    const Case cases[] = {{"", true},      {"   ", true},      {"...", true},
                          {"- - -", true}, {"\xA3", false},    {"7", false},
                          {" ? ", false},  {"Dentist", false}, {"\xE9\xE8", true}};
    for (const Case& c : cases) EXPECT_EQ(is_blank(c.text), c.blank) << c.text;
}

}  // namespace
}  // namespace daybrook
