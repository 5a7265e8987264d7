#pragma once

#include "common/Messages.h"
#include "service/AutoUpdate.h"
#include "service/CheckHost.h"
#include "service/UpDateInfo.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace kavo {

struct ServiceTiming {
    CheckHostTimeouts check;
    std::chrono::milliseconds retry{2000}; // tmrconfig
    long configTimeoutMs = 90000;
    std::chrono::milliseconds popupDelay{1000};
};

// The main window's half of the service: server selection, the configuration document with its three
// attempts, and the start of a self-update. Lives on the UI thread; the document handler runs on the
// download thread and reaches the window only through `frontEnd` calls queued to this object's thread,
// ShowMsg, and message 3043 to `window` (wParam 1 is sent and waited for).
class TServiceClient : public QObject {
    Q_OBJECT
public:
    struct FrontEnd {
        // Status bar panel 0 or 1.
        std::function<void(int panel, const std::string& text)> setStatus;
        // About a second after the server was chosen, once per run.
        std::function<void()> showPopup;
        // After the third failed attempt and its message; by default the process ends at once.
        std::function<void()> endProcess;
    };

    TServiceClient(MessageReceiver* window, FrontEnd frontEnd, ServiceTiming timing = {},
                   QObject* parent = nullptr);
    ~TServiceClient() override;

    // Starts the selection thread; without configured servers only says so in panel 0.
    void Start();
    void OnServerChosen();
    // The configuration handler (TOnGeted): interprets one downloaded document.
    void LoadServiceConfig(const std::string& stream);
    void ConfigFailed();

    // tmrconfig's Tag: the attempts made so far.
    int Attempts() const { return tag_; }
    TAutoUpdate* objupdate() const { return objupdate_.data(); }

private:
    void StartDownload();
    void SetStatus(int panel, const std::string& text);
    void StartUpdate(const TUpDateInfo& info);

    QPointer<MessageReceiver> window_;
    MessageReceiver* windowRaw_; // for the download thread, which may not touch the QPointer
    FrontEnd frontEnd_;
    ServiceTiming timing_;
    QTimer* tmrconfig;
    QTimer* popupTimer_;
    std::atomic<int> tag_{0};
    std::unique_ptr<TCheckHost> checkHost_;
    QPointer<TAutoUpdate> objupdate_;
};

} // namespace kavo
