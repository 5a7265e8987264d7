#include "TempAppDir.h"
#include "store/TaskList.h"
#include "store/TaskSubmission.h"

#include <gtest/gtest.h>

using namespace kavo;

namespace {

class TaskListTest : public ::testing::Test {
protected:
    TTaskInfo task(const std::string& name) {
        TTaskInfo info;
        info.taskname = name;
        info.adddate = 1480000000;
        info.taskcount = 10000;
        info.GetParam.biztype = "0";
        return info;
    }
    int countRows(const std::string& sql) {
        data.ReSet();
        data.SqlCmd = sql;
        return std::stoi(data.GetTable()->GetFields(0));
    }

    test::TempAppDir dir;
    TDataManager data{"user.db", 0};
    TTaskList tasks{data};
};

} // namespace

TEST_F(TaskListTest, AddTaskStoresOnceByNameWithItsExportMark) {
    auto first = task("服装");
    EXPECT_EQ(tasks.AddTask(first), 0);
    EXPECT_EQ(first.ID, 1);
    EXPECT_EQ(data.SqlCmd,
              "insert into tbl_his(tid,lastid) values (1,'0')"); // the last statement of AddTask
    auto again = task("服装");
    EXPECT_EQ(tasks.AddTask(again), -1);
    EXPECT_EQ(again.ID, 0);
    auto quoted = task("it's \"quoted\"");
    EXPECT_EQ(tasks.AddTask(quoted), 0);
    auto quotedAgain = task("it's \"quoted\"");
    EXPECT_EQ(tasks.AddTask(quotedAgain), -1);
    EXPECT_EQ(countRows("select count(*) from tbl_task"), 2);
    EXPECT_EQ(countRows("select count(*) from tbl_his where lastid='0'"), 2);
}

TEST_F(TaskListTest, AddTaskReportsAFailedInsert) {
    ASSERT_TRUE(data.ExecSql(
        "create trigger refuse before insert on tbl_task begin select raise(abort, 'full'); end"));
    auto info = task("x");
    EXPECT_EQ(tasks.AddTask(info), -2);
    EXPECT_EQ(info.ID, 0);
    EXPECT_EQ(countRows("select count(*) from tbl_his"), 0);
}

TEST_F(TaskListTest, LoadTaskNewestFirstWithFiltersIntact) {
    EXPECT_TRUE(tasks.LoadTask(0).empty());
    auto a = task("a");
    a.GetParam.province = "浙江";
    a.GetParam.city = "杭州";
    a.GetParam.biztype = "4";
    a.GetParam.annualRevenue = "6";
    a.GetParam.employeescount = "";
    tasks.AddTask(a);
    auto b = task("b");
    tasks.AddTask(b);
    auto loaded = tasks.LoadTask(0);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->taskname, "b");
    EXPECT_EQ(loaded[1]->taskname, "a");
    const auto& p = loaded[1]->GetParam;
    EXPECT_EQ(std::tie(p.province, p.city, p.biztype, p.annualRevenue, p.employeescount),
              std::make_tuple("浙江", "杭州", "4", "6", ""));
    EXPECT_EQ(loaded[1]->adddate, 1480000000);
    EXPECT_EQ(loaded[1]->taskcount, 10000);
    EXPECT_EQ(tasks.LoadTask(a.ID).size(), 1u);
    EXPECT_TRUE(tasks.LoadTask(99).empty());
}

TEST_F(TaskListTest, ChgTaskSumKeepsThePageWhenGivenNone) {
    auto info = task("t");
    tasks.AddTask(info);
    tasks.chgTaskSum(info.ID, 57, 3);
    EXPECT_EQ(data.SqlCmd.rfind("update tbl_task set getcount=57,lastpage=3,lasttime=", 0), 0u)
        << data.SqlCmd;
    tasks.chgTaskSum(info.ID, 58, 0);
    auto loaded = tasks.LoadTask(info.ID);
    EXPECT_EQ(loaded[0]->getcount, 58);
    EXPECT_EQ(loaded[0]->lastpage, 3);
    EXPECT_GT(loaded[0]->lasttime, 0);
}

TEST_F(TaskListTest, DelTaskTakesRecordsAndMarkAlong) {
    auto keep = task("keep"), drop = task("drop");
    tasks.AddTask(keep);
    tasks.AddTask(drop);
    for (auto* owner : {&keep, &drop}) {
        TTaskDeail record;
        record.PID = owner->ID;
        record.comname = "c";
        record.lxr = "l";
        record.rid = "r";
        tasks.AddTaskDeail(record);
    }
    tasks.DelTask(drop.ID);
    tasks.DelTask(12345);
    EXPECT_EQ(tasks.LoadTask(0).size(), 1u);
    EXPECT_EQ(countRows("select count(*) from tbl_list"), 1);
    EXPECT_EQ(countRows("select count(*) from tbl_his"), 1);
}

TEST(TaskSubmission, BuildsTheTaskTheSearchFormSubmits) {
    struct Case {
        std::string keyword;
        FilterChoice choice;
        std::string name, province, city, biztype, staff, turnover;
    };
    const Case cases[] = {
        {"  女装, 童装 ", {}, "女装, 童装", "", "", "0", "", ""},
        {"", {"浙江", "杭州", 1, 1, 0, 0, 0}, "浙江杭州-公司", "浙江", "杭州", "0", "", ""},
        {"", {"浙江", "不限", 1, 0, 0, 0, 0}, "浙江-公司", "浙江", "", "0", "", ""},
        {"", {"不限", "不限", 0, 0, 0, 0, 0}, "-公司", "", "", "0", "", ""},
        {"x", {"", "", 0, 0, 1, 3, 6}, "x", "", "", "1", "3", "6"},
        {"x", {"", "", 0, 0, 3, 0, 0}, "x", "", "", "4", "", ""},
        {"x", {"", "", 0, 0, 4, 0, 0}, "x", "", "", "8", "", ""},
    };
    for (const auto& c : cases) {
        TTaskInfo task = BuildSubmittedTask(c.keyword, c.choice);
        EXPECT_EQ(task.taskname, c.name);
        EXPECT_EQ(task.GetParam.province, c.province) << c.name;
        EXPECT_EQ(task.GetParam.city, c.city) << c.name;
        EXPECT_EQ(task.GetParam.biztype, c.biztype) << c.name;
        EXPECT_EQ(task.GetParam.employeescount, c.staff) << c.name;
        EXPECT_EQ(task.GetParam.annualRevenue, c.turnover) << c.name;
        EXPECT_EQ(task.taskcount, 10000);
        EXPECT_EQ(task.lastpage, 0);
        EXPECT_GT(task.adddate, 0);
    }
}
