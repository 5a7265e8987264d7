#include "ui/SettingsDialog.h"

#include "ui/QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cstring>

namespace kavo {
namespace {

struct Editable {
    SettingKey key;
    const char* caption;
    const char* hint;
};

const Editable kEditable[] = {
    {setting::HostsDesktop, "电脑版网址：", "http://www.example.com"},
    {setting::HostsMobile, "手机版网址：", "http://m.example.com"},
    {setting::HostsLayout, "联系页标记：", "留空则由电脑版网址推出"},
    {setting::NetworkProxy, "代理服务器：", "http://127.0.0.1:8080，留空为不用代理"},
    {setting::NetworkConnectTimeout, "连接超时(秒)：", "15"},
    {setting::NetworkTimeout, "请求超时(秒)：", "60"},
    {setting::NetworkDelay, "请求间隔(毫秒)：", "0"},
};

bool same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

bool isHostKey(const SettingKey& key) {
    return same(key.section, "hosts") && (same(key.key, "desktop") || same(key.key, "mobile"));
}

bool isNumberKey(const SettingKey& key) {
    return same(key.section, "network") && !same(key.key, "proxy");
}

bool isWebAddress(const QString& text, bool allowSocks) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool known = scheme == QStringLiteral("http") || scheme == QStringLiteral("https") ||
                       (allowSocks && scheme.startsWith(QStringLiteral("socks")));
    return url.isValid() && known && !url.host().isEmpty();
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmsettings"));
    setWindowTitle(QStringLiteral("设置"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const Editable& item : kEditable) {
        auto* edit = new QLineEdit(Q(ReadSetting(item.key)), this);
        edit->setObjectName(Q(std::string("edt_") + item.key.section + "_" + item.key.key));
        edit->setPlaceholderText(Q(item.hint));
        edit->setMinimumWidth(300);
        form->addRow(Q(item.caption), edit);
        rows_.push_back({item.key, edit});
    }
    layout->addLayout(form);
    lblerror = new QLabel(this);
    lblerror->setObjectName(QStringLiteral("lblerror"));
    lblerror->setStyleSheet(QStringLiteral("QLabel { color: #C00000; }"));
    lblerror->setWordWrap(true);
    layout->addWidget(lblerror);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确  定"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取  消"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QLineEdit* SettingsDialog::Field(const SettingKey& key) const {
    for (const Row& row : rows_)
        if (std::strcmp(row.key.section, key.section) == 0 && std::strcmp(row.key.key, key.key) == 0)
            return row.edit;
    return nullptr;
}

QString SettingsDialog::Validate() const {
    for (const Row& row : rows_) {
        const QString value = row.edit->text().trimmed();
        const QString name = Q(SettingName(row.key));
        // An emptied number would read back as 0; hosts and the proxy may be left empty.
        if (value.isEmpty() && !isNumberKey(row.key))
            continue;
        if (isHostKey(row.key) && !isWebAddress(value, false))
            return name + QStringLiteral(" 须是以 http:// 或 https:// 开头的网址");
        if (std::strcmp(row.key.key, setting::NetworkProxy.key) == 0 && !isWebAddress(value, true))
            return name + QStringLiteral(" 须是代理地址，例如 http://127.0.0.1:8080");
        if (isNumberKey(row.key)) {
            bool ok = false;
            const int number = value.toInt(&ok);
            const bool isDelay = std::strcmp(row.key.key, setting::NetworkDelay.key) == 0;
            if (!ok || number < (isDelay ? 0 : 1) || number > (isDelay ? 600000 : 3600))
                return name + (isDelay ? QStringLiteral(" 须是 0 到 600000 之间的整数")
                                       : QStringLiteral(" 须是 1 到 3600 之间的整数"));
        }
        if (std::strcmp(row.key.key, setting::HostsLayout.key) == 0 && value.contains(QLatin1Char(' ')))
            return name + QStringLiteral(" 不能含有空格");
    }
    return {};
}

bool SettingsDialog::Save() {
    const QString problem = Validate();
    lblerror->setText(problem);
    if (!problem.isEmpty())
        return false;
    for (const Row& row : rows_) {
        const std::string value = S(row.edit->text().trimmed());
        if (value != ReadSetting(row.key))
            WriteSetting(row.key, value);
    }
    return true;
}

} // namespace kavo
