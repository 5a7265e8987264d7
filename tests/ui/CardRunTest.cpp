#include "UiHarness.h"

#include "FixtureMarketplace.h"
#include "common/UserInterface.h"
#include "ui/ClickLabel.h"
#include "ui/HistoryPanel.h"
#include "ui/RecordListPanel.h"
#include "ui/Tfmtask.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using std::chrono::milliseconds;

struct CardRun : ::testing::Test {
    CardRun() {
        market.ConfigureHosts();
        market.SetPageCount(2);
        market.SetCompaniesPerPage(5);
        h.Submit("灯具");
        id = h.TaskIdByName("灯具");
        card = h.Card(id);
    }
    int Count() const { return card->lblcount->text().toInt(); }

    WindowHarness h;
    FixtureMarketplace market;
    int id = 0;
    Tfmtask* card = nullptr;
};

TEST_F(CardRun, StartedTaskShowsLiveRowsAndEndsWhenResultsRunOut) {
    Click(card->imgplay);
    EXPECT_TRUE(card->BSelected) << "the start icon selects its card";
    EXPECT_TRUE(card->imgstop->isVisibleTo(card));
    EXPECT_FALSE(card->imgplay->isVisibleTo(card));
    ASSERT_TRUE(
        PumpUntil([&] { return card->lblcon->text() == QStringLiteral("采集已结束"); }, milliseconds(30000)));
    EXPECT_EQ(Count(), 10);
    EXPECT_EQ(h.window->records->RowCount(), 10);
    EXPECT_EQ(h.window->records->rzlblcount->text(), QStringLiteral("总页数：1/1"));
    EXPECT_TRUE(card->imgplay->isVisibleTo(card));
    EXPECT_EQ(h.window->Tasks().LoadTask(id).at(0)->getcount, 10);
}

TEST_F(CardRun, PauseContinueAndStop) {
    market.SetDelay(milliseconds(40));
    Click(card->lblname);
    Click(h.window->history->btnstart);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 1; }, milliseconds(20000)));

    Click(h.window->history->btnpause);
    EXPECT_EQ(h.window->history->btnpause->text(), QStringLiteral("继续"));
    EXPECT_EQ(card->lblname->text(), QStringLiteral("灯具(暂停中)"));
    PumpFor(milliseconds(400)); // a request already under way may still finish
    const int paused = Count();
    PumpFor(milliseconds(400));
    EXPECT_EQ(Count(), paused);

    Click(h.window->history->btnpause);
    EXPECT_EQ(card->lblname->text(), QStringLiteral("灯具"));
    ASSERT_TRUE(PumpUntil([&] { return Count() > paused; }, milliseconds(20000)));

    Click(h.window->history->SpeedButton3);
    EXPECT_EQ(card->lblcon->text(), QStringLiteral("正在停止采集，请稍后..."));
    EXPECT_TRUE(
        PumpUntil([&] { return card->lblcon->text() == QStringLiteral("采集已结束"); }, milliseconds(20000)));
    EXPECT_LT(Count(), 10);
}

TEST_F(CardRun, DeletingARunningCardStopsItsWorkerFirst) {
    market.SetDelay(milliseconds(40));
    Click(card->imgplay);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 1; }, milliseconds(20000)));
    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->btnDelte);
    EXPECT_EQ(h.Card(id), nullptr);
    PumpFor(milliseconds(300));
    EXPECT_TRUE(h.window->Tasks().LoadTask(id).empty());
    int total = -1;
    h.window->Tasks().GetDeail(id, 1, total);
    EXPECT_EQ(total, 0) << "no record of the deleted task arrives after it was deleted";
}

TEST_F(CardRun, ExitStopsRunningWorkersWithinSeconds) {
    market.SetDelay(milliseconds(200));
    Click(card->imgplay);
    ASSERT_TRUE(PumpUntil([&] { return card->HasWorker(); }));
    SetNextMsgAnswer(kAnswerOk);
    const auto before = std::chrono::steady_clock::now();
    h.window->AskExit();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    const size_t requests = market.Requests().size();
    PumpFor(milliseconds(600));
    EXPECT_EQ(market.Requests().size(), requests) << "the worker has ended before exit went on";
    EXPECT_FALSE(card->Logic()->Busy());
}

} // namespace
} // namespace kavo::test
