#include "RunProcess.h"

#include "TempAppDir.h"

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace kavo::test {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args) {
    TempAppDir scratch;
    const std::string outPath = scratch.file("out"), errPath = scratch.file("err");
    ProcessResult result;
    pid_t child = fork();
    if (child == 0) {
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr))
            _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}

ProcessResult RunCli(const std::string& dir, const std::vector<std::string>& args) {
    std::vector<std::string> all{"--dir", dir};
    all.insert(all.end(), args.begin(), args.end());
#ifdef KAVO_BIN_DIR
    return RunProcess(std::string(KAVO_BIN_DIR) + "/kavo-cli", all);
#else
    return RunProcess(
        std::string(std::getenv("KAVO_BIN_DIR") ? std::getenv("KAVO_BIN_DIR") : ".") + "/kavo-cli", all);
#endif
}

} // namespace kavo::test
