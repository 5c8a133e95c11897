#include "framework/code_page.h"

#include <gtest/gtest.h>

namespace daybrook {
namespace {

TEST(CodePage, MemoTextRoundTripsThroughTheRecordBytes) {
    const QString text = QStringLiteral("Caf\u00e9 \u00a3\u20ac5 \u2013 \u201cNo\u00ebl\u201d \u2122");
    const std::optional<std::string> bytes = to_code_page(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, "Caf\xe9 \xa3\x80" "5 \x96 \x93No\xebl\x94 \x99");
    EXPECT_EQ(from_code_page(*bytes), text);
}

TEST(CodePage, RefusesCharactersTheRecordCannotHold) {
    EXPECT_FALSE(to_code_page(QStringLiteral("\u65e5\u8a18")).has_value());
    EXPECT_FALSE(to_code_page(QStringLiteral("smile \U0001F600")).has_value());
    EXPECT_FALSE(in_code_page(QChar(0x0081))) << "an undefined byte of the code page";
    EXPECT_FALSE(in_code_page(QChar(0xFFFD)));
    EXPECT_TRUE(in_code_page(QChar(0x00A3)));
    EXPECT_EQ(from_code_page("\x81\x8d"), QStringLiteral("\ufffd\ufffd"));
}

}  // namespace
}  // namespace daybrook
