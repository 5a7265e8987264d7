#include "UiHarness.h"

#include "common/Global.h"
#include "common/UserInterface.h"
#include "extras/DesktopShortcut.h"
#include "ui/ClickLabel.h"
#include "ui/HistoryPanel.h"
#include "ui/RecordListPanel.h"
#include "ui/SearchPanel.h"
#include "ui/Tfmtask.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLocalSocket>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

std::vector<std::string> CardNamesInStackOrder(const Tfpelmmain& window) {
    std::vector<std::string> names;
    for (Tfmtask* card : window.history->Cards())
        names.push_back(card->lblname->text().toStdString());
    return names;
}

TEST(MainWindow, SubmittedSearchesBecomeOneCardEachNewestFirst) {
    WindowHarness h;
    h.Submit("  灯具 ");
    h.Submit("五金,工具");
    EXPECT_EQ(h.window->PageControl1->currentWidget(), h.window->history);
    EXPECT_EQ(CardNamesInStackOrder(*h.window), (std::vector<std::string>{"五金,工具", "灯具"}));

    ForgetLastMessage();
    h.Submit("灯具");
    EXPECT_EQ(CardNamesInStackOrder(*h.window), (std::vector<std::string>{"五金,工具", "灯具"}));
    EXPECT_EQ(LastMsgText(), "(none)") << "a repeated name is refused without a message";
    EXPECT_EQ(h.window->Tasks().LoadTask(0).size(), 2u);
}

TEST(MainWindow, ProvinceChoiceReloadsCitiesAndNamesAnEmptySearch) {
    WindowHarness h;
    SearchPanel& search = *h.window->search;
    ASSERT_GT(search.cbopy->count(), 1);
    EXPECT_EQ(search.CboCity->count(), 1);
    for (QComboBox* list : {search.cbopy, search.CboCity, search.CboJy, search.CboYg, search.CboYear})
        EXPECT_EQ(list->currentText(), QStringLiteral("不限"));

    search.cbopy->setCurrentIndex(1);
    EXPECT_GT(search.CboCity->count(), 1);
    EXPECT_EQ(search.CboCity->currentIndex(), 0);
    const std::string province = search.cbopy->currentText().toStdString();

    search.CboJy->setCurrentIndex(search.CboJy->count() - 1);
    h.Submit("");
    const int id = h.TaskIdByName(province + "-公司");
    ASSERT_GT(id, 0);
    EXPECT_EQ(h.window->Tasks().LoadTask(id).at(0)->GetParam.biztype, "8");
}

TEST(MainWindow, SelectingACardListsItsRecordsAndPagesThroughThem) {
    WindowHarness h;
    h.Submit("甲");
    h.Submit("乙");
    const int a = h.TaskIdByName("甲"), b = h.TaskIdByName("乙");
    h.StoreRecords(a, 29);
    h.StoreRecord(b, "乙公司", "123456");
    RecordListPanel& list = *h.window->records;
    EXPECT_EQ(list.rzlblcount->text(), QStringLiteral("总页数"));
    EXPECT_FALSE(list.rzlblnext->isEnabled());

    Click(h.Card(a)->lblname);
    EXPECT_TRUE(h.Card(a)->BSelected);
    EXPECT_FALSE(h.Card(b)->BSelected);
    EXPECT_EQ(h.Card(a)->lblcount->text(), QStringLiteral("29"));
    EXPECT_EQ(list.RowCount(), 28);
    EXPECT_EQ(list.rzlblcount->text(), QStringLiteral("总页数：1/2"));
    EXPECT_FALSE(list.rzlblfirst->isEnabled());
    EXPECT_TRUE(list.rzlblnext->isEnabled());

    Click(list.rzlblnext);
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.rzlblcount->text(), QStringLiteral("总页数：2/2"));
    EXPECT_TRUE(list.rzlblfirst->isEnabled());
    EXPECT_TRUE(list.rzlblbefore->isEnabled());
    EXPECT_FALSE(list.rzlblnext->isEnabled());
    EXPECT_FALSE(list.rzlblend->isEnabled());
    Click(list.rzlblfirst);
    EXPECT_EQ(list.RowCount(), 28);

    // A right press selects too (the pop-up menu then acts on that card).
    QTest::mousePress(h.Card(b)->lblcon, Qt::RightButton);
    EXPECT_TRUE(h.Card(b)->BSelected);
    EXPECT_FALSE(h.Card(a)->BSelected);
    EXPECT_EQ(h.window->SelectedCard(), h.Card(b));
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.rzlblcount->text(), QStringLiteral("总页数：1/1"));
}

TEST(MainWindow, ShortFaxIsHiddenInListedPagesButShownInLiveRows) {
    WindowHarness h;
    h.Submit("传真");
    const int id = h.TaskIdByName("传真");
    h.StoreRecord(id, "一号", "1111111", "123");
    Click(h.Card(id)->lblname);
    QTreeWidget* view = h.window->records->lvlist;
    ASSERT_EQ(view->topLevelItemCount(), 1);
    EXPECT_EQ(view->topLevelItem(0)->text(5), QString());

    h.StoreRecord(id, "二号", "2222222", "456");
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(view->topLevelItem(1)->text(5), QStringLiteral("456"));
    EXPECT_EQ(h.Card(id)->lblcount->text(), QStringLiteral("2"));
    EXPECT_EQ(h.window->records->rzlblcount->text(), QStringLiteral("总页数：1/1"));
    EXPECT_EQ(h.window->Tasks().LoadTask(id).at(0)->getcount, 2);
}

