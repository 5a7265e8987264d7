#include "common/Encoding.h"
#include "common/Global.h"

#include <gtest/gtest.h>

using namespace kavo;

TEST(UrlEncode, EncodesByteByByte) {
    struct Case {
        std::string input;
        bool spaceAsPlus;
        std::string expected;
    };
    const Case cases[] = {
        {"a b", false, "a%20b"},
        {"a b", true, "a+b"},
        {"AZaz09-./:_", false, "AZaz09-./:_"},
        {"~*!'()", false, "%7E%2A%21%27%28%29"},
        {"a&b=c%", false, "a%26b%3Dc%25"},
        {ToGb18030("服装"), false, "%B7%FE%D7%B0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(c.input, c.spaceAsPlus), c.expected) << c.input;
}

TEST(PathAndTextHelpers, BehaveAsDocumented) {
    EXPECT_EQ(AddPathDelim("/opt/kavo"), "/opt/kavo/");
    EXPECT_EQ(AddPathDelim("/opt/kavo/"), "/opt/kavo/");
    EXPECT_EQ(AddPathDelim("   "), "   ");
    EXPECT_EQ(AddPathDelim(""), "");
    EXPECT_EQ(AddPathDelim(" dir "), " dir /");

    EXPECT_EQ(AfterLastChar("/opt/kavo/update.zip", '/', "x"), "update.zip");
    EXPECT_EQ(AfterLastChar("up.zip", '.', "x"), "zip");
    EXPECT_EQ(AfterLastChar("update", '.', "none"), "none");
    EXPECT_EQ(BeforeLastChar("kavo.tar.gz", '.'), "kavo.tar");
    EXPECT_EQ(BeforeLastChar("kavo", '.'), "kavo");

    std::string list;
    AppendWithSep(list, "a", ",");
    AppendWithSep(list, "b", ",");
    EXPECT_EQ(AppendWithSep(list, "c", ","), "a,b,c");
    EXPECT_EQ(list, "a,b,c");
}

TEST(RandomUpTo, StaysInRange) {
    for (int i = 0; i < 200; ++i) {
        int value = RandomUpTo(1000);
        EXPECT_GE(value, 1);
        EXPECT_LE(value, 1000);
    }
    EXPECT_EQ(RandomUpTo(1), 1);
    EXPECT_EQ(RandomUpTo(0), 0);
    EXPECT_EQ(RandomUpTo(-5), -5);
}

TEST(Encoding, RoundTripsEveryCharacterThroughGb18030) {
    const std::string texts[] = {"", "plain ascii", "杭州服装有限公司", "emoji 😀 and 𠀀", "€ ¥ — “quotes”"};
    for (const auto& text : texts)
        EXPECT_EQ(FromGb18030(ToGb18030(text)), text);
    // GBK is a subset: the bytes an earlier installation wrote decode unchanged.
    EXPECT_EQ(FromGb18030(ToGbk("浙江省杭州市")), "浙江省杭州市");
    EXPECT_EQ(ToGb18030("中"), "\xD6\xD0");
}

TEST(Encoding, ReplacesWhatCannotBeConverted) {
    EXPECT_EQ(ToGbk("a😀b"), "a?b");
    EXPECT_EQ(FromGb18030("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(ToGb18030("a\xC3"), "a?");
    EXPECT_TRUE(IsValidUtf8("杭州"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_EQ(SanitizeUtf8("ok\xFFok"), "ok\xEF\xBF\xBDok");
}

TEST(LocalTime, FormatsTheStoredConvention) {
    EXPECT_EQ(FormatLocalSeconds(1480000000), "2016-11-24 15:06:40");
    EXPECT_GT(LocalUnixSeconds(), 1480000000);
}
