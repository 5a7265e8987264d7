// The search submission, the task commands and the record list of the main window.
#include "common/UserInterface.h"
#include "store/TaskSubmission.h"
#include "ui/HistoryPanel.h"
#include "ui/QtText.h"
#include "ui/RecordListPanel.h"
#include "ui/SearchPanel.h"
#include "ui/Tfmtask.h"
#include "ui/Tfpelmmain.h"

#include <QPushButton>
#include <QTabWidget>

namespace kavo {

void Tfpelmmain::Button1Click() {
    auto task = std::make_unique<TTaskInfo>(BuildSubmittedTask(search->Keyword(), search->Choice()));
    ShowWait("正在添加任务,请稍后...");
    // The submission step performs no request and completes at once.
    GetCountnum(std::move(task));
}

void Tfpelmmain::GetCountnum(std::unique_ptr<TTaskInfo> task) {
    HideWait();
    if (!task)
        return;
    task->taskcount = kTaskTarget;
    const int r = Tasks().AddTask(*task);
    if (r == 0)
        ShowWait("获取数量为" + std::to_string(task->taskcount));
    else if (r == -2)
        ShowMsg("任务[" + task->taskname + "]保存失败，请稍后再试！", "提示", kMsgWarning);
    if (PageControl1->currentWidget() == history)
        tabhisShow();
    else
        PageControl1->setCurrentWidget(history);
}

void Tfpelmmain::tabhisShow() {
    HideWait();
    for (auto& task : Tasks().LoadTask(0))
        history->AddTaskCard(Tasks(), std::move(task));
}

void Tfpelmmain::wireCard(Tfmtask* card) {
    connect(card, &Tfmtask::selectedTask, this, [this](int taskId) { FreshLvlist(taskId, 1); });
    // The paging strip belongs to the selected task; another card's count must not move it.
    connect(card, &Tfmtask::countChanged, this, [this, card](int getcount) {
        if (card->BSelected)
            FreshState(getcount);
    });
}

Tfmtask* Tfpelmmain::SelectedCard() const {
    return history->SelectedCard();
}

void Tfpelmmain::btnstartClick() {
    if (Tfmtask* card = SelectedCard())
        card->StartWork();
}

void Tfpelmmain::btnpauseClick() {
    QPushButton* button = history->btnpause;
    Tfmtask* card = SelectedCard();
    if (button->property("kavoTag").toInt() == 0) {
        if (card)
            card->PasueWork();
        button->setProperty("kavoTag", 1);
        button->setText(QStringLiteral("继续"));
    } else {
        if (card)
            card->StartWork();
        button->setProperty("kavoTag", 0);
        button->setText(QStringLiteral("暂停"));
    }
}

void Tfpelmmain::SpeedButton3Click() {
    if (Tfmtask* card = SelectedCard())
        card->StopWork();
}

void Tfpelmmain::btnDelteClick() {
    if (ShowMsg("是否删除选定的记录", "提示", kMsgQuestion) != kAnswerOk)
        return;
    Tfmtask* card = SelectedCard();
    if (!card)
        return;
    // The worker uses the card's task: it must have ended before the card goes.
    card->StopAndWait();
    Tasks().DelTask(card->TaskId());
    card->BSelected = false;
    card->hide();
    card->setParent(nullptr);
    card->deleteLater();
}

void Tfpelmmain::StopAllWorkers() {
    for (Tfmtask* card : history->Cards())
        card->StopAndWait();
}

void Tfpelmmain::FreshLvlist(int tid, int apage) {
    records->FreshLvlist(Tasks(), tid, apage);
}

void Tfpelmmain::FreshState(int rtcount) {
    records->FreshState(rtcount);
}

void Tfpelmmain::OnTaskItemAdded(pTaskDeail TDeail) {
    if (!TDeail)
        return;
    for (Tfmtask* card : history->Cards()) {
        if (card->TaskId() != TDeail->PID)
            continue;
        card->IncNum(0);
        if (card->BSelected)
            records->AppendLiveRow(*TDeail);
    }
}

} // namespace kavo
