#include "UiHarness.h"

#include "common/UserInterface.h"
#include "ui/HistoryPanel.h"
#include "ui/SearchPanel.h"
#include "ui/Tfmtask.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <thread>

namespace kavo::test {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void PumpFor(std::chrono::milliseconds length) {
    const auto end = std::chrono::steady_clock::now() + length;
    PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, length + std::chrono::seconds(1));
}

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void OnNextDialog(std::function<void(QWidget* dialog)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

void ForgetLastMessage() {
    SetNextMsgAnswer(kAnswerOk);
    ShowMsg("(none)", "", kMsgInfo);
}

WindowHarness::WindowHarness() {
    QFile::copy(QStringLiteral(KAVO_BIN_DIR "/libMsgDlg.so"),
                QString::fromStdString(dir.file("libMsgDlg.so")));
    window = std::make_unique<Tfpelmmain>();
    window->trayAvailable = true;
    window->show();
}

WindowHarness::~WindowHarness() {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowHarness::Submit(const std::string& keyword) {
    window->search->edtkey->setText(QString::fromStdString(keyword));
    Click(window->search->Button1);
}

Tfmtask* WindowHarness::Card(int taskId) const {
    return window->history->FindCard(taskId);
}

int WindowHarness::TaskIdByName(const std::string& name) {
    for (const auto& task : window->Tasks().LoadTask(0))
        if (task->taskname == name)
            return task->ID;
    return 0;
}

void WindowHarness::StoreRecord(int taskId, const std::string& name, const std::string& tel,
                                const std::string& fax) {
    static int next = 0;
    TTaskDeail record;
    record.PID = taskId;
    record.rid = "r" + std::to_string(++next);
    record.comname = name;
    record.lxr = "王先生";
    record.tel = tel;
    record.tel3 = fax;
    window->Tasks().AddTaskDeail(record);
}

void WindowHarness::StoreRecords(int taskId, int count) {
    for (int i = 1; i <= count; ++i)
        StoreRecord(taskId, "公司" + std::to_string(i), "0755-" + std::to_string(10000000 + i));
}

} // namespace kavo::test
