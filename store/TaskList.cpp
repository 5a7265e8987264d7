#include "store/TaskList.h"

#include "common/Global.h"

#include <sqlite3.h>

namespace kavo {

namespace {

// The row the database just inserted on this connection; unlike Max(ID) it cannot pick up a row
// that another program inserted at the same moment.
int lastInsertedId(TDataManager& data) {
    return static_cast<int>(sqlite3_last_insert_rowid(data.Handle()));
}

} // namespace

TTaskList::TTaskList(TDataManager& data) : objdata(data) {}

signed char TTaskList::AddTask(TTaskInfo& Info) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SqlCmd = "select ID from tbl_task where taskname=?";
    objdata.SqlArgs = {Info.taskname};
    if (objdata.GetTable()->Count() > 0)
        return -1;

    int newId = 0;
    // The task and its export mark come into being together, so "only new" exports work from the start.
    const bool stored = objdata.Transaction([&] {
        objdata.ReSet();
        objdata.AddField("taskname", Info.taskname);
        objdata.AddField("adddate", static_cast<double>(Info.adddate));
        objdata.AddField("lasttime", Info.lasttime);
        objdata.AddField("lastpage", Info.lastpage);
        objdata.AddField("taskcount", Info.taskcount);
        objdata.AddField("getcount", Info.getcount);
        objdata.AddField("tasktype", Info.tasktype);
        objdata.AddField("priid", Info.GetParam.province);
        objdata.AddField("cityid", Info.GetParam.city);
        objdata.AddField("jytype", Info.GetParam.biztype);
        objdata.AddField("yeartrun", Info.GetParam.annualRevenue);
        objdata.AddField("ygcount", Info.GetParam.employeescount);
        objdata.InsertTable("tbl_task");
        if (!objdata.LastSucceeded())
            return false;
        newId = lastInsertedId(objdata);
        objdata.ReSet();
        objdata.AddField("tid", newId);
        objdata.AddField("lastid", std::string("0"));
        objdata.InsertTable("tbl_his");
        return objdata.LastSucceeded();
    });
    if (!stored || newId == 0)
        return -2;
    Info.ID = newId;
    return 0;
}

void TTaskList::DelTask(int taskid) {
    auto lock = objdata.Lock();
    const std::string id = std::to_string(taskid);
    objdata.Transaction([&] {
        objdata.ReSet();
        objdata.SetCondition("id=" + id);
        objdata.DeleteTable("tbl_task");
        objdata.ReSet();
        objdata.SetCondition("pid=" + id);
        objdata.DeleteTable("tbl_list");
        objdata.ReSet();
        objdata.SetCondition("tid=" + id);
        objdata.DeleteTable("tbl_his");
        return true;
    });
}

std::vector<std::unique_ptr<TTaskInfo>> TTaskList::LoadTask(int taskid) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SqlCmd = "select * from tbl_task " +
                     (taskid != 0 ? "where id = " + std::to_string(taskid) : std::string()) +
                     " order by id desc";
    auto table = objdata.GetTable();
    std::vector<std::unique_ptr<TTaskInfo>> tasks;
    if (table->Count() == 0)
        return tasks;
    const int cId = table->GetFieldIndex("ID"), cLasttime = table->GetFieldIndex("lasttime"),
              cLastpage = table->GetFieldIndex("lastpage"), cTaskcount = table->GetFieldIndex("taskcount"),
              cGetcount = table->GetFieldIndex("getcount"), cTasktype = table->GetFieldIndex("tasktype"),
              cAdddate = table->GetFieldIndex("adddate"), cName = table->GetFieldIndex("taskname"),
              cProvince = table->GetFieldIndex("priid"), cCity = table->GetFieldIndex("cityid"),
              cMode = table->GetFieldIndex("jytype"), cTurnover = table->GetFieldIndex("yeartrun"),
              cStaff = table->GetFieldIndex("ygcount");
    for (; !table->Eof(); table->Next()) {
        auto task = std::make_unique<TTaskInfo>();
        task->ID = StrToIntDef(table->GetFields(cId));
        task->lasttime = StrToIntDef(table->GetFields(cLasttime));
        task->lastpage = StrToIntDef(table->GetFields(cLastpage));
        task->taskcount = StrToIntDef(table->GetFields(cTaskcount));
        task->getcount = StrToIntDef(table->GetFields(cGetcount));
        task->tasktype = StrToIntDef(table->GetFields(cTasktype));
        task->adddate = StrToInt64Def(table->GetFields(cAdddate));
        task->taskname = table->GetFields(cName);
        task->GetParam.province = table->GetFields(cProvince);
        task->GetParam.city = table->GetFields(cCity);
        task->GetParam.biztype = table->GetFields(cMode);
        task->GetParam.annualRevenue = table->GetFields(cTurnover);
        task->GetParam.employeescount = table->GetFields(cStaff);
        tasks.push_back(std::move(task));
    }
    return tasks;
}

void TTaskList::chgTaskSum(int itid, int isum, int ipage) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SetCondition("id=" + std::to_string(itid));
    objdata.AddField("getcount", isum);
    if (ipage > 0)
        objdata.AddField("lastpage", ipage);
    objdata.AddField("lasttime", static_cast<double>(LocalUnixSeconds()));
    objdata.UpdateTable("tbl_task");
}

} // namespace kavo
