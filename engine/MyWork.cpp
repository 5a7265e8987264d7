#include "engine/MyWork.h"

#include "common/Global.h"
#include "common/Settings.h"
#include "engine/Listing.h"
#include "engine/Patterns.h"
#include "engine/Profile.h"

#include <algorithm>
#include <deque>

namespace kavo {

using namespace std::chrono;

namespace {

void logError(const char* text) {
    try {
        WriteLog(text);
    } catch (const std::exception&) {
        // Nowhere left to report it; the worker carries on.
    }
}

} // namespace

std::string LoadWorkOptions(WorkOptions& options) {
    std::string missing = LoadMarketHosts(options.hosts);
    options.http.proxy = ReadSetting(setting::NetworkProxy);
    options.http.connectTimeoutSeconds = std::max(1, ReadSettingInt(setting::NetworkConnectTimeout));
    options.http.timeoutSeconds = std::max(1, ReadSettingInt(setting::NetworkTimeout));
    options.pacing.delay = milliseconds(std::max(0, ReadSettingInt(setting::NetworkDelay)));
    return missing;
}

MyWork::MyWork(MessageReceiver* mid, const TTaskInfo& ataskid, WorkOptions options, OnTerminate onTerminate)
    : mHandle(mid), cuTask(ataskid), cuId(ataskid.ID), options_(std::move(options)),
      myHttp(std::make_unique<HttpClient>(options_.http)), resumePage_(ataskid.lastpage),
      page_(ataskid.lastpage), thread_(mid, [this, onTerminate = std::move(onTerminate)](WorkerThread&) {
          if (onTerminate)
              onTerminate(*this);
      }) {
    myHttp->SetAbortCheck([this] { return thread_.Aborted(); });
    thread_.Start([this](WorkerThread& thread) { Execute(thread); });
}

MyWork::~MyWork() = default;

WorkStats MyWork::Stats() const {
    return WorkStats{page_.load(), submitted_.load(), skipped_.load(), errors_.load()};
}

void MyWork::Notice(int kind, const std::string& url) {
    pstr = url;
    SendMessage(mHandle, MSG_URL_NOTICE, kind, reinterpret_cast<MsgParam>(&pstr));
}

bool MyWork::IsNewCompany(TTaskDeail& entry) {
    SendMessage(mHandle, MSG_CHECK_KNOWN, cuId, reinterpret_cast<MsgParam>(&entry));
    return !entry.rid.empty();
}

void MyWork::SubmitRecord(TTaskDeail& entry) {
    for (std::string* tel : {&entry.tel, &entry.tel2, &entry.tel3})
        if (Utf8Length(*tel) < 5)
            tel->clear();
    SendMessage(mHandle, MSG_SAVE_RECORD, 1, reinterpret_cast<MsgParam>(&entry));
}

bool MyWork::BeforeRequest(WorkerThread& thread) {
    bool go = thread.PassGate();
    const auto delay = options_.pacing.delay;
    if (go && delay.count() > 0 && lastRequest_ != steady_clock::time_point{}) {
        auto waited = duration_cast<milliseconds>(steady_clock::now() - lastRequest_);
        if (waited < delay)
            go = thread.Sleep(delay - waited);
    }
    lastRequest_ = steady_clock::now();
    return go;
}

void MyWork::Execute(WorkerThread& thread) {
    std::deque<std::unique_ptr<TTaskDeail>> queue;
    const UrlNotice notice = [this](int kind, const std::string& url) { Notice(kind, url); };
    milliseconds backoff = options_.pacing.backoffFirst;
    int pageInHand = cuTask.lastpage;

    while (!thread.StopRequested()) {
        try {
            if (queue.empty()) {
                if (!BeforeRequest(thread))
                    break;
                page_ = cuTask.lastpage;
                try {
                    auto entries = FetchListingPage(cuTask, *myHttp, options_.hosts, notice);
                    std::move(entries.begin(), entries.end(), std::back_inserter(queue));
                } catch (const std::exception& error) {
                    ++errors_;
                    logError(error.what());
                    // Asked again after a pause that grows with each failure, unless the server says how
                    // long.
                    const long status = myHttp->LastStatus();
                    milliseconds wait = backoff;
                    if ((status == 429 || status == 503) && myHttp->RetryAfterSeconds() > 0)
                        wait = std::min(milliseconds(seconds(myHttp->RetryAfterSeconds())),
                                        options_.pacing.retryAfterMax);
                    else
                        backoff = std::min(backoff * 2, options_.pacing.backoffMax);
                    thread.Sleep(wait);
                    continue;
                }
                backoff = options_.pacing.backoffFirst;
                pageInHand = cuTask.lastpage - 1;
                if (queue.empty()) {
                    finished_ = true;
                    thread.RequestStop();
                    break;
                }
            }
            TTaskDeail& entry = *queue.front();
            if (!IsNewCompany(entry)) {
                ++skipped_;
            } else {
                BeforeRequest(thread);
                ReadContactPage(entry, *myHttp, options_.hosts, notice);
                BeforeRequest(thread);
                ReadMobileProfile(entry, *myHttp, options_.hosts);
                // An exit cuts the transfers short: what was read is incomplete and must not be stored.
                if (thread.Aborted())
                    break;
                SubmitRecord(entry);
                ++submitted_;
            }
            queue.pop_front();
            if (queue.empty())
                SendMessage(mHandle, MSG_PAGE_DONE, cuTask.lastpage, 0);
        } catch (const std::exception& error) {
            ++errors_;
            logError(error.what());
        }
    }
    // A page left with companies unhandled is where a later run must begin.
    resumePage_ = queue.empty() ? cuTask.lastpage : pageInHand;
}

} // namespace kavo
