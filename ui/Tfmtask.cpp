#include "ui/Tfmtask.h"

#include "common/Global.h"
#include "common/UserInterface.h"
#include "ui/CardPictures.h"
#include "ui/ClickLabel.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QMouseEvent>

namespace kavo {
namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, QPoint at, QColor colour, bool bold) {
    auto* label = new QLabel(Q(text), parent);
    label->setObjectName(Q(name));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

Tfmtask::Tfmtask(QWidget* parent) : QFrame(parent) {
    resize(451, 72);
    setMinimumHeight(72);
    setMaximumHeight(72);
    imghit = new QLabel(this);
    imghit->setObjectName(QStringLiteral("imghit"));
    imgbg = new QLabel(this);
    imgbg->setObjectName(QStringLiteral("imgbg"));
    lblname = makeLabel(this, "lblname", "我的任务", {28, 15}, Qt::black, true);
    lblcon = makeLabel(this, "lblcon", "采集任务", {28, 38}, QColor(0x80, 0x80, 0x80), false);
    lbldate = makeLabel(this, "lbldate", "2015-10-20 16:20", {152, 15}, QColor(0x80, 0x80, 0x80), false);
    Label4 = makeLabel(this, "Label4", "采集数量", {152, 38}, Qt::black, false);
    lblsum = makeLabel(this, "lblsum", "1000000", {228, 56}, QColor(0x00, 0x80, 0x00), false);
    lblsum->setFixedWidth(52);
    lblsum->hide();
    lblcount = makeLabel(this, "lblcount", "111", {206, 38}, QColor(0xE0, 0x8A, 0x34), true);
    lblcount->setFixedWidth(65);
    imgplay = new ClickLabel(QString(), this);
    imgplay->setObjectName(QStringLiteral("imgplay"));
    imgplay->setPixmap(PlayIcon());
    imgplay->setGeometry(7, 16, 12, 12);
    imgplay->setToolTip(QStringLiteral("开始任务"));
    imgstop = new ClickLabel(QString(), this);
    imgstop->setObjectName(QStringLiteral("imgstop"));
    imgstop->setPixmap(StopIcon());
    imgstop->setGeometry(7, 16, 12, 12);
    imgstop->setToolTip(QStringLiteral("停止任务"));
    showIcons(false);

    for (QLabel* label : {imghit, imgbg, lblname, lblcon, lbldate, Label4, lblsum, lblcount})
        label->installEventFilter(this);
    connect(imgplay, &ClickLabel::clicked, this, [this] {
        SelMySelf();
        StartWork();
    });
    connect(imgstop, &ClickLabel::clicked, this, &Tfmtask::StopWork);
}

Tfmtask::~Tfmtask() = default;

void Tfmtask::SetTask(std::unique_ptr<TTaskInfo> task, int maxCount) {
    task_ = std::move(task);
    iMaxCount = maxCount;
    if (!task_)
        return;
    lblcount->setText(QString::number(task_->getcount));
    lblsum->setText(QString::number(task_->taskcount));
    lbldate->setText(Q(FormatLocalSeconds(task_->adddate)));
    lbldate->adjustSize();
    lblname->setText(Q(task_->taskname));
    lblname->adjustSize();
}

void Tfmtask::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    imghit->setGeometry(rect());
    imgbg->setGeometry(rect());
    imghit->setPixmap(CardBackground(size(), true));
    imgbg->setPixmap(CardBackground(size(), false));
    imghit->lower();
    imgbg->stackUnder(lblname);
    imghit->stackUnder(imgbg);
}

bool Tfmtask::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        const bool left = press->button() == Qt::LeftButton && watched != lbldate;
        if (left || press->button() == Qt::RightButton)
            SelMySelf();
    }
    return QFrame::eventFilter(watched, event);
}

void Tfmtask::SelMySelf() {
    imgbg->hide();
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    for (QObject* child : parent->children()) {
        auto* card = qobject_cast<Tfmtask*>(child);
        if (!card)
            continue;
        if (card->objectName() == objectName()) {
            card->BSelected = true;
            card->imghit->show();
            Q_EMIT card->selectedTask(card->TaskId());
        } else {
            card->BSelected = false;
            card->imghit->hide();
            card->imgbg->show();
        }
    }
}

void Tfmtask::showIcons(bool running) {
    imgstop->setVisible(running);
    imgplay->setVisible(!running);
}

bool Tfmtask::HasWorker() const {
    return false;
}

void Tfmtask::StartWork() {
    if (!task_)
        return;
    if (!HasWorker()) {
        if (task_->getcount >= iMaxCount) {
            ShowNotice("任务已完成！", 1000);
            return;
        }
        // The collection worker joins here once the engine's task card is in the build.
        WriteLog("task " + std::to_string(task_->ID) + ": no collection engine in this build");
        return;
    }
    if (paused_) {
        paused_ = false;
        lblname->setText(Q(task_->taskname));
        lblname->adjustSize();
    }
}

void Tfmtask::PasueWork() {
    if (!HasWorker() || !task_)
        return;
    paused_ = true;
    lblname->setText(Q(task_->taskname + "(暂停中)"));
    lblname->adjustSize();
}

void Tfmtask::StopWork() {
    if (!HasWorker())
        return;
    paused_ = false;
    lblcon->setText(QStringLiteral("正在停止采集，请稍后..."));
    lblcon->adjustSize();
}

void Tfmtask::StopAndWait() {
    if (HasWorker())
        StopWork();
}

void Tfmtask::WorkEnded() {
    showIcons(false);
    paused_ = false;
    lblcon->setText(QStringLiteral("采集已结束"));
    lblcon->adjustSize();
}

void Tfmtask::IncNum(int) {
    if (!task_)
        return;
    ++task_->getcount;
    lblcount->setText(QString::number(task_->getcount));
    Q_EMIT countChanged(task_->getcount);
    Q_EMIT progressChanged(task_->ID, task_->getcount);
    if (task_->getcount >= iMaxCount)
        StopWork();
}

} // namespace kavo
