#include "CardHarness.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "common/Settings.h"
#include "common/UserInterface.h"

#include <gtest/gtest.h>

#include <QObject>

#include <map>
#include <mutex>
#include <set>

using namespace kavo;
using namespace kavo::test;
using namespace std::chrono_literals;

namespace {

size_t profileRequests(const FixtureMarketplace& market, const std::string& rid) {
    return market.CountPath("/" + rid + ".html");
}

const TTaskDeail* recordOf(const std::vector<std::unique_ptr<TTaskDeail>>& records, const std::string& rid) {
    for (const auto& r : records)
        if (r->comname.find(rid) != std::string::npos)
            return r.get();
    return nullptr;
}

TEST(Worker, HarvestsEveryPageThenEndsWithTheResults) {
    CardHarness h;
    h.market.SetPageCount(2);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    std::vector<int> counts;
    QObject::connect(&card, &TaskCard::countChanged, [&](int n) { counts.push_back(n); });
    ASSERT_TRUE(h.RunToEnd(card));

    EXPECT_TRUE(card.LastRunExhausted());
    EXPECT_EQ(card.StatusText(), "采集已结束");
    EXPECT_FALSE(card.ShowsStopIcon());
    EXPECT_EQ(counts.size(), 60u);
    EXPECT_EQ(card.TaskInfo()->getcount, 60);
    EXPECT_EQ(card.TaskInfo()->lastpage, 3);
    auto stored = h.Stored(id);
    EXPECT_EQ(stored->getcount, 60);
    EXPECT_EQ(stored->lastpage, 2); // page 2 held nothing, so it stays the page to ask for
    EXPECT_EQ(h.market.CountPath("/gongsi/offer_search.html"), 3u);
    EXPECT_EQ(h.market.Requests().size(), 3u + 60u * 2u);

    auto records = h.Records(id);
    ASSERT_EQ(records.size(), 60u);
    for (int index : {0, 1}) {
        FixtureCompany c = h.market.Company(1, index);
        const TTaskDeail* r = recordOf(records, c.rid);
        ASSERT_NE(r, nullptr) << c.rid;
        EXPECT_EQ(r->comname, c.comname);
        EXPECT_EQ(r->lxr, c.lxr);
        EXPECT_EQ(r->addr, c.addr);
        EXPECT_EQ(r->yp, c.yp);
        EXPECT_EQ(r->email, c.email);
        EXPECT_EQ(r->frdb, "");
        EXPECT_EQ(r->zczy, c.zczy);
    }
}

TEST(Worker, KnownCompaniesAndEntriesWithoutIdAreSkippedWithoutProfileRequests) {
    CardHarness h;
    h.market.SetPageCount(1);
    int id = h.AddTask("五金");
    for (int index : {0, 3, 29})
        h.StoreKnown(id, h.market.Company(0, index));
    TaskCard& card = h.Card(id);
    ASSERT_TRUE(h.RunToEnd(card));
    for (int index : {0, 3, 29})
        EXPECT_EQ(profileRequests(h.market, h.market.Company(0, index).rid), 0u) << index;
    EXPECT_EQ(profileRequests(h.market, h.market.Company(0, 1).rid), 2u);
    EXPECT_EQ(card.Stats().skipped, 3);
    EXPECT_EQ(card.Stats().stored, 27);
    EXPECT_EQ(h.Stored(id)->getcount, 27);

    // A listing entry without an identifier.
    int other = h.AddTask("工具");
    h.market.ClearRequests();
    h.market.SetFault([&](const FixtureRequest& r) -> std::optional<FixtureReply> {
        if (r.path != "/gongsi/offer_search.html" || r.params.at("beginPage") != "0")
            return std::nullopt;
        return FixtureReply{200, "<div offerid=\"\"><a href=\"" + h.market.base() +
                                     "/member/100099.html\">无编号公司</a>"};
    });
    TaskCard& second = h.Card(other);
    ASSERT_TRUE(h.RunToEnd(second));
    EXPECT_EQ(h.market.CountPath("/member/100099.html"), 0u);
    EXPECT_EQ(second.Stats().skipped, 1);
}

TEST(Worker, ShortTelephoneValuesAreDroppedBeforeSaving) {
    CardHarness h;
    h.market.SetPageCount(1);
    h.market.SetCompaniesPerPage(1);
    h.market.SetPage(
        "/www.fixture/100000.html",
        FixtureReply{200,
                     "<div class=\"contact-name\">孙</div><dl><dt>电话：</dt><dd class=\"number\">"
                     "0571</dd></dl><dl><dt>移动电话：</dt><dd class=\"number\">13912</dd></dl>"
                     "<dl><dt>传真：</dt><dd>6666</dd></dl>",
                     "text/html; charset=utf-8"});
    int id = h.AddTask("五金");
    ASSERT_TRUE(h.RunToEnd(h.Card(id)));
    auto records = h.Records(id);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->tel2, "13912");
    EXPECT_EQ(records[0]->tel, "13912"); // the store falls back to the mobile number
    EXPECT_EQ(records[0]->tel3, "");
}

