#pragma once

#include <string>
#include <vector>

namespace kavo::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs a program to its end with the given arguments and captures its output.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);
// kavo-cli from the build's program folder, with "--dir DIR" in front of the arguments.
ProcessResult RunCli(const std::string& dir, const std::vector<std::string>& args);

} // namespace kavo::test
