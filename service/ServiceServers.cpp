#include "service/ServiceServers.h"

#include "common/Settings.h"

#include <mutex>
#include <sstream>

namespace kavo {
namespace {

std::mutex& baseMutex() {
    static std::mutex mutex;
    return mutex;
}
std::string& baseUrl() {
    static std::string url;
    return url;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::string ServiceBaseUrl() {
    std::lock_guard lock(baseMutex());
    return baseUrl();
}

void SetServiceBaseUrl(const std::string& url) {
    std::lock_guard lock(baseMutex());
    baseUrl() = url;
}

std::vector<std::string> ServerCandidates() {
    std::vector<std::string> candidates;
    std::istringstream list(ReadSetting(setting::ServiceServers));
    std::string item;
    while (candidates.size() < 4 && std::getline(list, item, ',')) {
        item = trimmed(item);
        if (item.empty())
            continue;
        if (item.back() != '/')
            item += '/';
        candidates.push_back(item);
    }
    return candidates;
}

bool ServiceConfigured() {
    return !ServerCandidates().empty();
}

std::string SupportNumber() {
    return trimmed(ReadSetting(setting::ServiceSupport));
}

} // namespace kavo
