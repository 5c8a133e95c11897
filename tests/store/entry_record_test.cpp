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
