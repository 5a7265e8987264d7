#include "ui/ProgressWindows.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kavo {
namespace {

// The moving strip under the wait text: four frames of a block travelling along a track.
class WaitStrip : public QWidget {
public:
    explicit WaitStrip(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Image1"));
        setFixedSize(190, 14);
    }
    void advance() {
        frame_ = (frame_ + 1) % 4;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xE8, 0xE8, 0xE8));
        painter.setPen(QColor(0xB0, 0xB0, 0xB0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const int block = width() / 4;
        painter.fillRect(QRect(frame_ * block + 2, 2, block - 4, height() - 4), QColor(0x3C, 0x8D, 0xDC));
    }

private:
    int frame_ = 0;
};

} // namespace

void CentreOver(QWidget* window, QWidget* owner) {
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

Tfmwh::Tfmwh(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      animation_(new QTimer(this)) {
    setObjectName(QStringLiteral("fmwh"));
    setFixedSize(289, 116);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* pnl = new QFrame(this);
    pnl->setObjectName(QStringLiteral("pnl"));
    pnl->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->addWidget(pnl);
    auto* layout = new QVBoxLayout(pnl);
    Label1 = new QLabel(QStringLiteral("正在处理数据，请稍后..."), pnl);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label1);
    auto* strip = new WaitStrip(pnl);
    layout->addWidget(strip, 0, Qt::AlignHCenter);
    animation_->setInterval(150);
    connect(animation_, &QTimer::timeout, strip, &WaitStrip::advance);
}

void Tfmwh::ShowText(const QString& text) {
    Label1->setText(text.isEmpty() ? QStringLiteral("正在处理数据，请稍后...") : text);
    CentreOver(this, nullptr);
    show();
    raise();
}

void Tfmwh::showEvent(QShowEvent* event) {
    animation_->start();
    QWidget::showEvent(event);
}

void Tfmwh::hideEvent(QHideEvent* event) {
    animation_->stop();
    QWidget::hideEvent(event);
}

Tfmprocess::Tfmprocess(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmprocess"));
    setWindowTitle(QStringLiteral("正在处理，请稍后..."));
    setFixedSize(346, 103);
    auto* outer = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    outer->addWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    Label1 = new QLabel(QStringLiteral("处理中，请稍后..."), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    CentreOver(this, owner);
}

void Tfmprocess::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void Tfmprocess::reject() {
    hide();
}

Tfmprowait::Tfmprowait(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmprowait"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(340, 99);
    auto* outer = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    lblinfo = new QLabel(QStringLiteral("正在处理数据，请稍后..."), panel);
    lblinfo->setObjectName(QStringLiteral("lblinfo"));
    pro = new QProgressBar(panel);
    pro->setObjectName(QStringLiteral("pro"));
    pro->setMinimum(0);
    layout->addWidget(lblinfo);
    layout->addWidget(pro);
    CentreOver(this, owner);
}

void Tfmprowait::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

Tfmupwin::Tfmupwin(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmupwin"));
    setWindowTitle(QStringLiteral("程序正在升级..."));
    setFixedSize(424, 83);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("正在升级中，请稍后..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    pro1 = new QProgressBar(this);
    pro1->setObjectName(QStringLiteral("pro1"));
    pro1->setRange(0, 100);
    layout->addWidget(Label1);
    layout->addWidget(pro1);
    CentreOver(this, nullptr);
}

void Tfmupwin::SetProgress(int percent) {
    pro1->setValue(percent);
}

void Tfmupwin::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void Tfmupwin::reject() {}

} // namespace kavo
