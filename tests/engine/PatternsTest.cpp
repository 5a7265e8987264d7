#include "engine/Patterns.h"

#include "common/Error.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kavo;

namespace {

// Every case runs with kept patterns and with patterns compiled per call: the results must agree.
class PatternsTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { SetPatternCacheEnabled(GetParam()); }
    void TearDown() override { SetPatternCacheEnabled(true); }
};

TEST_P(PatternsTest, FirstMatchYieldsTheWholeMatchNeverTheGroup) {
    struct Case {
        const char* text;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"<dt>电话：</dt><dd>0571-88886666</dd>", "电话：<[^<]*<[^>]*>([^<]*)",
         "电话：</dt><dd>0571-88886666"},
        // Unanchored: any label ending in the pattern's label matches.
        {"<dt>移动电话：</dt><dd>13900001111</dd>", "电话：<[^<]*<[^>]*>([^<]*)",
         "电话：</dt><dd>13900001111"},
        // A negated class excludes the whole full-width character, not one byte of it.
        {"张三（经理）", "[^（]*（", "张三（"},
        // Empty matches are refused: the engine looks on for a non-empty one.
        {"abc", "x*", ""},
        {"abcx", "x*", "x"},
        // The dot stops at every kind of line end; [\s\S] spans them.
        {"a\r\nb", "a.b", ""},
        {"a\xE2\x80\xA8"
         "b",
         "a.b", ""},
        {"a\r\nb", "a[\\s\\S]*b", "a\r\nb"},
        {"Abc", "abc", ""},
        {"text", "(unclosed", ""},
        {"no match here", "zzz", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstMatchText(c.text, c.pattern), c.expected) << c.pattern << " on " << c.text;
}

TEST_P(PatternsTest, AllMatchesInPageOrderWithoutOverlap) {
    const std::string page = R"(<a offerid="1">A</a> x <a offerid="2">B</a><a offerid="3">C</a>)";
    EXPECT_EQ(
        AllMatchTexts(page, R"re(offerid="([^"]*)">([\s\S]*?)</a>)re"),
        (std::vector<std::string>{R"(offerid="1">A</a>)", R"(offerid="2">B</a>)", R"(offerid="3">C</a>)"}));
    EXPECT_EQ(AllMatchTexts("aaaa", "aa"), (std::vector<std::string>{"aa", "aa"}));
    EXPECT_TRUE(AllMatchTexts("nothing", "zz").empty());
    EXPECT_THROW(AllMatchTexts("text", "(unclosed"), KavoError);
}

TEST_P(PatternsTest, StripMatchesRemovesTagsAndKeepsWords) {
    EXPECT_EQ(StripMatches("杭州<b>某某</b> 贸易 <b>有限</b>公司", "<[^>]*>"), "杭州某某 贸易 有限公司");
    EXPECT_EQ(StripMatches("no tags", "<[^>]*>"), "no tags");
    EXPECT_EQ(StripMatches("keep", "(broken"), "keep");
}

TEST_P(PatternsTest, CheckedTextGivesThePlainResultsInvalidUtf8Included) {
    for (std::string text :
         {std::string("x 电话：</dt><dd>0571"), std::string("bad \xFF 电话：</dt><dd>0571")}) {
        const CheckedText checked(text);
        for (const char* pattern : {"电话：<[^<]*<[^>]*>([^<]*)", "zzz", "(broken"})
            EXPECT_EQ(FirstMatchText(checked, pattern), FirstMatchText(text, pattern)) << pattern;
    }
    EXPECT_EQ(FirstMatchText(std::string("bad \xFF 电话：</dt><dd>0571"), "电话"), "");
}

INSTANTIATE_TEST_SUITE_P(KeptAndFresh, PatternsTest, ::testing::Bool());

TEST(TextBetween, CutsAsTheExtractionRulesExpect) {
    struct Case {
        const char* text;
        const char* start;
        const char* end;
        const char* expected;
    } cases[] = {
        {R"(<a href="x">公司名</a> tail)", ">", "</a>", "公司名"},
        {"no marker at all", ">", "</a>", ""},
        {"<dd>0571-1234  ", "<dd>", "", "0571-1234  "},
        {"张三（销售经理", "（", "", "销售经理"},
        {"a>b", ">", "</a>", "b"},
        {"", "x", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected) << c.text;
}

TEST(Trimmed, RemovesSpacesAndControlsAtBothEnds) {
    EXPECT_EQ(Trimmed("  \t0571-1234\r\n "), "0571-1234");
    EXPECT_EQ(Trimmed("a b"), "a b");
    EXPECT_EQ(Trimmed("   "), "");
    EXPECT_EQ(Utf8Length("0571"), 4u);
    EXPECT_EQ(Utf8Length("电话号码五"), 5u);
}

TEST(PatternsThreads, KeptPatternsWorkOnSeveralThreadsAtOnce) {
    auto work = [] {
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(FirstMatchText("x 电话：</dt><dd>" + std::to_string(i), "电话：<[^<]*<[^>]*>([^<]*)"),
                      "电话：</dt><dd>" + std::to_string(i));
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
}

} // namespace
