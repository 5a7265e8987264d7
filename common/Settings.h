#pragma once

#include <string>
#include <vector>

namespace kavo {

// One key of "kavo.cfg" (ini format, in the program folder) with its default.
struct SettingKey {
    const char* section;
    const char* key;
    const char* defaultValue;
};

namespace setting {
inline constexpr SettingKey ConfigP{"config", "p", ""};
inline constexpr SettingKey ConfigFirst{"config", "first", ""};
// Base addresses of the marketplace's desktop and mobile sites, e.g. "http://www.example.com".
inline constexpr SettingKey HostsDesktop{"hosts", "desktop", ""};
inline constexpr SettingKey HostsMobile{"hosts", "mobile", ""};
// Marks a contact page in the contact-name layout; empty = the desktop host without its last label.
inline constexpr SettingKey HostsLayout{"hosts", "layout", ""};
inline constexpr SettingKey NetworkProxy{"network", "proxy", ""};
inline constexpr SettingKey NetworkConnectTimeout{"network", "connect_timeout", "15"};
inline constexpr SettingKey NetworkTimeout{"network", "timeout", "60"};
inline constexpr SettingKey NetworkDelay{"network", "delay", "0"};
inline constexpr SettingKey ServiceServers{"service", "servers", ""};
inline constexpr SettingKey ServiceSupport{"service", "support", ""};
} // namespace setting

// Every key kavo knows, in file order.
const std::vector<SettingKey>& AllSettings();

// GetAppPath() + "kavo.cfg"; tests move it with SetAppPath (TempAppDir).
std::string SettingsFilePath();

// The stored value, or the key's default when the file or the key is missing.
std::string ReadSetting(const SettingKey& key);
int ReadSettingInt(const SettingKey& key);
// "[section] key" for messages that tell the user what to set.
std::string SettingName(const SettingKey& key);
void WriteSetting(const SettingKey& key, const std::string& value);

} // namespace kavo