TEST(MainWindow, CommandsWithoutASelectedCardTouchNoTask) {
    WindowHarness h;
    h.Submit("无选择");
    QPushButton* pause = h.window->history->btnpause;
    Click(pause);
    EXPECT_EQ(pause->text(), QStringLiteral("继续"));
    Click(pause);
    EXPECT_EQ(pause->text(), QStringLiteral("暂停"));

    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->btnDelte);
    EXPECT_EQ(h.window->Tasks().LoadTask(0).size(), 1u);
    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->SpeedButton2);
    EXPECT_EQ(LastMsgText(), "请先选择一个任务！");
}

TEST(MainWindow, DeleteAsksFirstThenRemovesTaskAndCard) {
    WindowHarness h;
    h.Submit("删我");
    const int id = h.TaskIdByName("删我");
    h.StoreRecords(id, 3);
    Click(h.Card(id)->lblname);

    SetNextMsgAnswer(kAnswerCancel);
    Click(h.window->history->btnDelte);
    EXPECT_EQ(LastMsgText(), "是否删除选定的记录");
    ASSERT_NE(h.Card(id), nullptr);

    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->btnDelte);
    EXPECT_EQ(h.Card(id), nullptr);
    EXPECT_EQ(h.window->SelectedCard(), nullptr);
    EXPECT_TRUE(h.window->Tasks().LoadTask(id).empty());
}

TEST(MainWindow, ClosingHidesAndExitAsksFirst) {
    WindowHarness h;
    ASSERT_TRUE(h.window->isVisible());
    h.window->close();
    EXPECT_FALSE(h.window->isVisible());
    EXPECT_FALSE(h.window->bclose);
    h.window->BringToFront();
    EXPECT_TRUE(h.window->isVisible());

    SetNextMsgAnswer(kAnswerCancel);
    h.window->AskExit();
    EXPECT_EQ(LastMsgText(), "确定要退出[" + h.window->MyExeAppName.toStdString() + "]吗？");
    EXPECT_TRUE(h.window->isVisible());
    EXPECT_FALSE(h.window->bclose);

    SetNextMsgAnswer(kAnswerOk);
    h.window->AskExit();
    EXPECT_TRUE(h.window->bclose);
    EXPECT_FALSE(h.window->isVisible());
}

TEST(MainWindow, WithoutANotificationAreaClosingAsksTheExitQuestion) {
    WindowHarness h;
    h.window->trayAvailable = false;
    SetNextMsgAnswer(kAnswerCancel);
    h.window->close();
    EXPECT_EQ(LastMsgText(), "确定要退出[" + h.window->MyExeAppName.toStdString() + "]吗？");
    EXPECT_TRUE(h.window->isVisible());
}

TEST(MainWindow, FirstStartWritesTheLauncherAndTheInstallPathOnce) {
    const QString launcher = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) +
                             QStringLiteral("/test_ui.desktop");
    QFile::remove(launcher);
    {
        WindowHarness h;
        EXPECT_TRUE(QFile::exists(launcher));
        EXPECT_EQ(RegisteredInstallPath(), GetAppExePath());
        QFile::remove(launcher);
        h.window.reset();
        h.window = std::make_unique<Tfpelmmain>();
        EXPECT_FALSE(QFile::exists(launcher)) << "the flag \"first\" is set after the first start";
    }
    const QString text = [&] {
        CreateDesktopShortcut("test_ui");
        QFile file(launcher);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }();
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\"") + QString::fromStdString(GetAppExePath()) +
                              QStringLiteral("\"")));
}

} // namespace
} // namespace kavo::test

namespace kavo::test {
namespace {

TEST(MainWindow, AnotherProgramBringsTheHiddenWindowBack) {
    WindowHarness h;
    h.window->hide();
    QLocalSocket peer;
    peer.connectToServer(Tfpelmmain::BringToFrontServerName());
    ASSERT_TRUE(peer.waitForConnected(2000));
    ASSERT_TRUE(PumpUntil([&] { return h.window->isVisible(); }));
    ASSERT_TRUE(PumpUntil([&] { return peer.bytesAvailable() > 0 || peer.waitForReadyRead(10); }));
    EXPECT_EQ(peer.readAll(), QByteArray("0"));
}

TEST(MainWindow, PopupMenuActsOnTheCardPressedWithTheRightButton) {
    WindowHarness h;
    h.Submit("右键");
    const int id = h.TaskIdByName("右键");
    QTest::mousePress(h.Card(id)->lblname, Qt::RightButton);
    ASSERT_EQ(h.window->SelectedCard(), h.Card(id));
    SetNextMsgAnswer(kAnswerOk);
    QAction* remove = nullptr;
    for (QAction* action : h.window->history->poptask->actions())
        if (action->text() == QStringLiteral("删除任务"))
            remove = action;
    ASSERT_NE(remove, nullptr);
    remove->trigger();
    EXPECT_EQ(h.Card(id), nullptr);
}

} // namespace
} // namespace kavo::test
