#pragma once

#include "common/Messages.h"
#include "common/WorkerThread.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace kavo {

// What one package download does. `_bUnZip` 1 keeps the file, 2 unpacks it into its folder and
// deletes it; `_bExec` then starts the program beside it (the file's path without its 4-character
// extension, our platform's naming of ".exe") with `_runpara`.
struct DownloadJob {
    std::string _strurl;
    std::string _SavePath;
    int _WinMsg = MSG_UPDATE;
    std::uint32_t _CrcCode = 0; // 0: no check
    std::string _Sha256;        // hexadecimal; empty: no check
    std::int8_t _bUnZip = 1;
    bool _bExec = false;
    std::string _runpara;
};

// The package download thread. It lives as a child of its owner (destroying the owner asks it to end
// and waits), reports progress as `_WinMsg` / wParam 2 / whole percent posted to `msghandle`, and
// once its work is done runs the completion on the owner's thread and then frees itself.
class TDownIdHttp : public QObject {
    Q_OBJECT
public:
    using Completion = std::function<void(TDownIdHttp& thread)>;

    static TDownIdHttp* Create(QObject* owner, MessageReceiver* msghandle, DownloadJob job,
                               Completion onDone);
    ~TDownIdHttp() override;

    // 0 at start and after a failure, 2 after full success, -1 after a checksum mismatch.
    std::int8_t iStat() const { return iStat_; }
    std::int64_t iallsize() const { return iallsize_; }
    const DownloadJob& Job() const { return job_; }
    void Terminate() { thread_.RequestStop(); }

private:
    TDownIdHttp(QObject* owner, MessageReceiver* msghandle, DownloadJob job, Completion onDone);
    void Execute(WorkerThread& thread);
    void ReportProgress(std::int64_t received, std::int64_t total);

    DownloadJob job_;
    QPointer<MessageReceiver> msghandle_; // read on the owner's thread only
    bool hasReceiver_;
    Completion onDone_;
    std::atomic<std::int8_t> iStat_{0};
    std::atomic<std::int64_t> iallsize_{0};
    int lastPercent_ = -1; // download thread only
    WorkerThread thread_;  // last: joined before anything above goes
};

// "http://" in any case: the only scheme a package is fetched by.
bool IsPlainHttpAddress(const std::string& url);

} // namespace kavo
