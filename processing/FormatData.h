#pragma once

#include "common/Messages.h"
#include "store/DataManager.h"

#include <QPointer>
#include <QThread>

#include <functional>
#include <string>

namespace kavo {

// The text without every character that is not one of the ASCII digits 0 to 9.
std::string DigitsOnly(const std::string& text);

// Rewrites a record's telephone, mobile and fax numbers: with bZero one leading "0" leaves the raw mobile
// number, then every number keeps only its digits, then loses a leading "86" when longer than 3 digits.
// True when anything changed.
bool FormatRecordNumbers(std::string& tel, std::string& tel2, std::string& tel3, bool bZero);

struct FormatRunResult {
    int records = 0; // records of the task that were read
    int changed = 0; // records rewritten and committed
    bool succeeded = false;
    std::string error;
};

// Updates written in one transaction by the formatting thread.
inline constexpr int kFormatBatchSize = 500;

// Formats every record of the task in place, `batchSize` updates to a transaction. notify(1, 0) comes
// once the records are read, notify(2, percent) after each record. An error or a stop request ends the
// loop; the transactions committed before it stay.
FormatRunResult FormatTaskNumbers(TDataManager& data, int tid, bool bZero, int batchSize,
                                  const std::function<void(int wParam, int lParam)>& notify,
                                  const std::function<bool()>& stopRequested = {});

// Formats a task's numbers on its own thread, reporting 3049 progress to the receiver. Starts at once;
// when the work has ended, its completion handler runs on the creating thread and the object then frees
// itself. The receiver may be destroyed meanwhile: later messages are dropped.
class TFormatData : public QThread {
public:
    using CompletionHandler = std::function<void(TFormatData& sender)>;

    // The handler is in place before the thread starts. The returned pointer turns null once freed.
    static QPointer<TFormatData> Create(MessageReceiver* Phandle, int TID, bool bZero, TDataManager& obj,
                                        CompletionHandler onTerminate);

    int TID() const { return _TID; }
    MessageReceiver* Receiver() const { return _Phandle; }
    // Complete once the completion handler runs.
    const FormatRunResult& Result() const { return result_; }

protected:
    void run() override;

private:
    TFormatData(MessageReceiver* Phandle, int TID, bool bZero, TDataManager& obj,
                CompletionHandler onTerminate);

    QPointer<MessageReceiver> _Phandle; // read on the creating thread only
    TDataManager& objData;
    const int _TID;
    const bool _bZero;
    // Carries progress from the thread to the creating thread, where the receiver can be checked safely.
    MessageReceiver relay_;
    CompletionHandler onTerminate_;
    FormatRunResult result_;
};

struct FormatOutcome {
    int taskId = 0;
    int changed = 0;
    bool succeeded = false;
    std::string message; // what the user is told
};

inline constexpr const char* kFormatDoneText = "名录格式化完成！";

// The completion handler's common part: posts 3049 with wParam 3 (close the processing window) and says
// what to tell the user. Runs on the creating thread, after the thread has ended.
FormatOutcome FormatFinished(TFormatData& sender);

} // namespace kavo
