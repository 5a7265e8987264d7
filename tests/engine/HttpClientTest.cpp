#include "engine/HttpClient.h"

#include "FixtureMarketplace.h"
#include "common/Encoding.h"
#include "common/Error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kavo;
using namespace kavo::test;
using namespace std::chrono_literals;

namespace {

const std::string kText = "杭州市测试贸易有限公司";

TEST(HttpClient, DecodesBodiesByTheirDeclaredCharset) {
    FixtureMarketplace market;
    const std::string gbk = ToGb18030(kText);
    struct Case {
        const char* path;
        std::string body;
        const char* contentType;
    } cases[] = {
        {"/header-gbk", gbk, "text/html; charset=GBK"},
        {"/header-gb2312", gbk, "text/html; charset=gb2312"},
        {"/header-utf8", kText, "text/html; charset=UTF-8"},
        {"/meta-gbk",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"></head>" + gbk,
         "text/html"},
        {"/meta-charset-utf8", "<meta charset=\"utf-8\">" + kText, "text/html"},
        {"/none-utf8", kText, "text/html"},
        {"/none-gbk", gbk, "text/html"},
    };
    for (const auto& c : cases)
        market.SetPage(c.path, FixtureReply{200, c.body, c.contentType});
    HttpClient client;
    for (const auto& c : cases) {
        std::string text = client.FetchPage(market.base() + c.path);
        EXPECT_NE(text.find(kText), std::string::npos) << c.path << ": " << text;
    }
}

TEST(HttpClient, SendsTheFixedHeadersAndTheReferer) {
    FixtureMarketplace market;
    HttpClient client;
    client.FetchPage(market.base() + "/www.fixture/100000.html");
    client.SetReferer(market.base() + "/gongsi/offer_search.html?keywords=x&");
    client.FetchPage(market.base() + "/winport/company/100000.html");
    auto requests = market.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].userAgent, kUserAgent);
    EXPECT_EQ(requests[0].accept, "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    EXPECT_EQ(requests[0].acceptEncoding, "identity");
    EXPECT_EQ(requests[0].referer, "");
    EXPECT_EQ(requests[1].referer, market.base() + "/gongsi/offer_search.html?keywords=x&");
}

TEST(HttpClient, FollowsRedirectsAndKeepsItsOwnCookies) {
    FixtureMarketplace market;
    market.SetPage(
        "/moved",
        FixtureReply{302, "", "text/html", {{"Location", "/gongsi/offer_search.html?beginPage=0"}}});
    HttpClient first, second;
    std::string page = first.FetchPage(market.base() + "/moved");
    EXPECT_NE(page.find("offerid=\"100000\""), std::string::npos);
    first.FetchPage(market.base() + "/winport/company/100000.html");
    second.FetchPage(market.base() + "/gongsi/offer_search.html?beginPage=0");
    second.FetchPage(market.base() + "/winport/company/100001.html");
    auto requests = market.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].cookie, "");
    EXPECT_EQ(requests[1].cookie, "");
    EXPECT_EQ(requests[2].cookie, "visitor=v1");
    EXPECT_EQ(requests[3].cookie, "");
    EXPECT_EQ(requests[4].cookie, "visitor=v2");
}

TEST(HttpClient, RaisesOnErrorStatusesAndBadAddresses) {
    FixtureMarketplace market;
    market.SetPage("/fail", FixtureReply{500, "oops"});
    market.SetPage("/busy", FixtureReply{503, "busy", "text/html", {{"Retry-After", "7"}}});
    HttpClient client;
    struct Case {
        std::string url;
        const char* messagePart;
        long status;
    } cases[] = {
        {market.base() + "/nothing-here", "404", 404},
        {market.base() + "/fail", "500", 500},
        {market.base() + "/busy", "503", 503},
        {"", "URL", 0},
        {"http://127.0.0.1:1/", "", 0},
    };
    for (const auto& c : cases) {
        try {
            client.FetchPage(c.url);
            ADD_FAILURE() << c.url << " did not raise";
        } catch (const KavoError& error) {
            EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos) << error.what();
            EXPECT_EQ(client.LastStatus(), c.status) << c.url;
        }
    }
    EXPECT_EQ(client.RetryAfterSeconds(), -1);
    EXPECT_THROW(client.FetchPage(market.base() + "/busy"), KavoError);
    EXPECT_EQ(client.RetryAfterSeconds(), 7);
    // The client stays usable after failures.
    EXPECT_NO_THROW(client.FetchPage(market.base() + "/winport/company/100000.html"));
}

TEST(HttpClient, TimeOutAndAbortEndAStalledTransfer) {
    FixtureMarketplace market;
    market.SetPage("/slow", FixtureReply{200, "late", "text/html", {}, 5s});
    HttpClient timed(HttpOptions{"", 15, 1});
    auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(timed.FetchPage(market.base() + "/slow"), KavoError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);

    HttpClient aborted;
    std::atomic<bool> abort{false};
    aborted.SetAbortCheck([&] { return abort.load(); });
    std::thread trigger([&] {
        std::this_thread::sleep_for(200ms);
        abort = true;
    });
    start = std::chrono::steady_clock::now();
    EXPECT_THROW(aborted.FetchPage(market.base() + "/slow"), KavoError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    trigger.join();
}

TEST(DecodeBody, UndeclaredBodiesFallBackToGb18030OnlyWhenNotUtf8) {
    EXPECT_EQ(DecodeBody(kText, ""), kText);
    EXPECT_EQ(DecodeBody(ToGb18030(kText), ""), kText);
    EXPECT_EQ(DecodeBody(ToGb18030(kText), "text/html; charset=\"gb18030\""), kText);
    EXPECT_EQ(DecodeBody("caf\xE9", "text/html; charset=iso-8859-1"), "caf\xC3\xA9");
}

} // namespace
