#include "service/Updater.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "service/PackageFiles.h"

#include <QProcess>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kavo {
namespace {

std::string clientName(const std::string& folder) {
    std::ifstream in(folder + "uplog.txt", std::ios::binary);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return FromGb18030(line);
}

// Only a bare file name in the program folder may be started again.
bool plainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

void note(const std::string& text) {
    try {
        WriteLog("update: " + text);
    } catch (const std::exception&) {
        // A log that cannot be written must not stop the update.
    }
}

} // namespace

bool ProcessRunning(const std::string& name) {
    const pid_t self = ::getpid();
    const auto found = FindProcessesByName(name);
    return std::any_of(found.begin(), found.end(), [self](pid_t pid) { return pid != self; });
}

int RunUpdater(const std::string& folder, const UpdaterOptions& options) {
    const std::string name = clientName(folder);
    if (!plainFileName(name)) {
        note("no client named in uplog.txt, nothing done");
        return 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + options.waitLimit;
    while (ProcessRunning(name)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            note(name + " is still running, the update is left for the next time");
            return 2;
        }
        std::this_thread::sleep_for(options.poll);
    }
    const std::string archive = folder + "update.zip";
    std::error_code ec;
    if (fs::exists(archive, ec)) {
        std::string error;
        if (UnpackArchive(archive, folder, &error)) {
            fs::remove(archive, ec);
            note("update.zip unpacked into " + folder + " and deleted");
        } else {
            note("update.zip not applied: " + error);
        }
    } else {
        note("no update.zip in " + folder);
    }
    const QString program = QString::fromStdString(folder + name);
    if (!QProcess::startDetached(program, {}, QString::fromStdString(folder))) {
        note("cannot start " + folder + name);
        return 3;
    }
    note(name + " started again");
    return 0;
}

} // namespace kavo
