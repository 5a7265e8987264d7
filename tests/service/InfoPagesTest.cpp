#include "service/InfoPages.h"
#include "TempAppDir.h"
#include "common/Settings.h"
#include "service/ConfigCipher.h"
#include "service/ServiceServers.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

using Fields = std::vector<std::string>;

TEST(ContactReply, SplitsLeniently) {
    struct Case {
        const char* reply;
        Fields fields;
    } cases[] = {
        {"0571-1|12345|杭州公司|王五|x", {"0571-1", "12345", "杭州公司", "王五", "x"}},
        {"t|q|Hangzhou Co|p|x", {"t", "q", "Hangzhou", "Co", "p", "x"}},
        {"t|q|\"Hangzhou Co\"|p|x", {"t", "q", "Hangzhou Co", "p", "x"}},
        {"  t | |c|p|", {"t", "", "c", "p", ""}},
        {"t||c|p|x", {"t", "", "c", "p", "x"}},
        {"a\r\nb", {"a", "b"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitContactReply(c.reply), c.fields) << c.reply;
}

TEST(ContactReply, NeedsFiveFields) {
    ContactInfo info;
    EXPECT_FALSE(ReadContactReply("t|q|c|p", info));
    ASSERT_TRUE(ReadContactReply("t|q|c|p|", info));
    EXPECT_EQ(info.tel, "t");
    EXPECT_EQ(info.qq, "q");
    EXPECT_EQ(info.company, "c");
    EXPECT_EQ(info.person, "p");
}

TEST(InfoPages, AddressesFollowTheServiceSettings) {
    test::TempAppDir dir;
    SetServiceBaseUrl("");
    EXPECT_EQ(ContactPageUrl("p1"), "");
    EXPECT_EQ(SuggestionsPageUrl("p1"), "");
    SetServiceBaseUrl("http://chosen:81/");
    WriteSetting(setting::ServiceServers, "http://first/, http://chosen:81/");
    EXPECT_EQ(ContactPageUrl("p 1"), "http://chosen:81/http.aspx?action=contact&user=p 1");
    EXPECT_EQ(DescriptionPageUrl(), "http://chosen:81/http.aspx?action=des&t=12");
    EXPECT_EQ(PopupPageUrl(), "http://chosen:81/pop.aspx?ver=1.0&t=13");
    EXPECT_EQ(SuggestionsPageUrl("p1").rfind("http://first/http.aspx?action=Opinion&u=", 0), 0u);
    SetServiceBaseUrl("");
}

TEST(InfoPages, SuggestionTokenIsUpperHexOfTheZeroPaddedText) {
    const std::string token = SuggestionToken("agent", 7);
    ASSERT_EQ(token.size(), 32u); // "1.0|agent|7" is 11 bytes: two blocks
    EXPECT_EQ(token.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    std::string bytes;
    for (size_t i = 0; i < token.size(); i += 2)
        bytes += static_cast<char>(std::stoi(token.substr(i, 2), nullptr, 16));
    const DesKey key{'k', 'v', '7', 'o', '2', 's', 'g', 't'};
    EXPECT_EQ(DesEcb(bytes, key, false), std::string("1.0|agent|7\0\0\0\0\0", 16));
}

} // namespace
} // namespace kavo