TEST(Worker, TwoTasksAtOnceKeepTheirOwnCookiesAndCounters) {
    CardHarness h;
    h.market.SetPageCount(2);
    int a = h.AddTask("alpha");
    int b = h.AddTask("beta");
    TaskCard& cardA = h.Card(a);
    TaskCard& cardB = h.Card(b);
    int endedCount = 0;
    for (TaskCard* card : {&cardA, &cardB}) {
        QObject::connect(card, &TaskCard::ended, [&] { ++endedCount; });
        card->StartWork();
    }
    ASSERT_TRUE(PumpUntil([&] { return endedCount == 2; }, 30s));
    EXPECT_EQ(h.Stored(a)->getcount, 60);
    EXPECT_EQ(h.Stored(b)->getcount, 60);
    EXPECT_EQ(h.Records(a).size(), 60u);

    std::map<std::string, std::set<std::string>> cookiesByTask;
    for (const auto& r : h.market.Requests()) {
        const std::string& source = r.path == "/gongsi/offer_search.html" ? r.target : r.referer;
        const std::string task = source.find("keywords=alpha") != std::string::npos ? "alpha" : "beta";
        cookiesByTask[task].insert(r.cookie);
    }
    // Each worker sends no cookie on its first listing request and its own cookie ever after.
    ASSERT_EQ(cookiesByTask["alpha"].size(), 2u);
    ASSERT_EQ(cookiesByTask["beta"].size(), 2u);
    cookiesByTask["alpha"].erase("");
    cookiesByTask["beta"].erase("");
    EXPECT_NE(*cookiesByTask["alpha"].begin(), *cookiesByTask["beta"].begin());
}

TEST(Worker, StopDuringAFetchFinishesTheCompanyInHandAndResumesOnItsPage) {
    CardHarness h;
    h.market.SetPageCount(2);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    bool ended = false;
    QObject::connect(&card, &TaskCard::ended, [&] { ended = true; });
    h.market.HoldPath("/www.fixture/100002.html");
    ASSERT_EQ(card.StartWork(), TaskCard::StartResult::Started);
    ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
    PumpFor(20ms);
    card.StopWork();
    EXPECT_EQ(card.StatusText(), "正在停止采集，请稍后...");
    EXPECT_FALSE(card.HasWorker());
    h.market.Release();
    ASSERT_TRUE(PumpUntil([&] { return ended && !card.Busy(); }));
    EXPECT_EQ(card.StatusText(), "采集已结束");
    EXPECT_FALSE(card.LastRunExhausted());
    EXPECT_EQ(card.TaskInfo()->getcount, 3);
    EXPECT_EQ(profileRequests(h.market, "100002"), 2u);
    EXPECT_EQ(profileRequests(h.market, "100003"), 0u);
    EXPECT_EQ(card.TaskInfo()->lastpage, 0);
    EXPECT_EQ(h.Stored(id)->lastpage, 0);

    // Started again in the same session: page 0 again, its three stored companies skipped.
    h.market.ClearRequests();
    ASSERT_TRUE(h.RunToEnd(card));
    EXPECT_EQ(card.TaskInfo()->getcount, 60);
    EXPECT_EQ(profileRequests(h.market, "100000"), 0u);
    EXPECT_EQ(card.Stats().skipped, 3);
}

