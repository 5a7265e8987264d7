#pragma once

#include "store/TaskList.h"

#include <QFrame>

#include <memory>

class QLabel;

namespace kavo {

class ClickLabel;

// One task in the history tab's card stack: name, status line, creation time, collected count, and
// the start/stop icon. A click selects it. The card owns its task.
class Tfmtask : public QFrame {
    Q_OBJECT
public:
    explicit Tfmtask(QWidget* parent);
    ~Tfmtask() override;

    // Takes the task and shows it; the card's target becomes iMaxCount.
    void SetTask(std::unique_ptr<TTaskInfo> task, int maxCount);
    TTaskInfo* TaskInfo() const { return task_.get(); }
    int TaskId() const { return task_ ? task_->ID : 0; }

    void SelMySelf();
    void StartWork();
    void PasueWork();
    void StopWork();
    void IncNum(int ipage);

    bool HasWorker() const;
    // Stops the worker and waits for its end (a few seconds at most) while still answering its
    // messages, so the task object outlives it.
    void StopAndWait();
    bool IsPaused() const { return paused_; }

    bool BSelected = false;
    int iMaxCount = 0;

    QLabel* imghit;
    QLabel* imgbg;
    QLabel* lblname;
    QLabel* lblcon;
    QLabel* lbldate;
    QLabel* Label4;
    QLabel* lblsum;
    QLabel* lblcount;
    ClickLabel* imgplay;
    ClickLabel* imgstop;

Q_SIGNALS:
    // The card became the selected one: show page 1 of its records.
    void selectedTask(int taskId);
    // One more record was counted: the paging follows the new count.
    void countChanged(int getcount);
    // The task's record count is to be stored (chgTaskSum).
    void progressChanged(int taskId, int getcount);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void WorkEnded();
    void showIcons(bool running);

    std::unique_ptr<TTaskInfo> task_;
    bool paused_ = false;
};

} // namespace kavo
