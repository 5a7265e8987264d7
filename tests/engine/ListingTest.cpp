#include "engine/Listing.h"

#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "common/Error.h"
#include "common/Settings.h"
#include "engine/HttpClient.h"
#include "engine/MarketHosts.h"

#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::test;

namespace {

TTaskInfo taskNamed(const std::string& name) {
    TTaskInfo task;
    task.ID = 7;
    task.taskname = name;
    task.GetParam.biztype = "0";
    return task;
}

TEST(SearchUrl, QueryStringsAsTheMarketplaceExpectsThem) {
    TTaskInfo plain = taskNamed("浙江省杭州市-公司");
    EXPECT_EQ(BuildSearchUrl(plain, 0, "http://www.example.com"),
              "http://www.example.com/gongsi/"
              "offer_search.html?keywords=%B9%AB%CB%BE&page_Size=30&n=y&showStyle=noimg&"
              "beginPage=0&offset=4&province=&city=&categoryId=&biztype=0&annualRevenue=&employeescount=&");
    EXPECT_EQ(plain.GetParam.keywords, "公司");
    EXPECT_EQ(plain.GetParam.beginPage, "0");

    TTaskInfo spaced = taskNamed("led lamp");
    spaced.GetParam.n = "ignored";
    spaced.GetParam.province = "浙江";
    spaced.GetParam.city = "杭州";
    spaced.GetParam.biztype = "4";
    spaced.GetParam.annualRevenue = "3";
    spaced.GetParam.employeescount = "6";
    EXPECT_EQ(
        BuildSearchUrl(spaced, 12, "http://h"),
        "http://h/gongsi/offer_search.html?keywords=led%20lamp&page_Size=30&n=y&showStyle=noimg&beginPage=12&"
        "offset=4&province=%D5%E3%BD%AD&city=%BA%BC%D6%DD&categoryId=&biztype=4&annualRevenue=3&"
        "employeescount=6&");

    TTaskInfo inside = taskNamed("五金-公司工具");
    BuildSearchUrl(inside, 1, "http://h");
    EXPECT_EQ(inside.GetParam.keywords, "公司");
    TTaskInfo keyword = taskNamed("公司");
    EXPECT_EQ(ToUrl(keyword.GetParam).rfind("keywords=&page_Size=&n=y&", 0), 0u);
}

TEST(ParseListing, EntriesInPageOrderWithTagsRemovedFromNames) {
    const std::string page =
        R"(<div offerid="A1"><a href="http://x/1" target="_blank">杭州<b>某某</b> 贸易 公司</a></div>
        <div offerid="A2"><a href="http://x/2">第二家</a></div>
        <div offerid="A3">无链接</a>
        <div offerid="A4"><a href="http://x/4"></a></div>)";
    auto entries = ParseListing(page, 9);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]->PID, 9);
    EXPECT_EQ(entries[0]->rid, "A1");
    EXPECT_EQ(entries[0]->homepage, "http://x/1");
    EXPECT_EQ(entries[0]->comname, "杭州某某 贸易 公司");
    EXPECT_EQ(entries[1]->comname, "第二家");
    EXPECT_EQ(entries[2]->rid, "A3");
    EXPECT_EQ(entries[2]->homepage, "");
    EXPECT_EQ(entries[2]->comname, "");
    EXPECT_EQ(entries[3]->homepage, "http://x/4");
    EXPECT_EQ(entries[3]->comname, "");
    EXPECT_TRUE(ParseListing("<html>没有结果</html>", 9).empty());
}

TEST(FetchListingPage, ReadsThirtyThenNoneAndAdvancesOnePagePerCall) {
    TempAppDir dir;
    FixtureMarketplace market;
    market.SetPageCount(1);
    MarketHosts hosts{market.base(), market.base(), FixtureMarketplace::kLayoutPrefix};
    HttpClient http;
    TTaskInfo task = taskNamed("五金");
    std::vector<std::pair<int, std::string>> notices;
    UrlNotice notice = [&](int kind, const std::string& url) { notices.emplace_back(kind, url); };

    auto first = FetchListingPage(task, http, hosts, notice);
    ASSERT_EQ(first.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        FixtureCompany expected = market.Company(0, i);
        EXPECT_EQ(first[i]->rid, expected.rid);
        EXPECT_EQ(first[i]->homepage, expected.homepage);
        EXPECT_EQ(first[i]->comname, expected.comname);
        EXPECT_EQ(first[i]->PID, 7);
    }
    EXPECT_EQ(task.lastpage, 1);
    EXPECT_TRUE(FetchListingPage(task, http, hosts, notice).empty());
    EXPECT_EQ(task.lastpage, 2);

    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].first, 0);
    EXPECT_NE(notices[1].second.find("beginPage=1&"), std::string::npos);
    EXPECT_EQ(http.Referer(), notices[1].second);
    auto requests = market.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, notices[1].second.substr(market.base().size()));

    market.SetFault([](const FixtureRequest&) { return FixtureReply{500, "down"}; });
    EXPECT_THROW(FetchListingPage(task, http, hosts, notice), KavoError);
    EXPECT_EQ(task.lastpage, 2);
}

TEST(MarketHosts, MissingAddressesAreNamedAndTheLayoutDefaultsToTheHost) {
    TempAppDir dir;
    MarketHosts hosts;
    EXPECT_NE(LoadMarketHosts(hosts).find("[hosts] desktop"), std::string::npos);
    WriteSetting(setting::HostsDesktop, "http://WWW.Example.com/");
    EXPECT_NE(LoadMarketHosts(hosts).find("[hosts] mobile"), std::string::npos);
    WriteSetting(setting::HostsMobile, "http://m.example.com");
    EXPECT_EQ(LoadMarketHosts(hosts), "");
    EXPECT_EQ(hosts.desktop, "http://WWW.Example.com");
    EXPECT_EQ(hosts.layout, "www.example");
    EXPECT_EQ(DefaultLayoutPrefix("https://user@www.shop.example.cn:8080/path"), "www.shop.example");
}

} // namespace
