#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kavo {

// One plain GET of the service code: the body comes back as the bytes the server sent, never decoded.
struct ServiceRequest {
    long connectTimeoutMs = 0; // 0: no limit of our own
    long timeoutMs = 0;        // the whole request; 0: no limit
    bool followRedirects = false;
    bool http10 = false;
    // Called as the body arrives with the bytes so far and the announced total (0 when none was announced).
    std::function<void(std::int64_t received, std::int64_t total)> onProgress;
    // Asked during the transfer; true ends it at once.
    std::function<bool()> abort;
};

struct ServiceReply {
    bool transferred = false; // the transfer completed (whatever the status)
    long status = 0;
    std::string body;
    std::string error;

    bool ok() const { return transferred && status >= 200 && status <= 299; }
};

ServiceReply ServiceGet(const std::string& url, const ServiceRequest& request);

} // namespace kavo
