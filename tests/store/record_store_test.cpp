#include "TempAppDir.h"
#include "store/TaskList.h"
#include "store/paramset.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kavo;

namespace {

class RecordStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto* info : {&taskA, &taskB}) {
            info->taskname = info == &taskA ? "A" : "B";
            ASSERT_EQ(tasks.AddTask(*info), 0);
        }
    }
    TTaskDeail record(int pid, const std::string& rid) {
        TTaskDeail r;
        r.PID = pid;
        r.rid = rid;
        r.comname = "公司" + rid;
        r.lxr = "联系人";
        r.tel = "0571-" + rid;
        return r;
    }

    test::TempAppDir dir;
    TDataManager data{"user.db", 0};
    TTaskList tasks{data};
    TTaskInfo taskA, taskB;
};

} // namespace

TEST_F(RecordStoreTest, StoresEachCompanyOncePerTask) {
    std::vector<int> seen;
    tasks.SetOnGetTaskItem([&](pTaskDeail r) { seen.push_back(r->ID); });
    auto first = record(taskA.ID, "b2b-1");
    EXPECT_EQ(tasks.AddTaskDeail(first), 1);
    EXPECT_EQ(first.ID, 1);
    auto again = record(taskA.ID, "b2b-1");
    EXPECT_EQ(tasks.AddTaskDeail(again), -1);
    auto otherTask = record(taskB.ID, "b2b-1");
    EXPECT_EQ(tasks.AddTaskDeail(otherTask), 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));

    auto probe = record(taskA.ID, "b2b-1");
    tasks.GetRid(taskA.ID, probe);
    EXPECT_EQ(probe.rid, "");
    auto unknown = record(taskA.ID, "b2b-2");
    tasks.GetRid(taskA.ID, unknown);
    EXPECT_EQ(unknown.rid, "b2b-2");
    auto elsewhere = record(taskB.ID, "b2b-9");
    EXPECT_EQ(tasks.AddTaskDeail(elsewhere), 1);
    auto fromA = record(taskA.ID, "b2b-9");
    tasks.GetRid(taskA.ID, fromA);
    EXPECT_EQ(fromA.rid, "b2b-9");
}

TEST_F(RecordStoreTest, RefusesRecordsWithoutNameOrContact) {
    auto noContact = record(taskA.ID, "1");
    noContact.lxr.clear();
    auto noName = record(taskA.ID, "2");
    noName.comname.clear();
    EXPECT_EQ(tasks.AddTaskDeail(noContact), 0);
    EXPECT_EQ(tasks.AddTaskDeail(noName), 0);
    int total = -1;
    EXPECT_TRUE(tasks.GetDeail(taskA.ID, 1, total).empty());
    EXPECT_EQ(total, 0);
}

TEST_F(RecordStoreTest, CopiesTheMobileIntoAnEmptyTelephone) {
    auto r = record(taskA.ID, "1");
    r.tel.clear();
    r.tel2 = "13912345678";
    r.zczy = "100万";
    ASSERT_EQ(tasks.AddTaskDeail(r), 1);
    EXPECT_EQ(r.tel, "13912345678");
    int total = 0;
    auto page = tasks.GetDeail(taskA.ID, 1, total);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0]->tel, "13912345678");
    EXPECT_EQ(page[0]->tel2, "13912345678");
    EXPECT_EQ(page[0]->zczy, "100万");
}

TEST_F(RecordStoreTest, KeepsHostileIdentifiersIntact) {
    const std::string rids[] = {"a'b", "a\"b", "\" or \"\"=\"", "' or '1'='1"};
    for (const auto& rid : rids) {
        auto r = record(taskA.ID, rid);
        ASSERT_EQ(tasks.AddTaskDeail(r), 1) << rid;
    }
    for (const auto& rid : rids) {
        auto again = record(taskA.ID, rid);
        EXPECT_EQ(tasks.AddTaskDeail(again), -1) << rid;
        auto probe = record(taskA.ID, rid);
        tasks.GetRid(taskA.ID, probe);
        EXPECT_EQ(probe.rid, "") << rid;
    }
    auto fresh = record(taskA.ID, "' or 1=1 --");
    tasks.GetRid(taskA.ID, fresh);
    EXPECT_EQ(fresh.rid, "' or 1=1 --");
}

