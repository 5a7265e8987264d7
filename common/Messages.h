#pragma once

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <functional>

namespace kavo {

// Numbered messages between threads and windows, as the program has always talked.
using MsgParam = std::intptr_t;

enum MessageNumber : int {
    MSG_SAVE_RECORD = 3040,
    MSG_URL_NOTICE = 3041,
    MSG_UPDATE = 3043,
    MSG_TOOL_PROGRESS = 3044,
    MSG_PROCESS = 3049,
    MSG_CHECK_KNOWN = 4357,
    MSG_BRING_TO_FRONT = 34783,
};

// Receives numbered messages on the thread it lives in and hands them to its handler.
// A window or card owns one as a child object; a message for a receiver that is gone is dropped.
class MessageReceiver : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<MsgParam(int msg, MsgParam wParam, MsgParam lParam)>;
    explicit MessageReceiver(Handler handler, QObject* parent = nullptr);

    MsgParam deliver(int msg, MsgParam wParam, MsgParam lParam);

protected:
    bool event(QEvent* e) override;

private:
    Handler handler_;
};

// Queues the message for the receiver's thread and returns at once.
void PostMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam);

// Runs the receiver's handler on its thread and waits for the answer. Called on the receiver's own
// thread it runs at once. Answers 0 when the receiver is destroyed before it handled the message.
MsgParam SendMessage(MessageReceiver* receiver, int msg, MsgParam wParam, MsgParam lParam);

// Runs `work` on `context`'s thread through its event loop, in posting order; dropped when the context
// is destroyed first. Use this rather than a queued invokeMethod from another thread: it orders the hand
// over in a way ThreadSanitizer can follow (Qt's own queue lock is invisible to it).
void PostToThread(QObject* context, std::function<void()> work);

// The event type that carries the messages (for code that filters events).
QEvent::Type MessageEventType();

} // namespace kavo
