#pragma once

#include "service/XmlTagReader.h"

#include <cstdint>
#include <string>

namespace kavo {

// What the configuration document asks for. A crc of 0 means no check; an empty sha256 likewise.
struct TUpDateInfo {
    bool isplayer = false;
    std::string PlayerUrl;
    bool isforce = false;
    std::uint32_t Playercrc = 0;
    std::string Playersha256;
    bool isupdate = false;
    std::string UpdateUrl;
    std::uint32_t Updatecrc = 0;
    std::string Updatesha256;
};

// Dotted versions compared part by part as integers (a part that is no number counts as 0);
// texts with different numbers of parts are never newer.
bool IsNewerVersion(const std::string& a, const std::string& b);
// "ver" of "qiye": a decimal number; empty or unreadable text counts as 1.0.
double ClientVersionNumber(const std::string& text);
// "crc": a decimal integer of which the low 32 bits are kept; empty or unreadable gives 0.
std::uint32_t CrcAttribute(const std::string& text);

struct ServiceDocument {
    TUpDateInfo UpInfo;
    std::string info; // the status text of the last "qiye"
};

// Reads the root's "version" children. An outdated updater at `updaterPath` is ended and deleted here,
// and a missing one is asked for whatever the document's version says.
ServiceDocument InterpretServiceDocument(const XmlElement& root, const std::string& updaterPath);

enum class ConfigDecision { Configured, Update, ForcedUpdate };
ConfigDecision DecideUpdate(const TUpDateInfo& info);

inline constexpr const char* kForcedUpdateText =
    "您的客户端版本太低，服务端已不支持，需升级到最新版本才能正常使用！";
inline constexpr const char* kConfigFailedText = "获取服务配置信息发生了错误,请联系管理员QQ:";
inline constexpr const char* kServerChosenText = "服务器连接成功";

} // namespace kavo
