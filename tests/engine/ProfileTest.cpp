#include "engine/Profile.h"

#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "common/Encoding.h"
#include "common/Global.h"
#include "engine/HttpClient.h"
#include "engine/MarketHosts.h"

#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::test;

namespace {

void expectContactFields(const TTaskDeail& entry, const FixtureCompany& c) {
    EXPECT_EQ(entry.lxr, c.lxr);
    EXPECT_EQ(entry.job, c.job);
    EXPECT_EQ(entry.tel, c.tel);
    EXPECT_EQ(entry.tel2, c.tel2);
    EXPECT_EQ(entry.tel3, c.tel3);
    EXPECT_EQ(entry.addr, c.addr);
    EXPECT_EQ(entry.yp, c.yp);
    EXPECT_EQ(entry.email, c.email);
}

void expectMobileFields(const TTaskDeail& entry, const FixtureCompany& c) {
    EXPECT_EQ(entry.qytype, c.qytype);
    EXPECT_EQ(entry.zycp, c.zycp);
    EXPECT_EQ(entry.zyhy, c.zyhy);
    EXPECT_EQ(entry.zczy, c.zczy);
    EXPECT_EQ(entry.ygnum, c.ygnum);
    EXPECT_EQ(entry.createtime, c.createtime);
    EXPECT_EQ(entry.frdb, c.frdb);
}

class ProfileSteps : public ::testing::Test {
protected:
    TTaskDeail entryFor(int page, int index) {
        FixtureCompany c = market.Company(page, index);
        TTaskDeail entry;
        entry.rid = c.rid;
        entry.homepage = c.homepage;
        entry.comname = c.comname;
        return entry;
    }
    TempAppDir dir;
    FixtureMarketplace market;
    MarketHosts hosts{market.base(), market.base(), FixtureMarketplace::kLayoutPrefix};
    HttpClient http;
    std::vector<std::pair<int, std::string>> notices;
    UrlNotice notice = [this](int kind, const std::string& url) { notices.emplace_back(kind, url); };
};

TEST_F(ProfileSteps, BothLayoutsAndTheMobileProfileGiveCleanValues) {
    LogEnabled = true;
    for (int index : {0, 1}) {
        TTaskDeail entry = entryFor(0, index);
        EXPECT_TRUE(ReadContactPage(entry, http, hosts, notice));
        EXPECT_TRUE(ReadMobileProfile(entry, http, hosts));
        FixtureCompany c = market.Company(0, index);
        SCOPED_TRACE(c.homepage);
        expectContactFields(entry, c);
        expectMobileFields(entry, c);
    }
    LogEnabled = false;
    // Only the contact-name layout announces its address and logs the whole page.
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], std::make_pair(1, market.Company(0, 0).homepage));
    const std::string log = FromGb18030(ReadFileBytes(LogFilePath()));
    EXPECT_NE(log.find("class=\"contact-name\""), std::string::npos);
    EXPECT_EQ(log.find("membername"), std::string::npos);
    EXPECT_EQ(market.CountPath("/winport/company/100000.html"), 1u);
}

TEST_F(ProfileSteps, FailedFetchesLeaveFieldsEmptyAndTheLegalRepresentativeStandsIn) {
    LogEnabled = true;
    TTaskDeail noHomepage = entryFor(0, 2);
    noHomepage.homepage.clear();
    EXPECT_FALSE(ReadContactPage(noHomepage, http, hosts, notice));
    EXPECT_TRUE(ReadMobileProfile(noHomepage, http, hosts));
    EXPECT_EQ(noHomepage.tel, "");
    EXPECT_EQ(noHomepage.lxr, market.Company(0, 2).frdb);
    expectMobileFields(noHomepage, market.Company(0, 2));

    market.SetPage("/winport/company/100003.html", FixtureReply{500, "oops"});
    market.SetPage("/member/100003.html", FixtureReply{404, "gone"});
    TTaskDeail failing = entryFor(0, 3);
    EXPECT_FALSE(ReadContactPage(failing, http, hosts, notice));
    EXPECT_FALSE(ReadMobileProfile(failing, http, hosts));
    EXPECT_EQ(failing.lxr, "");
    EXPECT_EQ(failing.qytype, "");
    LogEnabled = false;
    // Swallowed for the worker, but each failed request is in the log with its address.
    const std::string log = FromGb18030(ReadFileBytes(LogFilePath()));
    EXPECT_NE(log.find("/winport/company/100003.html"), std::string::npos);
    EXPECT_NE(log.find("/member/100003.html"), std::string::npos);
}

TEST(LayoutChoice, PrefixAnywhereInTheAddressInAnyCase) {
    EXPECT_TRUE(UsesContactNameLayout("http://WWW.Example.com/page/contactinfo.htm", "www.example"));
    EXPECT_TRUE(UsesContactNameLayout("http://shop.other.cn/?from=www.example", "WWW.EXAMPLE"));
    EXPECT_FALSE(UsesContactNameLayout("http://shop123.example.com/page/creditdetail.htm", "www.example"));
    EXPECT_FALSE(UsesContactNameLayout("http://www.example.com/", ""));
}

TEST(ContactNameLayout, NameWithoutAnchorAndTelephoneWithoutNumberClass) {
    TTaskDeail entry;
    entry.lxr = "old";
    ReadContactNameLayout("<div class=\"contact-name\"> 陈先生 </div>"
                          "<dl><dt>电话：</dt><dd class=\"tel\">0571-1234567</dd></dl>"
                          "<dl><dt>邮编：</dt><dd>  310012 </dd></dl>",
                          entry);
    EXPECT_EQ(entry.lxr, "陈先生");
    EXPECT_EQ(entry.tel, "");
    EXPECT_EQ(entry.yp, "310012");
    EXPECT_EQ(entry.job, "");
    EXPECT_EQ(entry.addr, "");
}

TEST(MembernameLayout, LabelsMatchOnTheirLastCharacters) {
    TTaskDeail entry;
    ReadMembernameLayout("<a class=\"membername\" href=\"#\">周女士</a>&nbsp;（总经理）"
                         "<dt>联系电话：</dt><dd class=\"m-number\">13700001111</dd>"
                         "<dt>电&nbsp;话：</dt><dd>0512-1111</dd>",
                         entry);
    EXPECT_EQ(entry.lxr, "周女士");
    EXPECT_EQ(entry.job, "总经理");
    EXPECT_EQ(entry.tel2, "13700001111");
    EXPECT_EQ(entry.tel, "0512-1111");
    EXPECT_EQ(entry.addr, "");
    EXPECT_EQ(entry.email, "");
}

TEST(MobileFields, ValuesOutsideASpanStayEmpty) {
    TTaskDeail entry;
    ReadMobileFields("<li>类型 :</label><b>个体</b></li><li>代表 :</label><span> 吴某 </span></li>", entry);
    EXPECT_EQ(entry.qytype, "");
    EXPECT_EQ(entry.frdb, "吴某");
    EXPECT_EQ(entry.lxr, "吴某");
    TTaskDeail named;
    named.lxr = "联系人";
    ReadMobileFields("<li>代表 :</label><span>吴某</span></li>", named);
    EXPECT_EQ(named.lxr, "联系人");
}

} // namespace
