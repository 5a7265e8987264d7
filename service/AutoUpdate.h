#pragma once

#include "common/Messages.h"
#include "service/UpDateInfo.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

namespace kavo {

class TDownIdHttp;

// The client side of a self-update: fetches the client package to "update.zip" (kept packed) and, when
// asked, the updater package "up.zip" (unpacked beside the client), reporting to `_PHandle` with 3043:
// wParam 2 progress, 5 when the hand-over may start, 0 or -1 when the client package failed.
class TAutoUpdate : public QObject {
    Q_OBJECT
public:
    TAutoUpdate(MessageReceiver* PHandle, std::unique_ptr<TUpDateInfo> upInfo, QObject* parent = nullptr);
    ~TAutoUpdate() override;

    void StartWork();
    const TUpDateInfo& Info() const { return *_upInfo; }

private:
    void OnPlayerDownloaded(TDownIdHttp& thread);
    void OnUpdaterDownloaded(TDownIdHttp& thread);

    QPointer<MessageReceiver> _PHandle;
    std::unique_ptr<TUpDateInfo> _upInfo;
    QPointer<TDownIdHttp> objdown;
};

// "uplog.txt": the client's executable file name in GB18030, ended by CR LF, replacing any earlier file.
void WriteUpLog(const std::string& exeName);

// The hand-over, on the UI thread: write "uplog.txt", start the updater from the program folder, let the
// front end tidy up (hide the tray icon), end every process named like this client (this one last), and
// should that return, ask the application to quit. Tests replace the ending by `endProcesses`.
struct HandOverHooks {
    std::function<void()> beforeEnd;
    std::function<void(const std::string& exeName)> endProcesses;
};
void HandOverToUpdater(const HandOverHooks& hooks = {});

} // namespace kavo
