#include "service/HttpCreate.h"

#include "common/Global.h"
#include "service/ServiceHttp.h"

namespace kavo {

THttpCreate* THttpCreate::Create(QObject* owner, const std::string& Url, TOnGeted Prc, long timeoutMs) {
    return new THttpCreate(owner, Url, std::move(Prc), timeoutMs);
}

THttpCreate::THttpCreate(QObject* owner, std::string url, TOnGeted prc, long timeoutMs)
    : QObject(owner), thread_(this, [this](WorkerThread&) { deleteLater(); }) {
    thread_.Start([url = std::move(url), prc = std::move(prc), timeoutMs](WorkerThread& thread) {
        ServiceRequest request;
        request.http10 = true;
        request.followRedirects = true;
        request.connectTimeoutMs = timeoutMs;
        request.timeoutMs = timeoutMs;
        request.abort = [&thread] { return thread.Aborted(); };
        ServiceReply reply = ServiceGet(url, request);
        if (!reply.transferred)
            reply.body.clear();
        try {
            if (prc && !thread.Aborted())
                prc(reply.body);
        } catch (const std::exception& error) {
            WriteLog(std::string("configuration handler failed: ") + error.what());
        }
    });
}

} // namespace kavo
