#pragma once

#include "store/TaskList.h"

#include <QWidget>

#include <memory>

class QMenu;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace kavo {

class RecordListPanel;
class Tfmtask;

// The history tab "搜索历史": the command buttons, the card stack and the record list.
class HistoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPanel(QWidget* parent);

    // Creates the task's card unless one named "frmdata<ID>" exists; the card takes the task.
    // Returns the new card, or null when it already existed.
    Tfmtask* AddTaskCard(TTaskList& tasks, std::unique_ptr<TTaskInfo> task);
    Tfmtask* FindCard(int taskId) const;
    // The card whose BSelected is set (the last one in stack order), or null.
    Tfmtask* SelectedCard() const;
    QList<Tfmtask*> Cards() const;

    QPushButton* btnstart;
    QPushButton* btnpause;
    QPushButton* SpeedButton3;
    QPushButton* btnDelte;
    QPushButton* btnexport;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton6;
    QScrollArea* scrlbx1;
    QMenu* poptask;
    RecordListPanel* records;

Q_SIGNALS:
    void cardCreated(Tfmtask* card);

private:
    QWidget* stack_;
    QVBoxLayout* stackLayout_;
};

} // namespace kavo