TEST(Worker, ResumeAfterRestartBeginsAtTheFirstPageNotFullyHandled) {
    CardHarness h;
    h.market.SetPageCount(3);
    int id = h.AddTask("五金");
    {
        TaskCard& card = h.Card(id);
        bool ended = false;
        QObject::connect(&card, &TaskCard::ended, [&] { ended = true; });
        h.market.HoldPath("/member/100105.html");
        card.StartWork();
        ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
        card.StopWork();
        h.market.Release();
        ASSERT_TRUE(PumpUntil([&] { return ended && !card.Busy(); }));
        h.DropCard(id);
    }
    auto stored = h.Stored(id);
    EXPECT_EQ(stored->lastpage, 1);
    EXPECT_EQ(stored->getcount, 36);

    h.market.ClearRequests();
    TaskCard& restarted = h.Card(id);
    ASSERT_TRUE(h.RunToEnd(restarted));
    auto requests = h.market.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].params.at("beginPage"), "1");
    EXPECT_EQ(h.market.CountPath("/gongsi/offer_search.html"), 3u);
    EXPECT_EQ(profileRequests(h.market, "100104"), 0u);
    EXPECT_EQ(profileRequests(h.market, "100106"), 2u);
    EXPECT_EQ(restarted.Stats().skipped, 6);
    EXPECT_EQ(h.Stored(id)->getcount, 90);
}

TEST(Worker, PauseHoldsBetweenRequestsAndOneStartResumes) {
    CardHarness h;
    h.market.SetPageCount(1);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    h.market.HoldPath("/www.fixture/100004.html");
    card.StartWork();
    ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
    card.PasueWork();
    card.PasueWork();
    EXPECT_EQ(card.NameText(), "五金(暂停中)");
    EXPECT_TRUE(card.Paused());
    h.market.Release();
    PumpFor(150ms);
    const size_t whilePaused = h.market.Requests().size();
    PumpFor(150ms);
    EXPECT_EQ(h.market.Requests().size(), whilePaused);
    EXPECT_EQ(profileRequests(h.market, "100004"), 1u); // the contact page; the mobile page waits

    bool ended = false;
    QObject::connect(&card, &TaskCard::ended, [&] { ended = true; });
    EXPECT_EQ(card.StartWork(), TaskCard::StartResult::Resumed);
    EXPECT_EQ(card.NameText(), "五金");
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
    EXPECT_EQ(card.TaskInfo()->getcount, 30);
}

TEST(Worker, StopWhilePausedReleasesTheWorker) {
    CardHarness h;
    h.market.SetPageCount(2);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    bool ended = false;
    QObject::connect(&card, &TaskCard::ended, [&] { ended = true; });
    h.market.HoldPath("/www.fixture/100002.html");
    card.StartWork();
    ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
    card.PasueWork();
    h.market.Release();
    PumpFor(50ms);
    card.StopWork();
    ASSERT_TRUE(PumpUntil([&] { return ended && !card.Busy(); }, 5s));
    EXPECT_EQ(card.StatusText(), "采集已结束");
    EXPECT_EQ(card.TaskInfo()->getcount, 3);
}

TEST(Worker, AnOldWorkersEndDoesNotMakeTheCardForgetANewerOne) {
    CardHarness h;
    h.market.SetPageCount(1);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    int ends = 0;
    QObject::connect(&card, &TaskCard::ended, [&] { ++ends; });
    h.market.HoldPath("/www.fixture/100002.html");
    card.StartWork();
    ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
    card.StopWork();
    ASSERT_EQ(card.StartWork(), TaskCard::StartResult::Started);
    // The new worker skips the two stored companies and waits at the same company as the old one.
    ASSERT_TRUE(PumpUntil([&] { return h.market.CountPath("/www.fixture/100002.html") == 2; }));
    h.market.Release();
    ASSERT_TRUE(PumpUntil([&] { return card.TaskInfo()->getcount >= 4; }));
    EXPECT_TRUE(card.HasWorker());
    EXPECT_EQ(card.StatusText(), "正在停止采集，请稍后...");
    ASSERT_TRUE(PumpUntil([&] { return !card.Busy(); }, 20s));
    EXPECT_EQ(ends, 1); // only the newer worker's end is reported
    EXPECT_EQ(card.TaskInfo()->getcount, 30);
    EXPECT_EQ(card.StatusText(), "采集已结束");
}

