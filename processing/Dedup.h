#pragma once

#include "store/DataManager.h"

#include <string>

namespace kavo {

// The key of de-duplication, in the order of the dialog's list.
enum class DedupKey { Tel = 0, Comname = 1 };

struct DedupOutcome {
    bool succeeded = false;
    int removed = 0;
    std::string message; // what the user is told
};

inline constexpr const char* kNoTaskSelectedText = "请先选择一个任务！";
inline constexpr const char* kDedupDoneText = "操作成功！";

// Removes the task's records that repeat another record of the same task in the key column, keeping the
// newest of each value. Other tasks never count, and records with an empty key are all kept.
DedupOutcome DedupTaskRecords(TDataManager& data, int taskId, DedupKey key);

} // namespace kavo
