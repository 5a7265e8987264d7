#pragma once

#include "engine/TaskCard.h"
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

    // Takes the task and shows it; the card's target becomes maxCount. Records go into `tasks`.
    void SetTask(TTaskList& tasks, std::unique_ptr<TTaskInfo> task, int maxCount);
    TTaskInfo* TaskInfo() const { return card_ ? card_->TaskInfo() : nullptr; }
    int TaskId() const { return TaskInfo() ? TaskInfo()->ID : 0; }
    TaskCard* Logic() const { return card_; }

    void SelMySelf();
    void StartWork();
    void PasueWork();
    void StopWork();
    void IncNum(int ipage);

    bool HasWorker() const;
    // Stops the worker and waits for its end (a few seconds at most) while still answering its
    // messages, so the task object outlives it.
    void StopAndWait();
    bool IsPaused() const { return card_ && card_->Paused(); }

    bool BSelected = false;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showState();
    void showIcons(bool running);

    TaskCard* card_ = nullptr; // child of this card
};

} // namespace kavo
