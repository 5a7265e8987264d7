#include "common/Global.h"
#include "common/UserInterface.h"
#include "ui/Tfpelmmain.h"

namespace kavo {

void Tfpelmmain::StartFormatting(int taskId, bool dropMobileZero) {
    WriteLog("formatting of task " + std::to_string(taskId) + (dropMobileZero ? " (drop 0)" : "") +
             " requested, but this build has no formatter");
    ShowMsg("名录格式化功能尚未提供。", "提示", kMsgInfo);
}

void Tfpelmmain::FormatFinished(int taskId) {
    PostMessage(Receiver(), MSG_PROCESS, 3, 0);
    FreshLvlist(taskId, 1);
    ShowMsg("名录格式化完成！", "提示", kMsgInfo);
}

} // namespace kavo
