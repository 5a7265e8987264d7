#pragma once

#include "common/Messages.h"
#include "engine/MyWork.h"
#include "store/TaskList.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

// The part of a task card that is not drawing: it owns the task, runs, pauses and stops its worker,
// answers the worker's messages on the main thread, counts stored records and stops at the target.
// The desktop card draws it; kavo-cli runs a task through it as well.
class TaskCard : public QObject {
    Q_OBJECT
public:
    enum class StartResult { Started, Resumed, AlreadyRunning, NoTask, TargetReached, MissingSetting };

    TaskCard(TTaskList& tasks, std::unique_ptr<TTaskInfo> task, QObject* parent = nullptr);
    // Aborts any worker still running (its transfer ends within about a second, its company in hand is
    // not stored) and waits for it while answering its messages.
    ~TaskCard() override;

    TTaskInfo* TaskInfo() const { return task_.get(); }
    int iMaxCount = 10000;

    StartResult StartWork();
    void PasueWork();
    void StopWork();
    // Program exit or card deletion: every worker of this card is aborted and waited for.
    void AbortWork();
    // One more record of this task stored (the main window calls it from the task list's event).
    void IncNum(int ipage);

    bool HasWorker() const { return current_ != nullptr; }
    bool Paused() const { return current_ && current_->Suspended(); }
    // Any worker of this card still running, the current one or one that is stopping.
    bool Busy() const { return !workers_.empty(); }
    // What the card shows: the name line (with "(暂停中)" while paused), the status line, which icon.
    const std::string& NameText() const { return lblname_; }
    const std::string& StatusText() const { return lblcon_; }
    bool ShowsStopIcon() const { return showStop_; }
    // The message of the last refused start ("" if none).
    const std::string& LastRefusal() const { return refusal_; }
    // The current (or else the last) worker's counters; `stored` is what this card counted.
    WorkStats Stats() const;
    bool LastRunExhausted() const { return lastExhausted_; }

    // Tests and tools: pacing other than kavo.cfg's (short back-off).
    void OverridePacing(WorkPacing pacing) { pacing_ = pacing; }
    MessageReceiver* Receiver() const { return receiver_; }

Q_SIGNALS:
    void countChanged(int getcount);
    void stateChanged();
    // A worker of this card has ended; `exhausted` when the results ran out.
    void ended(bool exhausted);

private:
    MsgParam handleMessage(int msg, MsgParam wParam, MsgParam lParam);
    void WorkEnded(MyWork& worker);

    TTaskList& tasks_;
    std::unique_ptr<TTaskInfo> task_;
    MessageReceiver* receiver_; // child of this card
    std::vector<std::unique_ptr<MyWork>> workers_;
    MyWork* current_ = nullptr;
    std::optional<WorkPacing> pacing_;
    std::string lblname_, lblcon_ = "采集任务", refusal_;
    bool showStop_ = false;
    bool closing_ = false;
    bool lastExhausted_ = false;
    int storedThisRun_ = 0;
    WorkStats lastStats_;
};

} // namespace kavo
