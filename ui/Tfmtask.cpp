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

void Tfmtask::SetTask(TTaskList& tasks, std::unique_ptr<TTaskInfo> task, int maxCount) {
    if (!task)
        return;
    lblcount->setText(QString::number(task->getcount));
    lblsum->setText(QString::number(task->taskcount));
    lbldate->setText(Q(FormatLocalSeconds(task->adddate)));
    lbldate->adjustSize();
    card_ = new TaskCard(tasks, std::move(task), this);
    card_->iMaxCount = maxCount;
    connect(card_, &TaskCard::stateChanged, this, &Tfmtask::showState);
    connect(card_, &TaskCard::countChanged, this, [this](int getcount) {
        lblcount->setText(QString::number(getcount));
        Q_EMIT countChanged(getcount);
    });
    showState();
}

void Tfmtask::showState() {
    lblname->setText(Q(card_->NameText()));
    lblname->adjustSize();
    lblcon->setText(Q(card_->StatusText()));
    lblcon->adjustSize();
    showIcons(card_->ShowsStopIcon());
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
    return card_ && card_->HasWorker();
}

void Tfmtask::StartWork() {
    if (card_)
        card_->StartWork();
}

void Tfmtask::PasueWork() {
    if (card_)
        card_->PasueWork();
}

void Tfmtask::StopWork() {
    if (card_)
        card_->StopWork();
}

void Tfmtask::StopAndWait() {
    if (card_)
        card_->AbortWork();
}

void Tfmtask::IncNum(int ipage) {
    if (card_)
        card_->IncNum(ipage);
}

} // namespace kavo
