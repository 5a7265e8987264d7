// A tiny client for the self-update test. The old build runs the real service path (server selection,
// configuration document, package download, hand-over); the new build only records that it ran.
#include "common/Global.h"
#include "common/Messages.h"
#include "service/AutoUpdate.h"
#include "service/ServiceClient.h"

#include <QCoreApplication>

#include <fstream>

using namespace kavo;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    LogEnabled = true;
    const std::string version = GetFileVersionStr(GetAppExePath());
    if (version != "1.0.0.1") {
        std::ofstream(GetAppPath() + "ran.txt", std::ios::binary | std::ios::trunc) << version;
        return 0;
    }
    MessageReceiver window([&](int msg, MsgParam wParam, MsgParam) -> MsgParam {
        if (msg != MSG_UPDATE)
            return 0;
        if (wParam == 5)
            HandOverToUpdater();
        else if (wParam != 1 && wParam != 2)
            QCoreApplication::exit(3);
        return 0;
    });
    TServiceClient::FrontEnd frontEnd;
    frontEnd.setStatus = [](int panel, const std::string& text) {
        WriteLog("status " + std::to_string(panel) + ": " + text);
        if (panel == 1)
            QCoreApplication::exit(4); // configured without an update: nothing to hand over
    };
    frontEnd.endProcess = [] { QCoreApplication::exit(5); };
    TServiceClient client(&window, frontEnd);
    client.Start();
    return app.exec();
}
