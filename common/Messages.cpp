#include "common/Messages.h"

#include "common/Global.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace kavo {
namespace {

// A mutex and condition rather than std::promise: ThreadSanitizer cannot see the ordering that
// libstdc++'s futures give, and would report every record a worker hands over as a race.
struct Reply {
    std::mutex mutex;
    std::condition_variable ready;
    bool answered = false;
    MsgParam value = 0;

    void set(MsgParam result) {
        std::lock_guard lock(mutex);
        if (answered)
            return;
        answered = true;
        value = result;
        ready.notify_all();
    }
    MsgParam wait() {
        std::unique_lock lock(mutex);
        ready.wait(lock, [this] { return answered; });
        return value;
    }
};

// Qt hands events between threads under its own lock, which ThreadSanitizer cannot see. Passing this
// one as well (sender around the post, receiver before reading or dropping the event) makes the order
// visible. Recursive: Qt may drop an event inside postEvent itself.
std::recursive_mutex& handoff() {
    static std::recursive_mutex m;
    return m;
}

class MessageEvent : public QEvent {
public:
    MessageEvent(int msg, MsgParam wParam, MsgParam lParam, std::shared_ptr<Reply> reply)
        : QEvent(MessageEventType()), msg(msg), wParam(wParam), lParam(lParam), reply(std::move(reply)) {}
    // A sent message that is never handled (receiver gone, loop ended) must still free its sender.
    ~MessageEvent() override {
        std::lock_guard lock(handoff());
        answer(0);
    }

    void answer(MsgParam value) {
        if (reply)
            reply->set(value);
    }

    const int msg;
    const MsgParam wParam;
    const MsgParam lParam;
    std::shared_ptr<Reply> reply;
};

void post(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam,
          std::shared_ptr<Reply> reply) {
    std::lock_guard lock(handoff());
    QCoreApplication::postEvent(receiver, new MessageEvent(msg, wParam, lParam, std::move(reply)));
}

} // namespace

QEvent::Type MessageEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

MessageReceiver::MessageReceiver(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

MsgParam MessageReceiver::deliver(int msg, MsgParam wParam, MsgParam lParam) {
    return handler_ ? handler_(msg, wParam, lParam) : 0;
}

bool MessageReceiver::event(QEvent* e) {
    { std::lock_guard lock(handoff()); }
    if (e->type() != MessageEventType())
        return QObject::event(e);
    auto* m = static_cast<MessageEvent*>(e);
    MsgParam result = 0;
    try {
        result = deliver(m->msg, m->wParam, m->lParam);
    } catch (const std::exception& error) {
        // The handler's failure stays on this side (an exception must not cross the event loop);
        // the sender sees the answer "not handled".
        WriteLog(std::string("message ") + std::to_string(m->msg) + " failed: " + error.what());
    }
    m->answer(result);
    return true;
}

namespace {

// The queued work: every read or destruction of it on the receiving side begins with the hand-off lock.
class HandedWork {
public:
    explicit HandedWork(std::function<void()> work) : work_(std::move(work)) {}
    HandedWork(const HandedWork&) = default;
    HandedWork(HandedWork&&) = default;
    HandedWork& operator=(const HandedWork&) = delete;
    HandedWork& operator=(HandedWork&&) = delete;
    ~HandedWork() { std::lock_guard lock(handoff()); }

    void operator()() {
        { std::lock_guard lock(handoff()); }
        if (work_)
            work_();
    }

private:
    std::function<void()> work_;
};

} // namespace

void PostToThread(QObject* context, std::function<void()> work) {
    if (!context)
        return;
    std::lock_guard lock(handoff());
    QMetaObject::invokeMethod(context, HandedWork(std::move(work)), Qt::QueuedConnection);
}

void PostMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam) {
    if (receiver)
        post(receiver, msg, wParam, lParam, nullptr);
}

MsgParam SendMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam) {
    if (!receiver)
        return 0;
    if (receiver->thread() == QThread::currentThread())
        return receiver->deliver(msg, wParam, lParam);
    auto reply = std::make_shared<Reply>();
    post(receiver, msg, wParam, lParam, reply);
    return reply->wait();
}

} // namespace kavo
