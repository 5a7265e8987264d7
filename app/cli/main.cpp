// kavo-cli: the headless front end over the same core as the desktop program.
#include "Command.h"

#include "common/Error.h"
#include "common/Global.h"

#include <QCoreApplication>

#include <iostream>

using namespace kavo;
using namespace kavo::cli;

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: kavo-cli [--dir DIR] COMMAND [ARGS]\n\n"
           "Harvests company records from the marketplace into kavo's database and works on them.\n"
           "--dir DIR uses DIR as the program folder (database, kavo.cfg, logs.txt); without it the\n"
           "folder of the executable is used.\n\nCommands:\n";
    for (const auto& [name, command] : Commands())
        out << "  " << command.synopsis << "\n      " << command.description << "\n";
    out << "\n'kavo-cli COMMAND --help' shows one command.\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> words(argv + 1, argv + argc);
    Context context{std::cout, std::cerr};
    try {
        if (words.size() >= 2 && words[0] == "--dir") {
            SetAppPath(words[1]);
            words.erase(words.begin(), words.begin() + 2);
        } else if (!words.empty() && words[0].rfind("--dir=", 0) == 0) {
            SetAppPath(words[0].substr(6));
            words.erase(words.begin());
        }
        if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
            printHelp(std::cout);
            return words.empty() ? 2 : 0;
        }
        auto found = Commands().find(words[0]);
        if (found == Commands().end())
            throw UsageError{"unknown command \"" + words[0] + "\" (see kavo-cli --help)"};
        const Command& command = found->second;
        std::vector<std::string> rest(words.begin() + 1, words.end());
        for (const auto& word : rest) {
            if (word == "--help" || word == "-h") {
                std::cout << "Usage: kavo-cli [--dir DIR] " << command.synopsis << "\n"
                          << command.description << "\n";
                return 0;
            }
        }
        return command.run(Args(rest, command.flags), context);
    } catch (const UsageError& error) {
        std::cerr << "kavo-cli: " << error.message << "\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "kavo-cli: " << error.what() << "\n";
        return 1;
    }
}
