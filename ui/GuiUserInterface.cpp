#include "ui/GuiUserInterface.h"

#include "common/Messages.h"
#include "common/UserInterface.h"
#include "extras/TPlugin.h"
#include "ui/ProgressWindows.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QUrl>

namespace kavo {
namespace {

QPointer<Tfmwh>& waitWindow() {
    static QPointer<Tfmwh> wait;
    return wait;
}

int showBox(const std::string& text, const std::string& caption, int kind) {
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("kavoMsgBox"));
    box.setWindowTitle(Q(caption));
    box.setText(Q(text));
    switch (kind) {
    case kMsgInfo:
        box.setIcon(QMessageBox::Information);
        break;
    case kMsgWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case kMsgError:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMsgQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    default:
        return 0;
    }
    if (kind == kMsgQuestion) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (auto* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("取消"));
    const int answer = box.exec();
    return answer == QMessageBox::Cancel ? kAnswerCancel : kAnswerOk;
}

int guiShowMsg(const std::string& text, const std::string& caption, int kind) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return kind == kMsgQuestion ? kAnswerCancel : 0;
    if (QThread::currentThread() == app->thread())
        return showBox(text, caption, kind);
    int answer = kind == kMsgQuestion ? kAnswerCancel : 0;
    QMetaObject::invokeMethod(
        app, [&] { answer = showBox(text, caption, kind); }, Qt::BlockingQueuedConnection);
    return answer;
}

template <typename F> void onMainThread(F work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        work();
    else
        PostToThread(app, std::move(work));
}

} // namespace

void SetGuiWaitWindow(Tfmwh* wait) {
    waitWindow() = wait;
}

void InstallGuiUserInterface(TPlugin* plugin) {
    UserInterface ui;
    ui.showMsg = guiShowMsg;
    ui.showWait = [](const std::string& text) {
        onMainThread([text] {
            if (Tfmwh* wait = waitWindow())
                wait->ShowText(Q(text));
        });
    };
    ui.hideWait = [] {
        onMainThread([] {
            if (Tfmwh* wait = waitWindow())
                wait->hide();
        });
    };
    ui.openUrl = [](const std::string& url) {
        onMainThread([url] { QDesktopServices::openUrl(QUrl(Q(url))); });
    };
    ui.showNotice = [plugin](const std::string& text, int milliseconds) {
        onMainThread([plugin, text, milliseconds] {
            if (plugin)
                plugin->FShowdlgInfo(text, milliseconds, true);
            else
                ShowMsg(text, "提示", kMsgInfo);
        });
    };
    InstallUserInterface(std::move(ui));
}

} // namespace kavo
