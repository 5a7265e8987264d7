// The record operations of TTaskList: the known-company test, storing, paging and export reads.
#include "store/TaskList.h"

#include <sqlite3.h>

namespace kavo {

int TTaskList::AddTaskDeail(TTaskDeail& TaskDeail) {
    if (TaskDeail.comname.empty() || TaskDeail.lxr.empty())
        return 0;
    {
        auto lock = objdata.Lock();
        objdata.ReSet();
        objdata.SqlCmd = "select ID from tbl_list where rid=? and pid = " + std::to_string(TaskDeail.PID);
        objdata.SqlArgs = {TaskDeail.rid};
        if (objdata.GetTable()->Count() > 0)
            return -1;
        if (TaskDeail.tel.empty())
            TaskDeail.tel = TaskDeail.tel2;
        objdata.ReSet();
        objdata.AddField("PID", TaskDeail.PID);
        objdata.AddField("comname", TaskDeail.comname);
        objdata.AddField("rid", TaskDeail.rid);
        objdata.AddField("lxr", TaskDeail.lxr);
        objdata.AddField("job", TaskDeail.job);
        objdata.AddField("tel", TaskDeail.tel);
        objdata.AddField("tel2", TaskDeail.tel2);
        objdata.AddField("tel3", TaskDeail.tel3);
        objdata.AddField("addr", TaskDeail.addr);
        objdata.AddField("yp", TaskDeail.yp);
        objdata.AddField("email", TaskDeail.email);
        objdata.AddField("homepage", TaskDeail.homepage);
        objdata.AddField("qytype", TaskDeail.qytype);
        objdata.AddField("zycp", TaskDeail.zycp);
        objdata.AddField("zyhy", TaskDeail.zyhy);
        objdata.AddField("zczb", TaskDeail.zczy);
        objdata.AddField("ygnum", TaskDeail.ygnum);
        objdata.AddField("createtime", TaskDeail.createtime);
        objdata.AddField("frdb", TaskDeail.frdb);
        objdata.AddField("curpage", TaskDeail.curpage);
        objdata.InsertTable("tbl_list");
        // A record that did not reach the disk must not be counted as stored.
        if (!objdata.LastSucceeded())
            return 0;
        TaskDeail.ID = static_cast<int>(sqlite3_last_insert_rowid(objdata.Handle()));
    }
    if (FOnGetTaskItem) {
        try {
            FOnGetTaskItem(&TaskDeail);
        } catch (...) {
            // The record is stored; a failing listener does not make it less so.
        }
    }
    return 1;
}

void TTaskList::GetRid(int tid, TTaskDeail& retrid) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SqlCmd = "select rid from tbl_list where rid=? and pid = " + std::to_string(tid);
    objdata.SqlArgs = {retrid.rid};
    if (objdata.GetTable()->Count() > 0)
        retrid.rid.clear();
}

std::vector<std::unique_ptr<TTaskDeail>> TTaskList::GetDeail(int tid, int ipage, int& sumcount) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SetCondition("pid=" + std::to_string(tid));
    auto table = objdata.GetTable("*", "tbl_List", "ID", "ID", false, kPageRows, ipage, sumcount);
    std::vector<std::unique_ptr<TTaskDeail>> records;
    if (table->Count() == 0)
        return records;
    const char* names[] = {"comname", "lxr",      "job",    "tel",  "tel2", "tel3", "addr", "yp",
                           "email",   "homepage", "qytype", "zycp", "zyhy", "zczb", "ygnum"};
    int columns[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
        columns[i] = table->GetFieldIndex(names[i]);
    const int cId = table->GetFieldIndex("ID"), cPid = table->GetFieldIndex("PID");
    for (; !table->Eof(); table->Next()) {
        auto record = std::make_unique<TTaskDeail>();
        record->ID = StrToIntDef(table->GetFields(cId));
        record->PID = StrToIntDef(table->GetFields(cPid));
        std::string* targets[] = {&record->comname, &record->lxr,      &record->job,    &record->tel,
                                  &record->tel2,    &record->tel3,     &record->addr,   &record->yp,
                                  &record->email,   &record->homepage, &record->qytype, &record->zycp,
                                  &record->zyhy,    &record->zczy,     &record->ygnum};
        for (size_t i = 0; i < std::size(names); ++i)
            *targets[i] = table->GetFields(columns[i]);
        records.push_back(std::move(record));
    }
    return records;
}

std::unique_ptr<TSQLiteTable> TTaskList::AllList(int selhisid, std::uint8_t imode,
                                                 const std::string& columns) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    const std::string id = std::to_string(selhisid);
    if (imode == 1) {
        objdata.SqlCmd = "select " + columns + " from tbl_list where pid=" + id + " order by id desc";
    } else {
        objdata.SqlCmd = "select lastid from tbl_his where tid=" + id;
        auto marks = objdata.GetTable();
        const long long mark = marks->Count() > 0 ? StrToInt64Def(marks->GetFieldByName("lastid")) : 0;
        objdata.ReSet();
        objdata.SqlCmd = "select " + columns + " from tbl_list where pid=" + id + " and ID>" +
                         std::to_string(mark) + " order by id desc";
    }
    return objdata.GetTable();
}

void TTaskList::SetDataLast(int hisid, const std::string& lastid) {
    auto lock = objdata.Lock();
    objdata.ReSet();
    objdata.SetCondition("tid=" + std::to_string(hisid));
    objdata.AddField("lastid", lastid);
    objdata.UpdateTable("tbl_his");
}

} // namespace kavo
