#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace kavo::cli {

// A usage error: the command line itself is wrong (exit 2).
struct UsageError {
    std::string message;
};

// The arguments after the command name: positionals in order, "--name value" options and "--flag"s.
class Args {
public:
    Args(std::vector<std::string> words, std::vector<std::string> flagNames);

    const std::vector<std::string>& positional() const { return positional_; }
    // The positional at `index`; a usage error naming `what` when it is missing.
    const std::string& require(size_t index, const std::string& what) const;
    bool has(const std::string& name) const { return options_.count(name) > 0; }
    std::string get(const std::string& name, const std::string& fallback = {}) const;
    // An option or positional that must be a whole number (a usage error otherwise).
    int integer(const std::string& text, const std::string& what) const;
    int optionInt(const std::string& name, int fallback) const;
    // Raises a usage error for an option the command does not know.
    void allowOnly(const std::vector<std::string>& names) const;
    // Raises a usage error when more positionals were given than the command takes.
    void maxPositional(size_t count) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
};

struct Context {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string name;
    std::string synopsis;           // one line: "add KEYWORD [--province NAME] ..."
    std::string description;        // one sentence
    std::vector<std::string> flags; // options that take no value, e.g. "all"
    std::function<int(const Args&, Context&)> run;
};

// Each command file registers its commands at start-up with a static CommandRegistration.
void RegisterCommand(Command command);
const std::map<std::string, Command>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { RegisterCommand(std::move(command)); }
};

} // namespace kavo::cli
