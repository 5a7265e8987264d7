#include "service/CheckHost.h"

#include "service/ServiceHttp.h"
#include "service/ServiceServers.h"

namespace kavo {

std::string SelectServer(const std::vector<std::string>& candidates, CheckHostTimeouts timeouts,
                         std::function<bool()> abort) {
    if (candidates.empty())
        return {};
    ServiceRequest request;
    request.connectTimeoutMs = timeouts.connectMs;
    // A probe is one tiny reply: the read allowance covers it whole.
    request.timeoutMs = timeouts.connectMs + timeouts.readMs;
    request.abort = abort;
    for (const auto& candidate : candidates) {
        if (abort && abort())
            break;
        ServiceReply reply = ServiceGet(candidate + "check.txt", request);
        if (reply.ok() && reply.body == "OK")
            return candidate;
    }
    return candidates.front();
}

TCheckHost::TCheckHost(QObject* context, std::vector<std::string> candidates, CheckHostTimeouts timeouts,
                       std::function<void()> OnServerChosen)
    : thread_(context, [OnServerChosen = std::move(OnServerChosen)](WorkerThread&) {
          if (OnServerChosen)
              OnServerChosen();
      }) {
    SetServiceBaseUrl(std::string());
    thread_.Start([candidates = std::move(candidates), timeouts](WorkerThread& thread) {
        SetServiceBaseUrl(SelectServer(candidates, timeouts, [&thread] { return thread.Aborted(); }));
    });
}

} // namespace kavo
