#pragma once

#include <string>
#include <vector>

namespace kavo {

// The client's own version as the service knows it (the caption shows " V" + it).
inline constexpr const char* ClientVersion = "1.0";
// The updater program in the program folder (the platform's name for "update.exe").
inline constexpr const char* kUpdaterName = "update";
inline constexpr const char* kConfigPath = "soft/wovt/config.txt";

// The chosen service server, "http://host[:port]/"; empty until the selection has run, or when the
// service is not configured. Safe from any thread.
std::string ServiceBaseUrl();
void SetServiceBaseUrl(const std::string& url);

// kavo.cfg [service] servers: up to four base addresses in order, each ending in "/"; the first is
// also the fallback. Empty when the service is not configured.
std::vector<std::string> ServerCandidates();
bool ServiceConfigured();
// kavo.cfg [service] support: the number named in the failure message.
std::string SupportNumber();

inline constexpr const char* kServiceNotConfigured = "服务器未配置（kavo.cfg [service] servers）";

} // namespace kavo
