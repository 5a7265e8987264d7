#include "TempAppDir.h"
#include "common/Encoding.h"
#include "store/DataManager.h"
#include "store/TaskList.h"
#include "store/paramset.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

using namespace kavo;

TEST(DeliveredDatabase, IsCreatedWithTablesAndReferenceRows) {
    test::TempAppDir dir;
    TDataManager data("user.db", 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("data/user.db")));
    tParam lists(data);
    auto provinces = lists.GetData(1);
    ASSERT_EQ(provinces.size(), 35u);
    EXPECT_EQ(provinces[0], "不限");
    EXPECT_EQ(provinces[1], "北京");
    EXPECT_EQ(provinces[5], "内蒙古");
    EXPECT_EQ(lists.GetData(2, "北京"), (std::vector<std::string>{"不限", "北京"}));
    auto zhejiang = lists.GetData(2, "浙江");
    ASSERT_EQ(zhejiang.size(), 12u);
    EXPECT_EQ(zhejiang[1], "杭州");
    auto neimenggu = lists.GetData(2, "内蒙古");
    EXPECT_EQ(neimenggu[1], "呼和浩特");
    // A city that shares its province's name must not pull in anything else.
    auto jilin = lists.GetData(2, "吉林");
    EXPECT_EQ(jilin.size(), 10u);
    data.ReSet();
    data.SqlCmd = "select count(*) from tbl_dict where type <> 2 and type not in (select id from tbl_dict "
                  "where type = 2)";
    EXPECT_EQ(data.GetTable()->GetFields(0), "0");
    for (const char* table : {"tbl_task", "tbl_list", "tbl_his"}) {
        data.ReSet();
        data.SqlCmd = std::string("select count(*) from ") + table;
        EXPECT_EQ(data.GetTable()->GetFields(0), "0") << table;
    }
}

TEST(DeliveredDatabase, ReadsAnEarlierInstallationsGbkFile) {
    test::TempAppDir dir;
    std::filesystem::create_directories(dir.file("data"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("data/user.db").c_str(), &db), SQLITE_OK);
    const std::string sql = ToGbk(
        "create table tbl_task (ID integer primary key autoincrement, taskname text, adddate integer, "
        "lasttime integer,"
        " lastpage integer, taskcount integer, getcount integer, tasktype integer, priid text, cityid text,"
        " jytype text, yeartrun text, ygcount text);"
        "create table tbl_list (ID integer primary key autoincrement, PID integer, comname text, rid text, "
        "lxr text,"
        " job text, tel text, tel2 text, tel3 text, addr text, yp text, email text, homepage text, qytype "
        "text,"
        " zycp text, zyhy text, zczb text, ygnum text, createtime text, frdb text, curpage integer);"
        "create table tbl_his (tid integer, lastid text);"
        "create table tbl_dict (id integer primary key, name text, type integer);"
        "insert into tbl_dict values (1, '浙江', 2), (3, '杭州', 1), (4, '宁波', 1);"
        "insert into tbl_task (taskname, adddate, lasttime, lastpage, taskcount, getcount, tasktype, priid, "
        "cityid,"
        " jytype, yeartrun, ygcount) values ('服装', 1480000000, 0, 3, 10000, 1, 0, '浙江', '杭州', '2', '', "
        "'1');"
        "insert into tbl_list (PID, comname, rid, lxr, tel) values (1, '杭州某某服饰有限公司', 'b2b-1', "
        "'王先生', '0571-1');");
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    TDataManager data("user.db", 0);
    TTaskList tasks(data);
    auto loaded = tasks.LoadTask(0);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0]->taskname, "服装");
    EXPECT_EQ(loaded[0]->GetParam.city, "杭州");
    int total = 0;
    auto records = tasks.GetDeail(1, 1, total);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->comname, "杭州某某服饰有限公司");
    EXPECT_EQ(records[0]->lxr, "王先生");
    EXPECT_EQ(tParam(data).GetData(2, "浙江"), (std::vector<std::string>{"不限", "杭州", "宁波"}));
    // New text goes in the same encoding, so the old rows and the new ones compare alike.
    TTaskInfo again;
    again.taskname = "服装";
    EXPECT_EQ(tasks.AddTask(again), -1);
    // The file gains the index the known-company test relies on.
    data.ReSet();
    data.SqlCmd = "select name from sqlite_master where type='index' and tbl_name='tbl_list'";
    EXPECT_EQ(data.GetTable()->Count(), 1);
}
