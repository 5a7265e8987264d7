#include "engine/TaskCard.h"

#include "common/UserInterface.h"

#include <QCoreApplication>

#include <algorithm>

namespace kavo {

TaskCard::TaskCard(TTaskList& tasks, std::unique_ptr<TTaskInfo> task, QObject* parent)
    : QObject(parent), tasks_(tasks), task_(std::move(task)),
      receiver_(new MessageReceiver(
          [this](int msg, MsgParam w, MsgParam l) { return handleMessage(msg, w, l); }, this)) {
    if (task_) {
        lblname_ = task_->taskname;
        iMaxCount = task_->taskcount > 0 ? task_->taskcount : iMaxCount;
    }
}

TaskCard::~TaskCard() {
    closing_ = true;
    AbortWork();
    workers_.clear();
}

TaskCard::StartResult TaskCard::StartWork() {
    refusal_.clear();
    if (!task_)
        return StartResult::NoTask;
    if (current_) {
        if (!current_->Suspended())
            return StartResult::AlreadyRunning;
        lblname_ = task_->taskname;
        current_->Resume();
        Q_EMIT stateChanged();
        return StartResult::Resumed;
    }
    if (task_->getcount >= iMaxCount) {
        ShowNotice("任务已完成！", 1000);
        return StartResult::TargetReached;
    }
    WorkOptions options;
    refusal_ = LoadWorkOptions(options);
    if (!refusal_.empty()) {
        ShowMsg(refusal_, "提示", kMsgWarning);
        return StartResult::MissingSetting;
    }
    if (pacing_)
        options.pacing = *pacing_;
    storedThisRun_ = 0;
    lastExhausted_ = false;
    workers_.push_back(std::make_unique<MyWork>(receiver_, *task_, std::move(options),
                                                [this](MyWork& worker) { WorkEnded(worker); }));
    current_ = workers_.back().get();
    showStop_ = true;
    Q_EMIT stateChanged();
    return StartResult::Started;
}

void TaskCard::PasueWork() {
    if (!current_)
        return;
    lblname_ = task_->taskname + "(暂停中)";
    current_->Suspend();
    Q_EMIT stateChanged();
}

void TaskCard::StopWork() {
    if (!current_)
        return;
    current_->Terminate();
    lastStats_ = current_->Stats();
    current_ = nullptr;
    lblcon_ = "正在停止采集，请稍后...";
    Q_EMIT stateChanged();
}

void TaskCard::AbortWork() {
    for (auto& worker : workers_)
        worker->Abort();
    // The workers may be waiting in a send to this card: answer while waiting, or neither side moves.
    for (auto& worker : workers_) {
        while (!worker->WaitFinished(std::chrono::milliseconds(10)))
            QCoreApplication::sendPostedEvents(receiver_, MessageEventType());
    }
    QCoreApplication::sendPostedEvents(receiver_, MessageEventType());
}

void TaskCard::WorkEnded(MyWork& worker) {
    auto found =
        std::find_if(workers_.begin(), workers_.end(), [&](const auto& w) { return w.get() == &worker; });
    if (found == workers_.end())
        return;
    const bool newerRunning = current_ && current_ != &worker;
    if (!newerRunning) {
        task_->lastpage = worker.ResumePage();
        lastStats_ = worker.Stats();
        lastExhausted_ = worker.bFinised();
        current_ = nullptr;
        showStop_ = false;
        lblcon_ = "采集已结束";
    }
    const bool exhausted = worker.bFinised();
    workers_.erase(found);
    if (!newerRunning) {
        Q_EMIT stateChanged();
        Q_EMIT ended(exhausted);
    }
}

void TaskCard::IncNum(int) {
    ++task_->getcount;
    ++storedThisRun_;
    Q_EMIT countChanged(task_->getcount);
    tasks_.chgTaskSum(task_->ID, task_->getcount, 0);
    if (task_->getcount >= iMaxCount)
        StopWork();
}

WorkStats TaskCard::Stats() const {
    WorkStats stats = current_ ? current_->Stats() : lastStats_;
    stats.stored = storedThisRun_;
    return stats;
}

MsgParam TaskCard::handleMessage(int msg, MsgParam wParam, MsgParam lParam) {
    switch (msg) {
    case MSG_CHECK_KNOWN:
        tasks_.GetRid(static_cast<int>(wParam), *reinterpret_cast<TTaskDeail*>(lParam));
        return 0;
    case MSG_SAVE_RECORD:
        if (wParam != 1 || closing_)
            return 0;
        return tasks_.AddTaskDeail(*reinterpret_cast<TTaskDeail*>(lParam));
    case MSG_PAGE_DONE:
        if (task_ && wParam > 0) {
            task_->lastpage = static_cast<int>(wParam);
            tasks_.chgTaskSum(task_->ID, task_->getcount, static_cast<int>(wParam));
        }
        return 0;
    default: // MSG_URL_NOTICE and anything else: nothing to do
        return 0;
    }
}

} // namespace kavo
