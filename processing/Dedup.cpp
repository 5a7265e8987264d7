#include "processing/Dedup.h"

#include <sqlite3.h>

namespace kavo {

DedupOutcome DedupTaskRecords(TDataManager& data, int taskId, DedupKey key) {
    if (taskId <= 0)
        return {false, 0, kNoTaskSelectedText};
    const std::string field = key == DedupKey::Tel ? "tel" : "comname";
    const std::string task = "pid=" + std::to_string(taskId) + " and " + field + "<>''";
    auto lock = data.Lock();
    data.ReSet();
    const bool ok = data.ExecSql("DELETE FROM tbl_list WHERE " + task +
                                 " and rowid NOT IN(SELECT MAX(rowid) rowid FROM tbl_list WHERE " + task +
                                 " GROUP BY " + field + ")");
    if (!ok)
        return {false, 0, "操作失败：" + data.LastError()};
    return {true, sqlite3_changes(data.Handle()), kDedupDoneText};
}

} // namespace kavo
