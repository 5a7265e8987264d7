#include "common/Messages.h"

#include "common/Global.h"

#include <QCoreApplication>
#include <QThread>

#include <future>
#include <memory>

namespace kavo {
namespace {

struct Reply {
    std::promise<MsgParam> promise;
    bool answered = false;
};

class MessageEvent : public QEvent {
public:
    MessageEvent(int msg, MsgParam wParam, MsgParam lParam, std::shared_ptr<Reply> reply)
        : QEvent(MessageEventType()), msg(msg), wParam(wParam), lParam(lParam), reply(std::move(reply)) {}
    // A sent message that is never handled (receiver gone, loop ended) must still free its sender.
    ~MessageEvent() override { answer(0); }

    void answer(MsgParam value) {
        if (reply && !reply->answered) {
            reply->answered = true;
            reply->promise.set_value(value);
        }
    }

    const int msg;
    const MsgParam wParam;
    const MsgParam lParam;
    std::shared_ptr<Reply> reply;
};

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

void PostMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam) {
    if (receiver)
        QCoreApplication::postEvent(receiver, new MessageEvent(msg, wParam, lParam, nullptr));
}

MsgParam SendMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam) {
    if (!receiver)
        return 0;
    if (receiver->thread() == QThread::currentThread())
        return receiver->deliver(msg, wParam, lParam);
    auto reply = std::make_shared<Reply>();
    auto answer = reply->promise.get_future();
    QCoreApplication::postEvent(receiver, new MessageEvent(msg, wParam, lParam, std::move(reply)));
    return answer.get();
}

} // namespace kavo
