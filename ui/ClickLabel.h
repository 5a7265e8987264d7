#pragma once

#include <QLabel>

namespace kavo {

// A label that acts as a link: hand cursor, `clicked` on a left-button release while enabled.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A blue, underlined ClickLabel (the paging links).
ClickLabel* MakeLinkLabel(const QString& text, const QString& objectName, QWidget* parent);

} // namespace kavo