TEST(Worker, ListingFailuresBackOffAndAStopWakesTheWait) {
    CardHarness h;
    h.market.SetPageCount(1);
    LogEnabled = true;
    int failures = 0;
    h.market.SetFault([&](const FixtureRequest& r) -> std::optional<FixtureReply> {
        if (r.path == "/gongsi/offer_search.html" && failures < 4) {
            ++failures;
            if (failures == 4)
                return FixtureReply{503, "busy", "text/html", {{"Retry-After", "30"}}};
            return FixtureReply{500, "down"};
        }
        return std::nullopt;
    });
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    ASSERT_TRUE(h.RunToEnd(card));
    LogEnabled = false;
    EXPECT_EQ(card.TaskInfo()->getcount, 30);
    EXPECT_EQ(card.Stats().errors, 4);
    const std::string log = FromGb18030(ReadFileBytes(LogFilePath()));
    size_t lines = 0;
    for (size_t at = log.find("returned error"); at != std::string::npos;
         at = log.find("returned error", at + 1))
        ++lines;
    EXPECT_EQ(lines, 4u);

    // A long back-off is cut short by a stop.
    h.pacing.backoffFirst = 60s;
    h.market.SetFault([](const FixtureRequest&) { return FixtureReply{500, "down"}; });
    int other = h.AddTask("工具");
    TaskCard& waiting = h.Card(other);
    bool ended = false;
    QObject::connect(&waiting, &TaskCard::ended, [&] { ended = true; });
    h.market.ClearRequests();
    waiting.StartWork();
    ASSERT_TRUE(PumpUntil([&] { return h.market.CountPath("offer_search") >= 1; }));
    PumpFor(50ms);
    auto stopAt = std::chrono::steady_clock::now();
    waiting.StopWork();
    ASSERT_TRUE(PumpUntil([&] { return ended; }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 2s);
}

TEST(Worker, BackOffDoublesAndHonoursRetryAfterUpToItsLimit) {
    CardHarness h;
    h.market.SetPageCount(1);
    h.market.SetCompaniesPerPage(1);
    h.pacing = WorkPacing{0ms, 100ms, 200ms, 300ms};
    std::vector<std::chrono::steady_clock::time_point> listingTimes;
    std::mutex mutex;
    h.market.SetFault([&](const FixtureRequest& r) -> std::optional<FixtureReply> {
        if (r.path != "/gongsi/offer_search.html")
            return std::nullopt;
        std::lock_guard lock(mutex);
        listingTimes.push_back(std::chrono::steady_clock::now());
        switch (listingTimes.size()) {
        case 1:
        case 2:
        case 3:
            return FixtureReply{500, "down"};
        case 4:
            return FixtureReply{429, "slow down", "text/html", {{"Retry-After", "3600"}}};
        default:
            return std::nullopt;
        }
    });
    int id = h.AddTask("五金");
    ASSERT_TRUE(h.RunToEnd(h.Card(id)));
    std::lock_guard lock(mutex);
    ASSERT_GE(listingTimes.size(), 5u);
    auto gap = [&](size_t i) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(listingTimes[i] - listingTimes[i - 1]);
    };
    EXPECT_GE(gap(1), 100ms);
    EXPECT_GE(gap(2), 200ms);
    EXPECT_GE(gap(3), 200ms); // doubled, then held at the maximum
    EXPECT_GE(gap(4), 300ms); // Retry-After, cut to its limit
    EXPECT_LT(gap(4), 3000ms);
}

} // namespace
