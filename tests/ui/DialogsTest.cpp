#include "UiHarness.h"

#include "common/UserInterface.h"
#include "extras/TPlugin.h"
#include "ui/ClickLabel.h"
#include "ui/OptionDialogs.h"
#include "ui/ProgressWindows.h"
#include "ui/SettingsDialog.h"
#include "ui/Tfmformat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

QList<QWidget*> VisibleTopLevels(const QString& name) {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            found << w;
    return found;
}

TEST(Dialogs, EnterInTheDedupListCancels) {
    Tfmdiss dialog;
    OnNextDialog([](QWidget* open) {
        auto* list = open->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.ComboBox1->currentText(), QStringLiteral("电话"));
}

TEST(Dialogs, ExportFieldDialogTogglesAllAndReportsTheChosenCodes) {
    Tfmformat dialog;
    for (int i = 0; i < 11; ++i)
        dialog.SetChkBox(i + 2, QStringLiteral("列%1").arg(i));
    EXPECT_TRUE(dialog.chk[1]->isHidden());
    EXPECT_TRUE(dialog.chk[5]->isChecked());
    EXPECT_EQ(dialog.chk[5]->text(), QStringLiteral("列3"));

    Click(dialog.Label3);
    for (int i = 2; i <= 12; ++i)
        EXPECT_FALSE(dialog.chk[i]->isChecked()) << i;
    Click(dialog.Label3);
    EXPECT_TRUE(dialog.chk[12]->isChecked());

    Click(dialog.Label3);
    dialog.chk[2]->setChecked(true);
    dialog.chk[5]->setChecked(true);
    dialog.Button2Click();
    EXPECT_EQ(dialog.strWord, ",1,4,");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    Click(dialog.Label3); // all checked again
    Click(dialog.Label3); // none
    dialog.Button2Click();
    EXPECT_EQ(dialog.strWord, "");
}

TEST(Dialogs, UpdateWindowRefusesEveryClose) {
    Tfmupwin window(nullptr);
    window.show();
    EXPECT_FALSE(window.close());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    window.SetProgress(40);
    EXPECT_EQ(window.pro1->value(), 40);
}

TEST(Dialogs, ProcessingWindowFollowsItsMessagesAndIgnoresLateOnes) {
    WindowHarness h;
    h.window->OnProcessNotify(2, 50); // no window yet: nothing happens
    h.window->OnProcessNotify(1, 0);
    ASSERT_TRUE(h.window->processWindow);
    h.window->processWindow->close(); // the close box only hides it
    ASSERT_TRUE(h.window->processWindow);
    h.window->OnProcessNotify(2, 75);
    EXPECT_EQ(h.window->processWindow->ProgressBar1->value(), 75);
    h.window->OnProcessNotify(3, 0);
    EXPECT_FALSE(h.window->processWindow);
    h.window->OnProcessNotify(2, 80);
    h.window->OnProcessNotify(3, 0);
}

TEST(Dialogs, WaitWindowShowsTheDefaultTextForAnEmptyOne) {
    WindowHarness h;
    ShowWait("");
    auto wait = VisibleTopLevels(QStringLiteral("fmwh"));
    ASSERT_EQ(wait.size(), 1);
    EXPECT_TRUE(wait[0]->isVisible());
    EXPECT_EQ(wait[0]->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("正在处理数据，请稍后..."));
    QPointer<QWidget> shown = wait[0];
    HideWait();
    EXPECT_FALSE(shown->isVisible());
}

TEST(Dialogs, MessageFromAnotherThreadOpensOnTheMainThreadAndWaits) {
    WindowHarness h;
    std::atomic<int> answer{0};
    QString text, caption;
    // The box runs its own loop on this thread; the timer of OnNextDialog answers it from inside.
    OnNextDialog([&](QWidget* open) {
        auto* box = qobject_cast<QMessageBox*>(open);
        ASSERT_NE(box, nullptr);
        text = box->text();
        caption = box->windowTitle();
        box->button(QMessageBox::Cancel)->click();
    });
    std::thread worker([&] { answer = ShowMsg("来自后台", "提示", kMsgQuestion); });
    EXPECT_TRUE(PumpUntil([&] { return answer != 0; }));
    worker.join();
    EXPECT_EQ(text, QStringLiteral("来自后台"));
    EXPECT_EQ(caption, QStringLiteral("提示"));
    EXPECT_EQ(answer, kAnswerCancel);
}

TEST(Dialogs, NoticeUsesTheLibraryAndFallsBackToAMessageBox) {
    {
        TempAppDir empty;
        TPlugin missing(nullptr);
        EXPECT_FALSE(missing.Loaded());
        SetNextMsgAnswer(kAnswerOk);
        missing.FShowdlgInfo("没有插件", 1000, true);
        EXPECT_EQ(LastMsgText(), "没有插件");
    }
    WindowHarness h; // its program folder holds the library
    TPlugin plugin(nullptr);
    ASSERT_TRUE(plugin.Loaded());
    plugin.FShowdlgInfo("已保存", 300, true);
    auto notices = [] { return VisibleTopLevels(QStringLiteral("msgdlgNotice")); };
    ASSERT_EQ(notices().size(), 1) << "the caller does not wait for a notice";
    EXPECT_TRUE(PumpUntil([&] { return notices().isEmpty(); }, std::chrono::milliseconds(3000)));
}

TEST(Dialogs, SettingsAreCheckedBeforeTheyAreWritten) {
    TempAppDir dir;
    SettingsDialog dialog;
    struct Case {
        SettingKey key;
        const char* value;
        bool ok;
    };
    const Case cases[] = {
        {setting::HostsDesktop, "http://www.example.com", true},
        {setting::HostsDesktop, "www.example.com", false},
        {setting::HostsMobile, "ftp://m.example.com", false},
        {setting::NetworkProxy, "socks5://127.0.0.1:1080", true},
        {setting::NetworkProxy, "127.0.0.1", false},
        {setting::NetworkTimeout, "0", false},
        {setting::NetworkTimeout, "abc", false},
        {setting::NetworkTimeout, "", false},
        {setting::NetworkProxy, "", true},
        {setting::NetworkConnectTimeout, "30", true},
        {setting::NetworkDelay, "0", true},
        {setting::NetworkDelay, "-5", false},
    };
    for (const Case& c : cases) {
        QLineEdit* field = dialog.Field(c.key);
        ASSERT_NE(field, nullptr) << c.key.key;
        const QString before = field->text();
        field->setText(QString::fromUtf8(c.value));
        EXPECT_EQ(dialog.Validate().isEmpty(), c.ok) << c.key.key << " = " << c.value;
        field->setText(before);
    }
    dialog.Field(setting::HostsDesktop)->setText(QStringLiteral("http://www.example.com"));
    dialog.Field(setting::NetworkTimeout)->setText(QStringLiteral("0"));
    EXPECT_FALSE(dialog.Save());
    EXPECT_FALSE(dialog.lblerror->text().isEmpty());
    EXPECT_EQ(ReadSetting(setting::HostsDesktop), "") << "nothing is written while a value is wrong";
    dialog.Field(setting::NetworkTimeout)->setText(QStringLiteral("90"));
    EXPECT_TRUE(dialog.Save());
    EXPECT_EQ(ReadSetting(setting::HostsDesktop), "http://www.example.com");
    EXPECT_EQ(ReadSetting(setting::NetworkTimeout), "90");
}

} // namespace
} // namespace kavo::test
