#pragma once

#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace kavo {

// The notification-area icon with its menu "显示界面" / "退出".
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent);
    ~TrayIcon() override;

    void SetHint(const QString& hint);
    void Hide();
    // Whether the desktop shows the icon; without it closing the window must not merely hide it.
    bool Available() const;

    QSystemTrayIcon* TrayIcon1;
    QMenu* menu;

Q_SIGNALS:
    void showRequested();
    void exitRequested();

private:
    // A context menu has no parent widget to free it.
    std::unique_ptr<QMenu> menuOwner_;
};

} // namespace kavo