TEST_F(RecordStoreTest, AFailedInsertIsNotReportedAsStored) {
    ASSERT_TRUE(data.ExecSql(
        "create trigger refuse before insert on tbl_list begin select raise(abort, 'disk'); end"));
    bool raised = false;
    tasks.SetOnGetTaskItem([&](pTaskDeail) { raised = true; });
    auto r = record(taskA.ID, "1");
    EXPECT_EQ(tasks.AddTaskDeail(r), 0);
    EXPECT_FALSE(raised);
    EXPECT_EQ(r.ID, 0);
}

TEST_F(RecordStoreTest, PagesTwentyEightRecordsOldestFirst) {
    for (int i = 1; i <= 60; ++i) {
        auto r = record(taskA.ID, std::to_string(i));
        tasks.AddTaskDeail(r);
    }
    int total = 0;
    auto page3 = tasks.GetDeail(taskA.ID, 3, total);
    EXPECT_EQ(total, 60);
    ASSERT_EQ(page3.size(), 4u);
    EXPECT_EQ(page3.front()->comname, "公司57");
    EXPECT_EQ(page3.back()->comname, "公司60");
    EXPECT_EQ(page3.front()->rid, ""); // the list never shows it
    EXPECT_TRUE(tasks.GetDeail(taskA.ID, 4, total).empty());
    EXPECT_EQ(tasks.GetDeail(taskA.ID, 1, total).size(), 28u);
}

TEST_F(RecordStoreTest, OnlyNewExportsStartAfterTheMark) {
    for (int i = 1; i <= 5; ++i) {
        auto r = record(taskA.ID, std::to_string(i));
        tasks.AddTaskDeail(r);
    }
    auto all = tasks.AllList(taskA.ID, 1);
    EXPECT_EQ(data.SqlCmd,
              "select * from tbl_list where pid=" + std::to_string(taskA.ID) + " order by id desc");
    ASSERT_EQ(all->Count(), 5);
    EXPECT_EQ(all->GetFieldByName("id"), "5");
    EXPECT_EQ(tasks.AllList(taskA.ID, 0)->Count(), 5); // a new task's mark is 0

    tasks.SetDataLast(taskA.ID, "3");
    EXPECT_EQ(data.SqlCmd, "update tbl_his set lastid='3' where tid=" + std::to_string(taskA.ID));
    auto fresh = tasks.AllList(taskA.ID, 0);
    ASSERT_EQ(fresh->Count(), 2);
    EXPECT_EQ(fresh->GetFieldByName("ID"), "5");
    fresh->Next();
    EXPECT_EQ(fresh->GetFieldByName("ID"), "4");
    EXPECT_EQ(tasks.AllList(taskA.ID, 1)->Count(), 5);
    tasks.SetDataLast(taskA.ID, "not a number");
    EXPECT_EQ(tasks.AllList(taskA.ID, 0)->Count(), 5);
}

TEST_F(RecordStoreTest, SharedBetweenTwoThreadsWithoutMixingStatements) {
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            auto r = record(taskA.ID, "w" + std::to_string(i));
            EXPECT_EQ(tasks.AddTaskDeail(r), 1);
        }
    });
    for (int i = 0; i < 200; ++i) {
        tasks.chgTaskSum(taskB.ID, i, 0);
        int total = 0;
        tasks.GetDeail(taskA.ID, 1, total);
    }
    writer.join();
    int total = 0;
    tasks.GetDeail(taskA.ID, 1, total);
    EXPECT_EQ(total, 200);
    EXPECT_EQ(tasks.LoadTask(taskB.ID)[0]->getcount, 199);
}

TEST(ReferenceLists, GivesTheFixedAndStoredLists) {
    test::TempAppDir dir;
    TDataManager data("user.db", 0);
    tParam lists(data);
    EXPECT_EQ(lists.GetData(3),
              (std::vector<std::string>{"不限", "生产加工", "经销批发", "招商代理", "商业服务"}));
    EXPECT_EQ(lists.GetData(4).size(), 7u);
    EXPECT_EQ(lists.GetData(5).back(), "1000万以上");
    EXPECT_EQ(lists.GetData(7), std::vector<std::string>{"不限"});
    EXPECT_EQ(lists.GetData(2, "不限"), std::vector<std::string>{"不限"});
    EXPECT_EQ(lists.GetData(2, "it's"), std::vector<std::string>{"不限"});
    // Kind 2 without a province never reaches the database, even one without tbl_dict.
    ASSERT_TRUE(data.ExecSql("drop table tbl_dict")) << data.LastError();
    EXPECT_EQ(lists.GetData(2, ""), std::vector<std::string>{"不限"});
    EXPECT_THROW(lists.GetData(1), std::exception);
}
