#pragma once

#include "common/WorkerThread.h"

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace kavo {

class ClickLabel;
class TPlugin;

// "联系我们": the maker's contact, fetched from the service server. At most one exists; closing frees it.
class Tfmabout : public QDialog {
    Q_OBJECT
public:
    explicit Tfmabout(QWidget* owner);
    ~Tfmabout() override;
    void ShowInfo(const std::string& struser);
    // Applies a reply (on the UI thread); public for tests.
    void ApplyReply(const std::string& reply);

    QLabel* lblname;
    QLabel* lblcom;
    QLabel* lblmob;
    ClickLabel* lblqq;
    QPushButton* btnclose;

private:
    void lblqqClick();
    std::unique_ptr<WorkerThread> fetch_;
};

// N18Click: opens (or reuses) the contact window for the agent code.
Tfmabout* ShowContactPage(QWidget* owner, const std::string& agentCode);
// N20Click: the suggestions page in the browser.
void OpenSuggestionsPage(const std::string& agentCode);
// Once per run, a second after the server was chosen; nothing without the plugin's "ShowWebPop".
void ShowPopupPage(TPlugin& plugin);

} // namespace kavo
