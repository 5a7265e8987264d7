#pragma once

#include "common/WorkerThread.h"

#include <QDialog>

#include <memory>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace kavo {

// "软件介绍": the description text from the service server; a scroll bar only above 15 lines.
class Tfmdes : public QDialog {
    Q_OBJECT
public:
    explicit Tfmdes(QWidget* owner);
    ~Tfmdes() override;
    void ShowInfo();
    void ApplyReply(const std::string& reply);

    QPlainTextEdit* Memo1;
    QPushButton* btnclose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<WorkerThread> fetch_;
};

// N21Click: opens (or reuses) the description window.
Tfmdes* ShowDescriptionPage(QWidget* owner);

} // namespace kavo
