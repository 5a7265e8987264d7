#include "extras/TPlugin.h"

#include "common/Global.h"
#include "common/UserInterface.h"
#include "ui/QtText.h"

namespace kavo {

QString TPlugin::LibraryBaseName() {
    return Q(GetAppPath()) + QStringLiteral("MsgDlg");
}

TPlugin::TPlugin(QWidget* Ownen) : LibHandle(std::make_unique<QLibrary>(LibraryBaseName())), FOwnen(Ownen) {
    if (!LibHandle->load()) {
        WriteLog("notice library not loaded: " + S(LibHandle->errorString()));
        LibHandle.reset();
        return;
    }
    ShowdlgInfo = reinterpret_cast<ShowdlgInfoFn>(LibHandle->resolve("showdlgInfo"));
    ShowWebPop = reinterpret_cast<ShowWebPopFn>(LibHandle->resolve("ShowWebPop"));
}

// The library stays mapped: notices it created may still be on screen when the program ends.
TPlugin::~TPlugin() = default;

void TPlugin::FShowdlgInfo(const std::string& sinfo, int itime, bool Center) {
    if (!ShowdlgInfo) {
        ShowMsg(sinfo, "提示", kMsgInfo);
        return;
    }
    ShowdlgInfo(sinfo.c_str(), Center, FOwnen, itime);
}

void TPlugin::FShowWebPop(const std::string& surl) {
    if (ShowWebPop)
        ShowWebPop(surl.c_str());
}

} // namespace kavo
