#pragma once

#include "common/Messages.h"
#include "common/WorkerThread.h"
#include "engine/HttpClient.h"
#include "engine/MarketHosts.h"
#include "store/TaskList.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kavo {

// Sent by the worker once every company of a listing page has been handled; wParam is the page to
// resume from (the next one). The card stores it so a restarted task does not walk every page again.
inline constexpr int MSG_PAGE_DONE = 3042;

struct WorkPacing {
    std::chrono::milliseconds delay{0}; // between two requests of one worker
    std::chrono::milliseconds backoffFirst{1000};
    std::chrono::milliseconds backoffMax{60000};
    std::chrono::milliseconds retryAfterMax{600000};
};

struct WorkOptions {
    MarketHosts hosts;
    HttpOptions http;
    WorkPacing pacing;
};

// Reads [hosts] and [network] of kavo.cfg. "" when a task can run, else a message naming the missing setting.
std::string LoadWorkOptions(WorkOptions& options);

// Counters of one worker, readable from any thread.
struct WorkStats {
    int page = 0;      // the result page in hand
    int submitted = 0; // companies handed to the card
    int skipped = 0;   // companies already stored (no profile request)
    int errors = 0;    // errors caught and logged
    int stored = 0;    // records the card stored in this run (filled in by the card)
};

// The background worker of one running task. It never touches the database: it asks its card through
// sent messages (4357 known company, 3041 URL notice, 3040 save, MSG_PAGE_DONE) that the card answers
// on its own thread while the worker waits.
class MyWork {
public:
    using OnTerminate = std::function<void(MyWork&)>;

    // Starts at once. `mid` receives the messages; `onTerminate` runs on mid's thread after the end.
    MyWork(MessageReceiver* mid, const TTaskInfo& ataskid, WorkOptions options, OnTerminate onTerminate);
    ~MyWork();
    // Destroy only a finished worker (or from a thread other than mid's): it may be waiting in a send.
    MyWork(const MyWork&) = delete;
    MyWork& operator=(const MyWork&) = delete;

    void Terminate() { thread_.RequestStop(); }
    void Abort() { thread_.Abort(); }
    void Suspend() { thread_.Pause(); }
    void Resume() { thread_.Resume(); }
    bool Suspended() const { return thread_.Paused(); }
    bool Finished() const { return thread_.Finished(); }
    bool WaitFinished(std::chrono::milliseconds timeout) const { return thread_.WaitFinished(timeout); }

    // True when the worker ended because a result page held no company.
    bool bFinised() const { return finished_.load(); }
    // The page a later run should start from: the first page not fully handled.
    int ResumePage() const { return resumePage_.load(); }
    WorkStats Stats() const;

private:
    void Execute(WorkerThread& thread);
    bool IsNewCompany(TTaskDeail& entry);
    void SubmitRecord(TTaskDeail& entry);
    void Notice(int kind, const std::string& url);
    // The pause gate and the delay between requests; false once a stop has been requested.
    bool BeforeRequest(WorkerThread& thread);

    MessageReceiver* mHandle;
    TTaskInfo cuTask; // the worker's own copy; the card learns of progress by message
    int cuId;
    WorkOptions options_;
    std::unique_ptr<HttpClient> myHttp;
    std::string pstr;
    std::chrono::steady_clock::time_point lastRequest_{};
    std::atomic<bool> finished_{false};
    std::atomic<int> resumePage_{0};
    std::atomic<int> page_{0}, submitted_{0}, skipped_{0}, errors_{0};
    WorkerThread thread_; // last: destroyed (joined) first
};

} // namespace kavo
