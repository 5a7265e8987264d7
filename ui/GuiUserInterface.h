#pragma once

namespace kavo {

class TPlugin;
class Tfmwh;

// Installs the desktop's ShowMsg, ShowWait/HideWait, ShowNotice and OpenUrlInBrowser. ShowMsg may be
// called from any thread: the box opens on the main thread and the caller waits for the answer.
// Until a wait window is given, ShowWait and HideWait do nothing. Call on the main thread.
void InstallGuiUserInterface(TPlugin* plugin);
void SetGuiWaitWindow(Tfmwh* wait);

} // namespace kavo
