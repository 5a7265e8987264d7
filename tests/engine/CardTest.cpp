// The card: aborting on deletion, the target, refusing to start without hosts, the contact-page log.
#include "CardHarness.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "common/Settings.h"
#include "common/UserInterface.h"

#include <gtest/gtest.h>

#include <QObject>

using namespace kavo;
using namespace kavo::test;
using namespace std::chrono_literals;

namespace {

TEST(Card, AbortEndsAStalledTransferQuicklyAndStoresNothingOfIt) {
    CardHarness h;
    h.market.SetPageCount(1);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    h.market.HoldPath("/member/100001.html");
    card.StartWork();
    ASSERT_TRUE(PumpUntil([&] { return h.market.Held(); }));
    auto start = std::chrono::steady_clock::now();
    h.DropCard(id); // what deleting the card or leaving the program does
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    h.market.Release();
    auto stored = h.Stored(id);
    EXPECT_EQ(stored->getcount, 1);
    EXPECT_EQ(stored->lastpage, 0);
    EXPECT_EQ(h.Records(id).size(), 1u);
}

TEST(Card, TargetStopsTheWorkerAndAFinishedTaskDoesNotStartAgain) {
    CardHarness h;
    h.market.SetPageCount(1);
    int id = h.AddTask("五金");
    TaskCard& card = h.Card(id);
    card.iMaxCount = 5;
    ASSERT_TRUE(h.RunToEnd(card));
    EXPECT_EQ(card.TaskInfo()->getcount, 5);
    EXPECT_EQ(h.Stored(id)->getcount, 5);
    EXPECT_FALSE(card.LastRunExhausted());

    std::vector<std::pair<std::string, int>> notices;
    UserInterface ui;
    ui.showNotice = [&](const std::string& text, int ms) { notices.emplace_back(text, ms); };
    InstallUserInterface(ui);
    EXPECT_EQ(card.StartWork(), TaskCard::StartResult::TargetReached);
    ResetUserInterface();
    EXPECT_FALSE(card.HasWorker());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], std::make_pair(std::string("任务已完成！"), 1000));
}

TEST(Card, RefusesToStartWithoutTheMarketplaceAddresses) {
    CardHarness h;
    int id = h.AddTask("五金");
    WriteSetting(setting::HostsMobile, "");
    TaskCard& card = h.Card(id);
    std::string shown;
    UserInterface ui;
    ui.showMsg = [&](const std::string& text, const std::string&, int) {
        shown = text;
        return 1;
    };
    InstallUserInterface(ui);
    EXPECT_EQ(card.StartWork(), TaskCard::StartResult::MissingSetting);
    ResetUserInterface();
    EXPECT_NE(shown.find("[hosts] mobile"), std::string::npos);
    EXPECT_EQ(card.LastRefusal(), shown);
    EXPECT_FALSE(card.HasWorker());
    EXPECT_TRUE(h.market.Requests().empty());
}

TEST(Card, ContactPagesAreLoggedWholeAndTheLogIsRotated) {
    CardHarness h;
    h.market.SetPageCount(1);
    LogEnabled = true;
    SetLogRotateBytesForTesting(3000);
    int id = h.AddTask("五金");
    ASSERT_TRUE(h.RunToEnd(h.Card(id)));
    LogEnabled = false;
    SetLogRotateBytesForTesting(kLogRotateBytes);
    const std::string current = ReadFileBytes(h.dir.file("logs.txt"));
    const std::string old = ReadFileBytes(h.dir.file("logs.1.txt"));
    EXPECT_FALSE(old.empty());
    EXPECT_LE(current.size(), 3000u);
    EXPECT_LE(old.size(), 3000u);
    EXPECT_NE(FromGb18030(current + old).find("class=\"contact-name\""), std::string::npos);
}

} // namespace
