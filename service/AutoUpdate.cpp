#include "service/AutoUpdate.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "service/DownIdHttp.h"
#include "service/ServiceServers.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <fstream>

namespace kavo {

TAutoUpdate::TAutoUpdate(MessageReceiver* PHandle, std::unique_ptr<TUpDateInfo> upInfo, QObject* parent)
    : QObject(parent), _PHandle(PHandle),
      _upInfo(upInfo ? std::move(upInfo) : std::make_unique<TUpDateInfo>()) {}

TAutoUpdate::~TAutoUpdate() {
    // The download is our child: Qt destroys it next, which stops and joins its thread.
    if (objdown)
        objdown->Terminate();
}

void TAutoUpdate::StartWork() {
    if (!_upInfo->isplayer)
        return;
    DownloadJob job;
    job._strurl = _upInfo->PlayerUrl;
    job._SavePath = GetAppPath() + "update.zip";
    job._WinMsg = MSG_UPDATE;
    job._CrcCode = _upInfo->Playercrc;
    job._Sha256 = _upInfo->Playersha256;
    job._bUnZip = 1;
    objdown = TDownIdHttp::Create(this, _PHandle.data(), std::move(job),
                                  [this](TDownIdHttp& thread) { OnPlayerDownloaded(thread); });
}

void TAutoUpdate::OnPlayerDownloaded(TDownIdHttp& thread) {
    const std::int8_t stat = thread.iStat();
    objdown = nullptr;
    if (stat != 2) {
        PostMessage(_PHandle.data(), MSG_UPDATE, stat, 0);
        return;
    }
    if (!_upInfo->isupdate) {
        PostMessage(_PHandle.data(), MSG_UPDATE, 5, 0);
        return;
    }
    DownloadJob job;
    job._strurl = _upInfo->UpdateUrl;
    job._SavePath = GetAppPath() + "up.zip";
    job._WinMsg = MSG_UPDATE;
    job._CrcCode = _upInfo->Updatecrc;
    job._Sha256 = _upInfo->Updatesha256;
    job._bUnZip = 2;
    objdown = TDownIdHttp::Create(this, _PHandle.data(), std::move(job),
                                  [this](TDownIdHttp& next) { OnUpdaterDownloaded(next); });
}

void TAutoUpdate::OnUpdaterDownloaded(TDownIdHttp&) {
    objdown = nullptr;
    PostMessage(_PHandle.data(), MSG_UPDATE, 5, 0);
}

void WriteUpLog(const std::string& exeName) {
    std::ofstream out(GetAppPath() + "uplog.txt", std::ios::binary | std::ios::trunc);
    out << ToGb18030(exeName) << "\r\n";
}

void HandOverToUpdater(const HandOverHooks& hooks) {
    const std::string exeName = GetAppExeName();
    WriteUpLog(exeName);
    const QString folder = QString::fromStdString(GetAppPath());
    if (!QProcess::startDetached(folder + QString::fromUtf8(kUpdaterName), {}, folder))
        WriteLog(std::string("cannot start the updater ") + kUpdaterName);
    if (hooks.beforeEnd)
        hooks.beforeEnd();
    QCoreApplication::processEvents();
    if (hooks.endProcesses)
        hooks.endProcesses(exeName);
    else
        KillProcessByName(exeName);
    QCoreApplication::quit();
}

} // namespace kavo
