#include "common/WorkerThread.h"

#include "common/Messages.h"

namespace kavo {
WorkerThread::WorkerThread(QObject* context, Completion onFinished)
    : context_(context), onFinished_(std::move(onFinished)) {}

WorkerThread::~WorkerThread() {
    Abort();
    if (thread_.joinable())
        thread_.join();
}

void WorkerThread::Start(Body body) {
    // The context is read here, on the owner's thread: QPointer is not for use across threads.
    QObject* context = context_.data();
    std::weak_ptr<int> alive = alive_;
    thread_ = std::thread([this, context, alive, body = std::move(body)] {
        body(*this);
        // Queued before the end is announced, so whoever waits for the end may then delete the context:
        // the queued call is discarded with it.
        if (context && onFinished_) {
            PostToThread(context, [this, alive] {
                if (!alive.lock())
                    return;
                // A copy: the handler may well delete this object, and its own function with it.
                Completion handler = onFinished_;
                handler(*this);
            });
        }
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    });
}

void WorkerThread::RequestStop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
}

void WorkerThread::Abort() {
    std::lock_guard lock(mutex_);
    stop_ = abort_ = true;
    changed_.notify_all();
}

void WorkerThread::Pause() {
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void WorkerThread::Resume() {
    std::lock_guard lock(mutex_);
    paused_ = false;
    changed_.notify_all();
}

bool WorkerThread::Paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

bool WorkerThread::StopRequested() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool WorkerThread::Aborted() const {
    std::lock_guard lock(mutex_);
    return abort_;
}

bool WorkerThread::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

bool WorkerThread::WaitFinished(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return finished_; });
}

bool WorkerThread::PassGate() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stop_ || !paused_; });
    return !stop_;
}

bool WorkerThread::Sleep(std::chrono::milliseconds length) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, length, [this] { return stop_; });
}

} // namespace kavo
