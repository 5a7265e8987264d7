#include "extras/frmExeinfo.h"

#include "common/Global.h"
#include "service/DownIdHttp.h"
#include "ui/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace kavo {
namespace {

QPointer<Tfmexeinfo>& instance() {
    static QPointer<Tfmexeinfo> window;
    return window;
}

} // namespace

const std::vector<SiblingTool>& SiblingTools() {
    static const std::vector<SiblingTool> tools;
    return tools;
}

Tfmexeinfo::Tfmexeinfo(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmexeinfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("提示"));
    auto* layout = new QVBoxLayout(this);
    pnlinfo = new QLabel(QStringLiteral("还没有安装服务，是否立即安装？"), this);
    layout->addWidget(pnlinfo);
    pro1 = new QProgressBar(this);
    pro1->setRange(0, 100);
    pro1->hide();
    layout->addWidget(pro1);
    auto* buttons = new QHBoxLayout();
    btninstall = new QPushButton(QStringLiteral("安装服务"), this);
    btnlater = new QPushButton(QStringLiteral("下次安装"), this);
    buttons->addWidget(btninstall);
    buttons->addWidget(btnlater);
    layout->addLayout(buttons);
    connect(btninstall, &QPushButton::clicked, this, &Tfmexeinfo::btninstallClick);
    connect(btnlater, &QPushButton::clicked, this, &QDialog::close);
    receiver = new MessageReceiver(
        [this](int msg, MsgParam wParam, MsgParam lParam) -> MsgParam {
            if (msg == MSG_TOOL_PROGRESS && wParam == 2) {
                pro1->setVisible(true);
                pnlinfo->setText(QStringLiteral("正在下载服务程序，已下载 %1%").arg(lParam));
                pro1->setValue(static_cast<int>(lParam));
            }
            return 0;
        },
        this);
}

void Tfmexeinfo::SetSoftType(int itype, const std::string& runpara) {
    itype_ = itype;
    runpara_ = runpara;
    const auto& tools = SiblingTools();
    if (itype >= 0 && itype <= 2 && itype < static_cast<int>(tools.size()))
        pnlinfo->setText(QStringLiteral("还没有安装服务[%1]，是否立即安装？").arg(Q(tools[itype].name)));
}

void Tfmexeinfo::btninstallClick() {
    const auto& tools = SiblingTools();
    if (itype_ < 0 || itype_ >= static_cast<int>(tools.size())) {
        close();
        return;
    }
    btninstall->setEnabled(false);
    btnlater->setEnabled(false);
    const SiblingTool& tool = tools[itype_];
    const std::string folder = GetAppPath() + tool.name + "/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    DownloadJob job;
    job._strurl = tool.packageUrl;
    job._SavePath = folder + tool.name + ".zip";
    job._WinMsg = MSG_TOOL_PROGRESS;
    job._bUnZip = 2;
    job._bExec = true;
    job._runpara = runpara_;
    TDownIdHttp::Create(this, receiver, std::move(job), [this](TDownIdHttp&) { close(); });
}

Tfmexeinfo* ShowExeInfo(QWidget* owner, int toolIndex, const std::string& runParameter) {
    if (!instance())
        instance() = new Tfmexeinfo(owner);
    instance()->SetSoftType(toolIndex, runParameter);
    instance()->show();
    instance()->raise();
    instance()->activateWindow();
    return instance();
}

} // namespace kavo
