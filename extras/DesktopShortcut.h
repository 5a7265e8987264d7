#pragma once

#include <string>

namespace kavo {

// The user's desktop folder (XDG), ending in "/"; empty when none is known.
std::string DesktopFolder();

// Writes "<folder><name>.desktop", a freedesktop launcher that starts the running executable in its
// own folder; an existing one is replaced. `folder` empty: the user's desktop folder, and nothing
// happens when that is unknown. Returns the file written, or "" when none was.
std::string CreateDesktopShortcut(const std::string& name, const std::string& folder = std::string());

// Records the running executable's full path under QSettings("vantor", "kavo"), key "install",
// when it differs from what is stored. Failures are ignored.
void RegisterInstallPath();
std::string RegisteredInstallPath();

} // namespace kavo
