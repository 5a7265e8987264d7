#include "extras/frmdes.h"

#include "service/InfoPages.h"
#include "service/ServiceHttp.h"
#include "service/ServiceServers.h"
#include "ui/QtText.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace kavo {
namespace {

QPointer<Tfmdes>& instance() {
    static QPointer<Tfmdes> window;
    return window;
}

} // namespace

Tfmdes::Tfmdes(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmdes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("软件介绍"));
    resize(520, 360);
    auto* layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(QStringLiteral("正在加载数据，请稍后..."), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(Memo1);
    btnclose = new QPushButton(QStringLiteral("关  闭"), this);
    btnclose->setDefault(true);
    layout->addWidget(btnclose, 0, Qt::AlignRight);
    connect(btnclose, &QPushButton::clicked, this, &QDialog::close);
}

Tfmdes::~Tfmdes() = default;

void Tfmdes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    btnclose->setFocus();
}

void Tfmdes::ShowInfo() {
    const std::string url = DescriptionPageUrl();
    if (url.empty()) {
        Memo1->setPlainText(Q(kServiceNotConfigured));
        return;
    }
    fetch_ = FetchInfoPage(this, url, [this](const std::string& body) { ApplyReply(body); });
}

void Tfmdes::ApplyReply(const std::string& reply) {
    const QStringList lines = Q(reply).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    Memo1->setVerticalScrollBarPolicy(lines.size() > 15 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    btnclose->setFocus();
}

Tfmdes* ShowDescriptionPage(QWidget* owner) {
    if (!instance())
        instance() = new Tfmdes(owner);
    instance()->ShowInfo();
    instance()->show();
    instance()->raise();
    instance()->activateWindow();
    return instance();
}

} // namespace kavo
