#include "ui/ClickLabel.h"

#include <QMouseEvent>

namespace kavo {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

ClickLabel* MakeLinkLabel(const QString& text, const QString& objectName, QWidget* parent) {
    auto* link = new ClickLabel(text, parent);
    link->setObjectName(objectName);
    link->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; text-decoration: underline; }"
                                       " QLabel:disabled { color: #8080C0; }"));
    return link;
}

} // namespace kavo
