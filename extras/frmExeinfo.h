#pragma once

#include "common/Messages.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kavo {

// One of the maker's sibling tools: a display name (also its folder and program name) and its package.
struct SiblingTool {
    std::string name;
    std::string packageUrl;
};
// kavo ships none, so nothing opens the installer today; a row added here makes it work.
const std::vector<SiblingTool>& SiblingTools();

// "提示": offers to install a sibling tool, downloads and unpacks it with progress (3044), starts it.
class Tfmexeinfo : public QDialog {
    Q_OBJECT
public:
    explicit Tfmexeinfo(QWidget* owner);
    void SetSoftType(int itype, const std::string& runpara);
    void btninstallClick();

    QLabel* pnlinfo;
    QPushButton* btninstall;
    QPushButton* btnlater;
    QProgressBar* pro1;
    MessageReceiver* receiver;

private:
    int itype_ = 0;
    std::string runpara_;
};

Tfmexeinfo* ShowExeInfo(QWidget* owner, int toolIndex, const std::string& runParameter);

} // namespace kavo
