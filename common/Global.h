#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace kavo {

// Program folder: the folder of the running executable, ending in "/". Tools and tests may point it
// elsewhere (kavo-cli --dir); everything kavo keeps beside itself is addressed through it.
std::string GetAppPath();
void SetAppPath(const std::string& folder);
std::string GetAppExeName();
// Full path of the running executable.
std::string GetAppExePath();

std::string AddPathDelim(const std::string& path);

// Logging is off until the front end switches it on; WriteLog then appends one line to "logs.txt".
extern std::atomic<bool> LogEnabled;
void WriteLog(std::string_view message);
// Where the log lives and the size at which it is moved aside to "logs.1.txt".
std::string LogFilePath();
inline constexpr std::uint64_t kLogRotateBytes = 20ull * 1024 * 1024;
void SetLogRotateBytesForTesting(std::uint64_t bytes);

std::string UrlEncode(std::string_view bytes, bool spaceAsPlus);

std::string& AppendWithSep(std::string& list, std::string_view item, std::string_view separator);
std::string AfterLastChar(const std::string& text, char ch, const std::string& fallback);
std::string BeforeLastChar(const std::string& text, char ch);
int RandomUpTo(int n);

// Running processes whose executable (file name or whole path, without regard to case) is `name`,
// in /proc order; this process included when it matches.
std::vector<pid_t> FindProcessesByName(const std::string& name);
bool KillProcessByName(const std::string& name);
bool KillProcessById(pid_t pid);
std::string GetFileVersionStr(const std::string& fileName);

// Local wall-clock time counted as seconds since 1970 as if it were UTC (how tasks record times).
std::int64_t LocalUnixSeconds();
// The same convention back to text, "yyyy-MM-dd HH:mm:ss".
std::string FormatLocalSeconds(std::int64_t seconds);

} // namespace kavo
