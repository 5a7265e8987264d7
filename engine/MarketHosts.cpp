#include "engine/MarketHosts.h"

#include "common/Settings.h"

#include <QString>

namespace kavo {
namespace {

std::string withoutTrailingSlash(std::string base) {
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

} // namespace

std::string DefaultLayoutPrefix(const std::string& desktopBase) {
    std::string host = desktopBase;
    if (auto scheme = host.find("://"); scheme != std::string::npos)
        host = host.substr(scheme + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    if (auto at = host.rfind('@'); at != std::string::npos)
        host = host.substr(at + 1);
    host = host.substr(0, host.find(':'));
    if (auto dot = host.rfind('.'); dot != std::string::npos)
        host = host.substr(0, dot);
    return QString::fromStdString(host).toLower().toStdString();
}

std::string LoadMarketHosts(MarketHosts& hosts) {
    hosts.desktop = withoutTrailingSlash(ReadSetting(setting::HostsDesktop));
    hosts.mobile = withoutTrailingSlash(ReadSetting(setting::HostsMobile));
    hosts.layout = QString::fromStdString(ReadSetting(setting::HostsLayout)).toLower().toStdString();
    if (hosts.layout.empty())
        hosts.layout = DefaultLayoutPrefix(hosts.desktop);
    for (const SettingKey* key : {&setting::HostsDesktop, &setting::HostsMobile}) {
        const std::string& value = key == &setting::HostsDesktop ? hosts.desktop : hosts.mobile;
        if (value.empty())
            return "任务无法开始：kavo.cfg 中缺少设置 " + SettingName(*key) + "（市场网站地址）。";
    }
    return {};
}

} // namespace kavo
