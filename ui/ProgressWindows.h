#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

namespace kavo {

// The shared wait window: borderless, on top, centred on the screen, with a looping strip.
class Tfmwh : public QWidget {
    Q_OBJECT
public:
    explicit Tfmwh(QWidget* parent = nullptr);
    void ShowText(const QString& text);
    QLabel* Label1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* animation_;
};

// Processing progress of the number formatting. Its close box only hides it.
class Tfmprocess : public QDialog {
    Q_OBJECT
public:
    explicit Tfmprocess(QWidget* owner);
    QLabel* Label1;
    QProgressBar* ProgressBar1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

// Export progress: borderless, lives for one export; the user may close it at any time.
class Tfmprowait : public QWidget {
    Q_OBJECT
public:
    explicit Tfmprowait(QWidget* owner = nullptr);
    QLabel* lblinfo;
    QProgressBar* pro;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Update progress: refuses every close; it goes away only when the program ends for the update.
class Tfmupwin : public QDialog {
    Q_OBJECT
public:
    explicit Tfmupwin(QWidget* owner);
    QLabel* Label1;
    QProgressBar* pro1;
    void SetProgress(int percent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

// Centres `window` over `owner` (on the screen when there is none).
void CentreOver(QWidget* window, QWidget* owner);

} // namespace kavo
