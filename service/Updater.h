#pragma once

#include <chrono>
#include <string>

namespace kavo {

// Whether a process other than this one runs an executable whose file name (or whole path) equals
// `name`, compared without case, as KillProcessByName matches them.
bool ProcessRunning(const std::string& name);

struct UpdaterOptions {
    std::chrono::milliseconds waitLimit{30000};
    std::chrono::milliseconds poll{100};
};

// The updater program's work in `folder` (ending in "/"): read the client's name from "uplog.txt", wait
// until no process of that name runs, unpack "update.zip" over the folder (entries are kept inside it),
// delete the archive, start the client again. Every step is logged. Returns the process exit code:
// 0 when the client was started again.
int RunUpdater(const std::string& folder, const UpdaterOptions& options = {});

} // namespace kavo
