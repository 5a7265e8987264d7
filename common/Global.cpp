#include "common/Global.h"

#include "common/Encoding.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <signal.h>
#include <unistd.h>

namespace kavo {

namespace fs = std::filesystem;

std::atomic<bool> LogEnabled{false};

namespace {

std::mutex& appPathMutex() {
    static std::mutex m;
    return m;
}
std::string& appPathOverride() {
    static std::string path;
    return path;
}

std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
std::atomic<std::uint64_t> logRotateBytes{kLogRotateBytes};

std::string upper(std::string s) {
    for (auto& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

std::string GetAppExePath() {
    std::error_code ec;
    auto p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string GetAppPath() {
    {
        std::lock_guard lock(appPathMutex());
        if (!appPathOverride().empty())
            return appPathOverride();
    }
    return AddPathDelim(fs::path(GetAppExePath()).parent_path().string());
}

void SetAppPath(const std::string& folder) {
    std::string path =
        folder.empty() ? folder : AddPathDelim(fs::absolute(folder).lexically_normal().string());
    std::lock_guard lock(appPathMutex());
    appPathOverride() = path;
}

std::string GetAppExeName() {
    return fs::path(GetAppExePath()).filename().string();
}

std::string AddPathDelim(const std::string& path) {
    if (path.find_first_not_of(" \t\r\n") == std::string::npos)
        return path;
    if (path.back() == '/')
        return path;
    return path + '/';
}

std::string LogFilePath() {
    return GetAppPath() + "logs.txt";
}

void SetLogRotateBytesForTesting(std::uint64_t bytes) {
    logRotateBytes = bytes;
}

void WriteLog(std::string_view message) {
    if (!LogEnabled)
        return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    // Short date and long time; at exactly midnight the time is left off, as the log always did.
    if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0)
        std::strftime(stamp, sizeof stamp, "%Y/%-m/%-d", &local);
    else
        std::strftime(stamp, sizeof stamp, "%Y/%-m/%-d %-H:%M:%S", &local);
    std::string line = ToGb18030(std::string(stamp) + " : " + std::string(message)) + "\r\n";

    std::lock_guard lock(logMutex());
    std::string path = LogFilePath();
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    // A long harvest logs whole pages; one old file is kept so the disk cannot fill up.
    if (!ec && size + line.size() > logRotateBytes.load())
        fs::rename(path, GetAppPath() + "logs.1.txt", ec);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out)
        throw std::ios_base::failure("cannot open log file " + path);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (!out)
        throw std::ios_base::failure("cannot write log file " + path);
}

std::string UrlEncode(std::string_view bytes, bool spaceAsPlus) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '.' || c == '/' || c == ':' || c == '_') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += spaceAsPlus ? "+" : "%20";
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

std::string& AppendWithSep(std::string& list, std::string_view item, std::string_view separator) {
    if (list.empty())
        list = item;
    else {
        list += separator;
        list += item;
    }
    return list;
}

std::string AfterLastChar(const std::string& text, char ch, const std::string& fallback) {
    auto pos = text.rfind(ch);
    return pos == std::string::npos ? fallback : text.substr(pos + 1);
}

std::string BeforeLastChar(const std::string& text, char ch) {
    auto pos = text.rfind(ch);
    return pos == std::string::npos ? text : text.substr(0, pos);
}

int RandomUpTo(int n) {
    if (n <= 0)
        return n;
    std::mt19937 gen(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return std::uniform_int_distribution<int>(1, n)(gen);
}

bool KillProcessById(pid_t pid) {
    return pid > 0 && ::kill(pid, SIGKILL) == 0;
}

std::vector<pid_t> FindProcessesByName(const std::string& name) {
    const std::string wanted = upper(name);
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string pidText = entry.path().filename().string();
        if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code linkError;
        std::string exe = fs::read_symlink(entry.path() / "exe", linkError).string();
        if (linkError) {
            // Without access to the link, argv[0] is the best name the process offers.
            std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
            std::getline(cmdline, exe, '\0');
        }
        if (exe.empty())
            continue;
        if (upper(fs::path(exe).filename().string()) == wanted || upper(exe) == wanted)
            found.push_back(static_cast<pid_t>(std::stol(pidText)));
    }
    return found;
}

bool KillProcessByName(const std::string& name) {
    const pid_t self = ::getpid();
    bool selfMatches = false;
    bool lastResult = false;
    for (pid_t pid : FindProcessesByName(name)) {
        // Our own process goes last, or the others would never be reached.
        if (pid == self)
            selfMatches = true;
        else
            lastResult = KillProcessById(pid);
    }
    if (selfMatches)
        lastResult = KillProcessById(self);
    return lastResult;
}

std::int64_t LocalUnixSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<std::int64_t>(timegm(&local));
}

std::string FormatLocalSeconds(std::int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

} // namespace kavo
