#include "common/Global.h"
#include "common/UserInterface.h"
#include "ui/AppFont.h"
#include "ui/Tfpelmmain.h"

#include <QApplication>

#include <exception>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Closing the window only hides it; the program lives on in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);
    kavo::ApplyChineseFont(app);
    try {
        kavo::Tfpelmmain window;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        kavo::WriteLog(std::string("kavo could not start: ") + error.what());
        kavo::ShowMsg(std::string("程序无法启动：") + error.what(), "提示", kavo::kMsgError);
        return 1;
    }
}
