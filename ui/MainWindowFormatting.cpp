#include "common/UserInterface.h"
#include "processing/FormatData.h"
#include "ui/Tfpelmmain.h"

namespace kavo {

void Tfpelmmain::StartFormatting(int taskId, bool dropMobileZero) {
    // The thread frees itself after its completion handler; a window gone by then drops the progress.
    QPointer<Tfpelmmain> window(this);
    TFormatData::Create(Receiver(), taskId, dropMobileZero, Data(), [window](TFormatData& sender) {
        const FormatOutcome outcome = kavo::FormatFinished(sender);
        if (window)
            window->FormatFinished(outcome.taskId);
        ShowMsg(outcome.message.empty() ? std::string(kFormatDoneText) : outcome.message, "提示", kMsgInfo);
    });
}

void Tfpelmmain::FormatFinished(int taskId) {
    FreshLvlist(taskId, 1);
}

} // namespace kavo
