#include "service/ServiceClient.h"

#include "common/Global.h"
#include "common/UserInterface.h"
#include "service/AutoUpdate.h"
#include "service/ConfigCipher.h"
#include "service/HttpCreate.h"
#include "service/ServiceServers.h"
#include "service/XmlTagReader.h"

#include <QMetaObject>
#include <QTimer>

#include <unistd.h>

namespace kavo {

TServiceClient::TServiceClient(MessageReceiver* window, FrontEnd frontEnd, ServiceTiming timing,
                               QObject* parent)
    : QObject(parent), window_(window), windowRaw_(window), frontEnd_(std::move(frontEnd)), timing_(timing),
      tmrconfig(new QTimer(this)), popupTimer_(new QTimer(this)) {
    tmrconfig->setSingleShot(true);
    tmrconfig->setInterval(timing_.retry);
    connect(tmrconfig, &QTimer::timeout, this, [this] {
        tmrconfig->stop();
        StartDownload();
    });
    popupTimer_->setSingleShot(true);
    popupTimer_->setInterval(timing_.popupDelay);
    connect(popupTimer_, &QTimer::timeout, this, [this] {
        if (frontEnd_.showPopup)
            frontEnd_.showPopup();
    });
}

TServiceClient::~TServiceClient() = default;

void TServiceClient::Start() {
    const auto candidates = ServerCandidates();
    if (candidates.empty()) {
        SetServiceBaseUrl(std::string());
        SetStatus(0, kServiceNotConfigured);
        return;
    }
    checkHost_ = std::make_unique<TCheckHost>(this, candidates, timing_.check, [this] { OnServerChosen(); });
}

void TServiceClient::OnServerChosen() {
    SetStatus(0, kServerChosenText);
    StartDownload();
    popupTimer_->start();
}

void TServiceClient::StartDownload() {
    THttpCreate::Create(
        this, ServiceBaseUrl() + kConfigPath,
        [this](const std::string& stream) { LoadServiceConfig(stream); }, timing_.configTimeoutMs);
}

void TServiceClient::SetStatus(int panel, const std::string& text) {
    if (!frontEnd_.setStatus)
        return;
    PostToThread(this, [this, panel, text] { frontEnd_.setStatus(panel, text); });
}

void TServiceClient::LoadServiceConfig(const std::string& stream) {
    ++tag_;
    std::string plain;
    if (stream.empty() || !DecryptConfigStream(stream, plain, kConfigKey)) {
        WriteLog("the service configuration is not a valid document");
        ConfigFailed();
        return;
    }
    const auto elements = ReadXmlElements(plain);
    if (elements.empty()) {
        WriteLog("the service configuration holds no element");
        ConfigFailed();
        return;
    }
    ServiceDocument document = InterpretServiceDocument(elements.front(), GetAppPath() + kUpdaterName);
    switch (DecideUpdate(document.UpInfo)) {
    case ConfigDecision::Configured:
        SetStatus(1, document.info + "    ");
        return;
    case ConfigDecision::ForcedUpdate:
        ShowMsg(kForcedUpdateText, "提示", kMsgInfo);
        [[fallthrough]];
    case ConfigDecision::Update:
        // The update window must exist before the first progress message arrives.
        SendMessage(windowRaw_, MSG_UPDATE, 1, 0);
        PostToThread(this, [this, info = document.UpInfo] { StartUpdate(info); });
        return;
    }
}

void TServiceClient::StartUpdate(const TUpDateInfo& info) {
    objupdate_ = new TAutoUpdate(window_.data(), std::make_unique<TUpDateInfo>(info), this);
    objupdate_->StartWork();
}

void TServiceClient::ConfigFailed() {
    if (tag_ <= 2) {
        PostToThread(tmrconfig, [timer = tmrconfig] { timer->start(); });
        return;
    }
    ShowMsg(kConfigFailedText + SupportNumber(), "提示", kMsgInfo);
    if (frontEnd_.endProcess)
        frontEnd_.endProcess();
    else
        KillProcessById(::getpid());
}

} // namespace kavo
