// The updater: started by the client at hand-over, without arguments, in the program folder.
#include "common/Global.h"
#include "service/Updater.h"

int main() {
    kavo::LogEnabled = true;
    return kavo::RunUpdater(kavo::GetAppPath());
}
