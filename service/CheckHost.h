#pragma once

#include "common/WorkerThread.h"

#include <functional>
#include <string>
#include <vector>

namespace kavo {

struct CheckHostTimeouts {
    long connectMs = 5000;
    long readMs = 5000;
};

// The first candidate whose "check.txt" answers exactly "OK"; the first candidate when none does.
// Redirects are not followed: a redirect is no answer.
std::string SelectServer(const std::vector<std::string>& candidates, CheckHostTimeouts timeouts = {},
                         std::function<bool()> abort = {});

// The selection thread: clears ServiceBaseUrl, probes the candidates and sets ServiceBaseUrl, then
// runs `OnServerChosen` on the context's thread.
class TCheckHost {
public:
    TCheckHost(QObject* context, std::vector<std::string> candidates, CheckHostTimeouts timeouts,
               std::function<void()> OnServerChosen);
    TCheckHost(const TCheckHost&) = delete;
    TCheckHost& operator=(const TCheckHost&) = delete;

    bool Finished() const { return thread_.Finished(); }

private:
    WorkerThread thread_;
};

} // namespace kavo
