#pragma once

#include "common/WorkerThread.h"

#include <QObject>

#include <functional>
#include <string>

namespace kavo {

// The one-shot download of the configuration document: a plain GET over HTTP/1.0 whose body (an error
// page included; empty after a failure) is handed to `Prc` on the download thread itself. The object is
// a child of `owner` and frees itself afterwards; destroying the owner first stops and waits for it.
class THttpCreate : public QObject {
    Q_OBJECT
public:
    using TOnGeted = std::function<void(const std::string& stream)>;
    static constexpr long kTimeoutMs = 90000;

    static THttpCreate* Create(QObject* owner, const std::string& Url, TOnGeted Prc,
                               long timeoutMs = kTimeoutMs);

private:
    THttpCreate(QObject* owner, std::string url, TOnGeted prc, long timeoutMs);

    WorkerThread thread_;
};

} // namespace kavo
