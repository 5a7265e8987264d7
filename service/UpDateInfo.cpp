#include "service/UpDateInfo.h"

#include "common/Global.h"
#include "service/ServiceServers.h"

#include <charconv>
#include <filesystem>
#include <sstream>
#include <vector>

namespace kavo {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> splitDots(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '.'))
        parts.push_back(part);
    if (!text.empty() && text.back() == '.')
        parts.emplace_back();
    if (text.empty())
        parts.emplace_back();
    return parts;
}

long long wholeNumber(const std::string& text, long long fallback) {
    const std::string t = trimmed(text);
    long long value = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && !t.empty() ? value : fallback;
}

} // namespace

bool IsNewerVersion(const std::string& a, const std::string& b) {
    const auto left = splitDots(a), right = splitDots(b);
    if (left.size() != right.size())
        return false;
    for (size_t i = 0; i < left.size(); ++i) {
        const long long x = wholeNumber(left[i], 0), y = wholeNumber(right[i], 0);
        if (x != y)
            return x > y;
    }
    return false;
}

double ClientVersionNumber(const std::string& text) {
    const std::string t = trimmed(text);
    double value = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && !t.empty() ? value : 1.0;
}

std::uint32_t CrcAttribute(const std::string& text) {
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(wholeNumber(text, 0)) & 0xFFFFFFFFull);
}

ServiceDocument InterpretServiceDocument(const XmlElement& root, const std::string& updaterPath) {
    ServiceDocument document;
    TUpDateInfo& up = document.UpInfo;
    const double ownVersion = ClientVersionNumber(ClientVersion);
    for (const auto& version : root.children) {
        if (version.name != "version")
            continue;
        for (const auto& item : version.children) {
            if (item.name == "qiye") {
                const std::string ver = item.Attr("ver");
                document.info = item.Attr("info");
                if (!ver.empty() && ClientVersionNumber(ver) > ownVersion) {
                    up.isplayer = true;
                    up.isforce = up.isforce || item.Attr("force") == "1";
                    up.PlayerUrl = item.text;
                    up.Playercrc = CrcAttribute(item.Attr("crc"));
                    up.Playersha256 = trimmed(item.Attr("sha256"));
                }
            } else if (item.name == "update") {
                const std::string ver = item.Attr("ver");
                std::error_code ec;
                bool wanted = !std::filesystem::exists(updaterPath, ec);
                if (!wanted && !ver.empty() && IsNewerVersion(ver, GetFileVersionStr(updaterPath))) {
                    // By full path: only our own updater, never an unrelated program of the same name.
                    KillProcessByName(updaterPath);
                    std::filesystem::remove(updaterPath, ec);
                    wanted = true;
                }
                if (wanted) {
                    up.isupdate = true;
                    up.UpdateUrl = item.text;
                    up.Updatecrc = CrcAttribute(item.Attr("crc"));
                    up.Updatesha256 = trimmed(item.Attr("sha256"));
                }
            }
        }
    }
    return document;
}

ConfigDecision DecideUpdate(const TUpDateInfo& info) {
    if (!info.isplayer)
        return ConfigDecision::Configured;
    return info.isforce ? ConfigDecision::ForcedUpdate : ConfigDecision::Update;
}

} // namespace kavo
