#pragma once

#include "store/DataManager.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The twelve search parameters of a task, in the order the marketplace query sends them.
struct TGetParam {
    std::string keywords;
    std::string page_Size;
    std::string n;
    std::string showStyle;
    std::string beginPage;
    std::string offset;
    std::string province;
    std::string city;
    std::string categoryId;
    std::string biztype;
    std::string annualRevenue;
    std::string employeescount;
};

// One search task as stored in tbl_task.
struct TTaskInfo {
    int ID = 0;
    std::string taskname;
    std::int64_t adddate = 0;
    int lasttime = 0;
    int lastpage = 0;
    int taskcount = 0;
    int getcount = 0;
    int tasktype = 0;
    TGetParam GetParam;
    std::string htmSoure;
};

// One harvested company record as stored in tbl_list (the field zczy lives in the column zczb).
struct TTaskDeail {
    int ID = 0;
    int PID = 0;
    std::string comname;
    std::string rid;
    std::string lxr;
    std::string job;
    std::string tel;
    std::string tel2;
    std::string tel3;
    std::string addr;
    std::string yp;
    std::string email;
    std::string homepage;
    std::string qytype;
    std::string zycp;
    std::string zyhy;
    std::string zczy;
    std::string ygnum;
    std::string createtime;
    std::string frdb;
    int curpage = 0;
};
using pTaskDeail = TTaskDeail*;

using TOnGetTaskItem = std::function<void(pTaskDeail TDeail)>;

// The task store's front: tasks (add, load, delete, progress) and their harvested records.
class TTaskList {
public:
    explicit TTaskList(TDataManager& data);

    // 0 stored, -1 a task of that name exists, -2 the insert failed (Info.ID stays 0).
    signed char AddTask(TTaskInfo& Info);
    void DelTask(int taskid);
    // Newest first; taskid 0 loads every task.
    std::vector<std::unique_ptr<TTaskInfo>> LoadTask(int taskid);
    void chgTaskSum(int itid, int isum, int ipage);

    // 1 stored, -1 already stored for the task, 0 not stored.
    int AddTaskDeail(TTaskDeail& TaskDeail);
    // Clears retrid.rid when the company is already stored under tid.
    void GetRid(int tid, TTaskDeail& retrid);
    std::vector<std::unique_ptr<TTaskDeail>> GetDeail(int tid, int ipage, int& sumcount);
    // imode 1: every record; otherwise only records newer than the export mark. Newest first.
    // `columns` narrows the result to the columns a caller reads ("ID,comname").
    std::unique_ptr<TSQLiteTable> AllList(int selhisid, std::uint8_t imode, const std::string& columns = "*");
    void SetDataLast(int hisid, const std::string& lastid);

    const TOnGetTaskItem& OnGetTaskItem() const { return FOnGetTaskItem; }
    void SetOnGetTaskItem(TOnGetTaskItem handler) { FOnGetTaskItem = std::move(handler); }

    TDataManager& Data() { return objdata; }

    static constexpr int kPageRows = 28;

private:
    TDataManager& objdata;
    TOnGetTaskItem FOnGetTaskItem;
};

} // namespace kavo
