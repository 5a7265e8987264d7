#include "UiHarness.h"

#include "TempAppDir.h"
#include "common/Encoding.h"
#include "common/UserInterface.h"
#include "ui/HistoryPanel.h"
#include "ui/OptionDialogs.h"
#include "ui/RecordListPanel.h"
#include "ui/Tfmformat.h"
#include "ui/Tfmtask.h"

#include "ui/ClickLabel.h"
#include "ui/ProgressWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

struct ProcessingButtons : ::testing::Test {
    ProcessingButtons() {
        h.Submit("导出");
        id = h.TaskIdByName("导出");
        h.StoreRecord(id, "甲公司", "0755-1234");
        h.StoreRecord(id, "乙公司", "");
        h.StoreRecord(id, "丙公司", "0755-1234");
        Click(h.Card(id)->lblname);
        h.window->SetSaveFileChooser([this](const QString& name, bool spreadsheet) {
            offeredName = name;
            offeredSpreadsheet = spreadsheet;
            return QString::fromStdString(h.dir.file(chosenFile));
        });
    }

    // Opens the export dialog, picks text format, every record and only fields 1 and 4.
    void ExportAsTextWithNameAndPhone() {
        OnNextDialog([](QWidget* open) {
            auto* dialog = qobject_cast<Tfmformat*>(open);
            ASSERT_NE(dialog, nullptr);
            dialog->RadioButton2->setChecked(true);
            dialog->RadioButton3->setChecked(true);
            Click(dialog->Label3);
            dialog->chk[2]->setChecked(true);
            dialog->chk[5]->setChecked(true);
            Click(dialog->Button2);
        });
        Click(h.window->history->btnexport);
    }

    WindowHarness h;
    int id = 0;
    std::string chosenFile = "out.txt";
    QString offeredName;
    bool offeredSpreadsheet = true;
};

TEST_F(ProcessingButtons, ExportThroughTheDialogWritesTheChosenFields) {
    ExportAsTextWithNameAndPhone();
    EXPECT_EQ(offeredName, QStringLiteral("导出"));
    EXPECT_FALSE(offeredSpreadsheet);
    EXPECT_EQ(FromGb18030(ReadFileBytes(h.dir.file("out.txt"))),
              "公司名称,电话\r\n丙公司,0755-1234\r\n乙公司, \r\n甲公司,0755-1234\r\n");
    EXPECT_EQ(LastMsgText(), "数据导出成功！");
    EXPECT_TRUE(h.window->history->btnexport->isEnabled());

    // Only the new records: there are none now.
    OnNextDialog([](QWidget* open) { Click(qobject_cast<Tfmformat*>(open)->Button2); });
    chosenFile = "again.xls";
    Click(h.window->history->btnexport);
    EXPECT_EQ(LastMsgText(), "没有数据需要导出！");
}

TEST_F(ProcessingButtons, DeclinedOverwriteAndCancelledDialogExportNothing) {
    WriteFileBytes(h.dir.file("out.txt"), "keep");
    SetNextMsgAnswer(kAnswerCancel);
    ExportAsTextWithNameAndPhone();
    EXPECT_EQ(LastMsgText(), "文件已存在，是否覆盖?");
    EXPECT_EQ(ReadFileBytes(h.dir.file("out.txt")), "keep");

    OnNextDialog([](QWidget* open) { Click(qobject_cast<Tfmformat*>(open)->Button3); });
    ForgetLastMessage();
    Click(h.window->history->btnexport);
    EXPECT_EQ(LastMsgText(), "(none)");
    EXPECT_TRUE(h.window->history->btnexport->isEnabled());
}

TEST_F(ProcessingButtons, ExportWithAnEmptyListSaysSo) {
    h.window->records->lvlist->clear();
    Click(h.window->history->btnexport);
    EXPECT_EQ(LastMsgText(), "还没有记录！");
}

TEST_F(ProcessingButtons, DedupByPhoneRemovesRepeatsAndShowsPage1Again) {
    ASSERT_EQ(h.window->records->RowCount(), 3);
    OnNextDialog([](QWidget* open) {
        auto* dialog = qobject_cast<Tfmdiss*>(open);
        ASSERT_NE(dialog, nullptr);
        dialog->ComboBox1->setCurrentIndex(0);
        Click(dialog->Button2);
    });
    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->SpeedButton2);
    EXPECT_EQ(LastMsgText(), "操作成功！");
    EXPECT_EQ(h.window->records->RowCount(), 2) << "the repeated telephone is gone from the list";
}

TEST_F(ProcessingButtons, ClosedDedupDialogDeletesNothing) {
    OnNextDialog([](QWidget* open) { open->close(); });
    Click(h.window->history->SpeedButton2);
    int total = 0;
    h.window->Tasks().GetDeail(id, 1, total);
    EXPECT_EQ(total, 3);
}

TEST_F(ProcessingButtons, FormattingRunsInTheBackgroundAndRefreshesTheList) {
    OnNextDialog([](QWidget* open) {
        auto* dialog = qobject_cast<Tfmfm*>(open);
        ASSERT_NE(dialog, nullptr);
        dialog->CheckBox1->setChecked(true);
        Click(dialog->Button2);
    });
    SetNextMsgAnswer(kAnswerOk);
    Click(h.window->history->SpeedButton6);
    ASSERT_TRUE(PumpUntil([] { return LastMsgText() == "名录格式化完成！"; }));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(h.window->processWindow);
    QTreeWidget* view = h.window->records->lvlist;
    ASSERT_EQ(view->topLevelItemCount(), 3);
    EXPECT_EQ(view->topLevelItem(0)->text(3), QStringLiteral("07551234"));
}

TEST_F(ProcessingButtons, CancelledFormattingStartsNothing) {
    OnNextDialog([](QWidget* open) { Click(qobject_cast<Tfmfm*>(open)->Button1); });
    ForgetLastMessage();
    Click(h.window->history->SpeedButton6);
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(LastMsgText(), "(none)");
    EXPECT_EQ(h.window->records->lvlist->topLevelItem(0)->text(3), QStringLiteral("0755-1234"));
}

} // namespace
} // namespace kavo::test
