#include "Command.h"

#include <algorithm>

namespace kavo::cli {

Args::Args(std::vector<std::string> words, std::vector<std::string> flagNames) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            std::string name = word.substr(2);
            auto eq = name.find('=');
            if (eq != std::string::npos) {
                options_[name.substr(0, eq)] = name.substr(eq + 1);
            } else if (std::find(flagNames.begin(), flagNames.end(), name) != flagNames.end()) {
                options_[name] = "";
            } else {
                if (i + 1 >= words.size())
                    throw UsageError{"option --" + name + " needs a value"};
                options_[name] = words[++i];
            }
        } else {
            positional_.push_back(word);
        }
    }
}

const std::string& Args::require(size_t index, const std::string& what) const {
    if (index >= positional_.size())
        throw UsageError{"missing " + what};
    return positional_[index];
}

std::string Args::get(const std::string& name, const std::string& fallback) const {
    auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second;
}

int Args::integer(const std::string& text, const std::string& what) const {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (...) {
        used = 0;
    }
    if (text.empty() || used != text.size())
        throw UsageError{what + " must be a whole number, not \"" + text + "\""};
    return value;
}

int Args::optionInt(const std::string& name, int fallback) const {
    return has(name) ? integer(get(name), "--" + name) : fallback;
}

void Args::allowOnly(const std::vector<std::string>& names) const {
    for (const auto& [name, value] : options_)
        if (std::find(names.begin(), names.end(), name) == names.end())
            throw UsageError{"unknown option --" + name};
}

void Args::maxPositional(size_t count) const {
    if (positional_.size() > count)
        throw UsageError{"unexpected argument \"" + positional_[count] + "\""};
}

namespace {
std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> commands;
    return commands;
}
} // namespace

void RegisterCommand(Command command) {
    auto name = command.name;
    registry()[name] = std::move(command);
}

const std::map<std::string, Command>& Commands() {
    return registry();
}

} // namespace kavo::cli
