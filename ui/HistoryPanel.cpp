#include "ui/HistoryPanel.h"

#include "ui/RecordListPanel.h"
#include "ui/Tfmtask.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kavo {
namespace {

QPushButton* makeButton(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

} // namespace

HistoryPanel::HistoryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabhis"));
    auto* layout = new QHBoxLayout(this);

    auto* pnllist = new QWidget(this);
    pnllist->setObjectName(QStringLiteral("pnllist"));
    pnllist->setFixedWidth(282);
    auto* left = new QVBoxLayout(pnllist);
    left->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QGridLayout;
    btnstart = makeButton("开始", "btnstart", pnllist);
    btnpause = makeButton("暂停", "btnpause", pnllist);
    btnpause->setProperty("kavoTag", 0);
    SpeedButton3 = makeButton("结束", "SpeedButton3", pnllist);
    btnDelte = makeButton("删除", "btnDelte", pnllist);
    btnexport = makeButton("导出数据", "btnexport", pnllist);
    SpeedButton2 = makeButton("名录去重", "SpeedButton2", pnllist);
    SpeedButton6 = makeButton("名录格式化", "SpeedButton6", pnllist);
    buttons->addWidget(btnstart, 0, 0);
    buttons->addWidget(btnpause, 0, 1);
    buttons->addWidget(SpeedButton3, 0, 2);
    buttons->addWidget(btnDelte, 0, 3);
    auto* second = new QHBoxLayout;
    second->addWidget(btnexport);
    second->addWidget(SpeedButton2);
    second->addWidget(SpeedButton6);
    buttons->addLayout(second, 1, 0, 1, 4);
    left->addLayout(buttons);

    scrlbx1 = new QScrollArea(pnllist);
    scrlbx1->setObjectName(QStringLiteral("scrlbx1"));
    scrlbx1->setFrameShape(QFrame::NoFrame);
    scrlbx1->setWidgetResizable(true);
    scrlbx1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stack_ = new QWidget;
    stack_->setObjectName(QStringLiteral("scrlbx1cards"));
    stackLayout_ = new QVBoxLayout(stack_);
    stackLayout_->setContentsMargins(0, 0, 0, 0);
    stackLayout_->setSpacing(1);
    stackLayout_->addStretch();
    scrlbx1->setWidget(stack_);
    left->addWidget(scrlbx1, 1);
    layout->addWidget(pnllist);

    poptask = new QMenu(this);
    poptask->setObjectName(QStringLiteral("poptask"));
    poptask->addAction(QStringLiteral("开始搜索"), btnstart, &QPushButton::click);
    poptask->addAction(QStringLiteral("暂停搜索"), btnpause, &QPushButton::click);
    poptask->addAction(QStringLiteral("结束搜索"), SpeedButton3, &QPushButton::click);
    poptask->addAction(QStringLiteral("删除任务"), btnDelte, &QPushButton::click);
    poptask->addAction(QStringLiteral("导出数据"), btnexport, &QPushButton::click);
    // A right press has already selected the card under the mouse when the menu opens.
    stack_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(stack_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { poptask->popup(stack_->mapToGlobal(at)); });

    records = new RecordListPanel(this);
    layout->addWidget(records, 1);
}

Tfmtask* HistoryPanel::AddTaskCard(TTaskList& tasks, std::unique_ptr<TTaskInfo> task) {
    if (!task || FindCard(task->ID))
        return nullptr;
    auto* card = new Tfmtask(stack_);
    card->setObjectName(QStringLiteral("frmdata%1").arg(task->ID));
    const int target = task->taskcount;
    card->SetTask(tasks, std::move(task), target);
    // Cards arrive newest first; each new one goes below those already shown, and a task submitted
    // later (a higher ID) goes on top.
    int at = 0;
    const QList<Tfmtask*> cards = Cards();
    while (at < cards.size() && cards[at] != card && cards[at]->TaskId() > card->TaskId())
        ++at;
    stackLayout_->insertWidget(at, card);
    card->show();
    Q_EMIT cardCreated(card);
    return card;
}

QList<Tfmtask*> HistoryPanel::Cards() const {
    QList<Tfmtask*> cards;
    for (int i = 0; i < stackLayout_->count(); ++i)
        if (auto* card = qobject_cast<Tfmtask*>(stackLayout_->itemAt(i)->widget()))
            cards << card;
    return cards;
}

Tfmtask* HistoryPanel::FindCard(int taskId) const {
    return stack_->findChild<Tfmtask*>(QStringLiteral("frmdata%1").arg(taskId), Qt::FindDirectChildrenOnly);
}

Tfmtask* HistoryPanel::SelectedCard() const {
    Tfmtask* selected = nullptr;
    for (Tfmtask* card : Cards())
        if (card->BSelected)
            selected = card;
    return selected;
}

} // namespace kavo
