#pragma once

#include <QObject>
#include <QPointer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kavo {

// A background thread with the controls the program's workers need: a stop request, a pause gate
// that the body passes between its steps (the OS thread is never suspended), an abort for exits, and a
// completion handler queued to the thread of a context object once the body has returned.
class WorkerThread {
public:
    using Body = std::function<void(WorkerThread&)>;
    using Completion = std::function<void(WorkerThread&)>;

    // `onFinished` runs on `context`'s thread, with this very thread object; it is dropped when the
    // context or this object is gone by then. Both are destroyed on the context's thread.
    WorkerThread(QObject* context, Completion onFinished);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Start(Body body);

    // Controls, from any thread.
    void RequestStop();
    // A stop that also asks transfers in progress to end at once (program exit, card deleted).
    void Abort();
    // Pausing twice needs one resume; a stop releases a paused body.
    void Pause();
    void Resume();
    bool Paused() const;
    bool StopRequested() const;
    bool Aborted() const;
    bool Finished() const;
    // Waits at most `timeout` for the body to return; true when it has.
    bool WaitFinished(std::chrono::milliseconds timeout) const;

    // For the body: blocks while paused; false once a stop has been requested.
    bool PassGate();
    // For the body: sleeps up to `length`; a stop wakes it at once (then false).
    bool Sleep(std::chrono::milliseconds length);

private:
    QPointer<QObject> context_;
    Completion onFinished_;
    // Lives as long as this object; the queued completion runs only while it does.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stop_ = false;
    bool abort_ = false;
    bool paused_ = false;
    bool finished_ = false;
    std::thread thread_;
};

} // namespace kavo
