#include "extras/frmabout.h"

#include "common/UserInterface.h"
#include "extras/TPlugin.h"
#include "service/InfoPages.h"
#include "service/ServiceHttp.h"
#include "service/ServiceServers.h"
#include "ui/ClickLabel.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavo {
namespace {

QPointer<Tfmabout>& instance() {
    static QPointer<Tfmabout> window;
    return window;
}

bool blankText(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

Tfmabout::Tfmabout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmabout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("联系我们"));
    auto* layout = new QVBoxLayout(this);
    lblcom = new QLabel(this);
    lblname = new QLabel(QStringLiteral("正在加载信息，请稍后..."), this);
    lblmob = new QLabel(this);
    lblqq = new ClickLabel(QString(), this);
    for (auto* label : {lblcom, lblname, lblmob, static_cast<QLabel*>(lblqq)})
        layout->addWidget(label);
    lblcom->hide();
    lblmob->hide();
    lblqq->hide();
    btnclose = new QPushButton(QStringLiteral("关  闭"), this);
    layout->addWidget(btnclose, 0, Qt::AlignRight);
    connect(btnclose, &QPushButton::clicked, this, &QDialog::close);
    connect(lblqq, &ClickLabel::clicked, this, &Tfmabout::lblqqClick);
}

Tfmabout::~Tfmabout() = default;

void Tfmabout::ShowInfo(const std::string& struser) {
    const std::string url = ContactPageUrl(struser);
    if (url.empty()) {
        lblname->setText(Q(kServiceNotConfigured));
        return;
    }
    fetch_ = FetchInfoPage(this, url, [this](const std::string& body) { ApplyReply(body); });
}

void Tfmabout::ApplyReply(const std::string& reply) {
    ContactInfo info;
    if (!ReadContactReply(reply, info))
        return;
    if (!blankText(info.company)) {
        lblcom->setText(QStringLiteral("公司名：%1").arg(Q(info.company)));
        lblcom->show();
    }
    lblname->setText(QStringLiteral("联系人：%1").arg(Q(info.person)));
    lblmob->setText(QStringLiteral("联系电话：%1").arg(Q(info.tel)));
    lblname->show();
    lblmob->show();
    if (!blankText(info.qq)) {
        lblqq->setText(QStringLiteral("QQ：%1 (点击交谈)").arg(Q(info.qq)));
        lblqq->setToolTip(Q(info.qq));
        lblqq->show();
    }
}

void Tfmabout::lblqqClick() {
    OpenUrlInBrowser(QqChatUrl(S(lblqq->toolTip())));
}

Tfmabout* ShowContactPage(QWidget* owner, const std::string& agentCode) {
    if (!instance())
        instance() = new Tfmabout(owner);
    instance()->ShowInfo(agentCode);
    instance()->show();
    instance()->raise();
    instance()->activateWindow();
    return instance();
}

void OpenSuggestionsPage(const std::string& agentCode) {
    const std::string url = SuggestionsPageUrl(agentCode);
    if (url.empty()) {
        ShowMsg(kServiceNotConfigured, "提示", kMsgInfo);
        return;
    }
    OpenUrlInBrowser(url);
}

void ShowPopupPage(TPlugin& plugin) {
    static bool shown = false;
    const std::string url = PopupPageUrl();
    if (shown || url.empty())
        return;
    shown = true;
    plugin.FShowWebPop(url);
}

} // namespace kavo
