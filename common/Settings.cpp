#include "common/Settings.h"

#include "common/Global.h"

#include <QSettings>
#include <QString>

namespace kavo {
namespace {

QString settingPath(const SettingKey& key) {
    return QString::fromUtf8(key.section) + QLatin1Char('/') + QString::fromUtf8(key.key);
}

} // namespace

const std::vector<SettingKey>& AllSettings() {
    static const std::vector<SettingKey> keys{setting::ConfigP,
                                              setting::ConfigFirst,
                                              setting::HostsDesktop,
                                              setting::HostsMobile,
                                              setting::HostsLayout,
                                              setting::NetworkProxy,
                                              setting::NetworkConnectTimeout,
                                              setting::NetworkTimeout,
                                              setting::NetworkDelay,
                                              setting::ServiceServers,
                                              setting::ServiceSupport};
    return keys;
}

std::string SettingsFilePath() {
    return GetAppPath() + "kavo.cfg";
}

std::string ReadSetting(const SettingKey& key) {
    QSettings file(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    // An unquoted value with commas comes back as a list; it was meant as one text.
    QVariant value = file.value(settingPath(key), QString::fromUtf8(key.defaultValue));
    return value.toStringList().join(QLatin1Char(',')).trimmed().toStdString();
}

int ReadSettingInt(const SettingKey& key) {
    bool ok = false;
    int value = QString::fromStdString(ReadSetting(key)).toInt(&ok);
    return ok ? value : QString::fromUtf8(key.defaultValue).toInt();
}

std::string SettingName(const SettingKey& key) {
    return std::string("[") + key.section + "] " + key.key;
}

void WriteSetting(const SettingKey& key, const std::string& value) {
    QSettings file(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    file.setValue(settingPath(key), QString::fromStdString(value));
    file.sync();
}

} // namespace kavo
