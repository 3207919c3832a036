#include "classlib/portable/SysUtils.h"

#include <gtest/gtest.h>

TEST(SysUtils, StrToIntAcceptsDecimalAndHexForms)
{
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt(" -7 "), -7);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    // Eight hexadecimal digits wrap to the 32-bit value (system colours).
    EXPECT_EQ(StrToInt("$FF00000F"), static_cast<int32_t>(0xFF00000F));
}

TEST(SysUtils, StrToIntRejectsWhatIsNotANumber)
{
    for (const char* bad : {"", " ", "-", "$", "12a", "0A", "3E7", "2147483648", "$100000000", "1 2"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    EXPECT_EQ(StrToIntDef("x", -5), -5);
}

TEST(SysUtils, IntToHexPadsAndUsesUpperCase)
{
    EXPECT_EQ(IntToHex(1, 2), "01");
    EXPECT_EQ(IntToHex(10, 2), "0A");
    EXPECT_EQ(IntToHex(999, 2), "3E7");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(SysUtils, SameTextFoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(SameText("DtrEnable", "dtrENABLE"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_FALSE(SameText("\xC1", "\xE1")); // GB2312 lead bytes are not letters
}
