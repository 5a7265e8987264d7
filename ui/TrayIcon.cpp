#include "ui/TrayIcon.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace kavo {
namespace {

QIcon programIcon() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xE0, 0x8A, 0x34));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("K"));
    return QIcon(picture);
}

} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
    menuOwner_ = std::make_unique<QMenu>();
    menu = menuOwner_.get();
    menu->setObjectName(QStringLiteral("traymenu"));
    menu->addAction(QStringLiteral("显示界面"), this, &TrayIcon::showRequested)
        ->setObjectName(QStringLiteral("N1"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出"), this, &TrayIcon::exitRequested)
        ->setObjectName(QStringLiteral("N3"));
    TrayIcon1 = new QSystemTrayIcon(programIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setContextMenu(menu);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
            Q_EMIT showRequested();
    });
    TrayIcon1->show();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::SetHint(const QString& hint) {
    TrayIcon1->setToolTip(hint);
}

void TrayIcon::Hide() {
    TrayIcon1->hide();
}

bool TrayIcon::Available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace kavo
