#include "processing/FormatData.h"

#include "common/Error.h"
#include "common/Global.h"

#include <vector>

namespace kavo {
namespace {

struct NumberUpdate {
    long long id;
    std::string tel, tel2, tel3;
};

bool writeBatch(TDataManager& data, const std::vector<NumberUpdate>& updates, std::string& error) {
    const bool committed = data.Transaction([&] {
        for (const auto& update : updates) {
            data.ReSet();
            data.SetCondition("ID=" + std::to_string(update.id));
            data.AddField("tel", update.tel);
            data.AddField("tel2", update.tel2);
            data.AddField("tel3", update.tel3);
            data.UpdateTable("tbl_list");
            if (!data.LastSucceeded())
                return false;
        }
        return true;
    });
    if (!committed)
        error = data.LastError().empty() ? "the database refused the transaction" : data.LastError();
    return committed;
}

} // namespace

std::string DigitsOnly(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

bool FormatRecordNumbers(std::string& tel, std::string& tel2, std::string& tel3, bool bZero) {
    bool changed = false;
    if (bZero && !tel2.empty() && tel2[0] == '0') {
        tel2.erase(0, 1);
        changed = true;
    }
    for (std::string* value : {&tel, &tel2, &tel3}) {
        if (value->empty())
            continue;
        std::string digits = DigitsOnly(*value);
        if (digits != *value) {
            *value = std::move(digits);
            changed = true;
        }
    }
    // The values are digit strings by now, so bytes are characters.
    for (std::string* value : {&tel, &tel2, &tel3}) {
        if (value->size() > 3 && value->compare(0, 2, "86") == 0) {
            value->erase(0, 2);
            changed = true;
        }
    }
    return changed;
}

FormatRunResult FormatTaskNumbers(TDataManager& data, int tid, bool bZero, int batchSize,
                                  const std::function<void(int wParam, int lParam)>& notify,
                                  const std::function<bool()>& stopRequested) {
    FormatRunResult result;
    std::unique_ptr<TSQLiteTable> table;
    try {
        auto lock = data.Lock();
        data.ReSet();
        data.SqlCmd = "select ID,tel,tel2,tel3 from tbl_list where pid=" + std::to_string(tid);
        table = data.GetTable();
    } catch (const KavoError& error) {
        result.error = error.what();
        return result;
    }
    const int n = table->Count();
    result.records = n;
    if (notify)
        notify(1, 0);

    std::vector<NumberUpdate> pending;
    pending.reserve(std::max(batchSize, 1));
    bool ok = true;
    auto flush = [&] {
        if (pending.empty())
            return true;
        if (!writeBatch(data, pending, result.error))
            return false;
        result.changed += static_cast<int>(pending.size());
        pending.clear();
        return true;
    };
    for (int i = 0; i < n && ok; ++i) {
        if (stopRequested && stopRequested()) {
            result.error = "已中止";
            ok = false;
            break;
        }
        const auto& row = table->Rows()[i];
        NumberUpdate update{StrToInt64Def(row[0]), row[1], row[2], row[3]};
        if (FormatRecordNumbers(update.tel, update.tel2, update.tel3, bZero))
            pending.push_back(std::move(update));
        if (static_cast<int>(pending.size()) >= batchSize)
            ok = flush();
        if (ok && notify)
            notify(2, static_cast<int>(static_cast<long long>(i) * 100 / n));
    }
    result.succeeded = ok && flush();
    return result;
}

TFormatData::TFormatData(MessageReceiver* Phandle, int TID, bool bZero, TDataManager& obj,
                         CompletionHandler onTerminate)
    : _Phandle(Phandle), objData(obj), _TID(TID), _bZero(bZero),
      relay_([this](int msg, MsgParam wParam, MsgParam lParam) -> MsgParam {
          if (_Phandle)
              PostMessage(_Phandle, msg, wParam, lParam);
          return 0;
      }),
      onTerminate_(std::move(onTerminate)) {}

QPointer<TFormatData> TFormatData::Create(MessageReceiver* Phandle, int TID, bool bZero, TDataManager& obj,
                                          CompletionHandler onTerminate) {
    // Qt ownership: the object deletes itself (deleteLater) after its completion handler.
    auto* thread = new TFormatData(Phandle, TID, bZero, obj, std::move(onTerminate));
    connect(thread, &QThread::finished, thread, [thread] {
        thread->wait();
        try {
            if (thread->onTerminate_)
                thread->onTerminate_(*thread);
        } catch (const std::exception& error) {
            WriteLog(std::string("formatting completion failed: ") + error.what());
        }
        thread->deleteLater();
    });
    thread->start();
    return thread;
}

void TFormatData::run() {
    try {
        result_ = FormatTaskNumbers(
            objData, _TID, _bZero, kFormatBatchSize,
            [this](int wParam, int lParam) { PostMessage(&relay_, MSG_PROCESS, wParam, lParam); },
            [this] { return isInterruptionRequested(); });
    } catch (const std::exception& error) {
        result_.succeeded = false;
        result_.error = error.what();
    }
}

FormatOutcome FormatFinished(TFormatData& sender) {
    if (MessageReceiver* receiver = sender.Receiver())
        PostMessage(receiver, MSG_PROCESS, 3, 0);
    const auto& result = sender.Result();
    FormatOutcome outcome{sender.TID(), result.changed, result.succeeded, kFormatDoneText};
    if (!result.succeeded)
        outcome.message =
            "名录格式化未能完成，已保存 " + std::to_string(result.changed) + " 条记录的修改：" + result.error;
    return outcome;
}

} // namespace kavo
