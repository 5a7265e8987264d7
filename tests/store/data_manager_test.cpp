#include "TempAppDir.h"
#include "common/Error.h"
#include "store/DataManager.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavo;

namespace {

class DataManagerTest : public ::testing::Test {
protected:
    test::TempAppDir dir;
    TDataManager data{"user.db", 0};
};

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KavoError& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST_F(DataManagerTest, BuildsTheStatementsItRuns) {
    data.ReSet();
    data.SetCondition("id=3");
    data.AddField("getcount", 12);
    data.AddField("lastpage", 2);
    data.AddField("lasttime", 1480000000.0);
    data.UpdateTable("tbl_task");
    EXPECT_EQ(data.SqlCmd, "update tbl_task set getcount=12,lastpage=2,lasttime=1480000000 where id=3");

    data.ReSet();
    data.AddField("taskname", std::string("it's"));
    data.AddField("  ", std::string("ignored"));
    data.AddField(" adddate ", 5.0);
    data.AddField("priid", std::string(" 浙江 "));
    EXPECT_EQ(data.InsertTable("tbl_task"), 0);
    EXPECT_EQ(data.SqlCmd, "insert into tbl_task(taskname,adddate,priid) values ('it''s',5,' 浙江 ')");
    EXPECT_TRUE(data.LastSucceeded());

    data.ReSet();
    data.AddField("nosuchcolumn", 1);
    EXPECT_EQ(data.InsertTable("tbl_task"), 0);
    EXPECT_FALSE(data.LastSucceeded());

    data.ReSet();
    data.AddField("getcount", 1);
    data.AddField("getcount", 2);
    data.UpdateTable("tbl_task");
    EXPECT_EQ(data.SqlCmd, "update tbl_task set getcount=1,getcount=2");

    data.ReSet();
    data.SetCondition("id=1");
    data.DeleteTable("tbl_task");
    EXPECT_EQ(data.SqlCmd, "delete from tbl_task where id=1");

    data.ReSet();
    data.DeleteTable("");
    EXPECT_EQ(data.SqlCmd, "");
}

TEST_F(DataManagerTest, BlankConditionKeepsThePreviousOne) {
    data.SetCondition(" id=7 ");
    EXPECT_EQ(data.Condition(), "id=7");
    data.SetCondition("   ");
    EXPECT_EQ(data.Condition(), "id=7");
    data.ReSet();
    EXPECT_EQ(data.Condition(), "");
}

TEST_F(DataManagerTest, StoresQuotesAndValuesIntact) {
    const std::string hostile[] = {"O'Brien", "say \"hi\"",    "'); drop table tbl_task; --", "100%_x",
                                   "a\tb\nc", "😀 outside GBK", std::string("nul\0inside", 10)};
    for (const auto& value : hostile) {
        data.ReSet();
        data.AddField("taskname", value);
        data.InsertTable("tbl_task");
        ASSERT_TRUE(data.LastSucceeded()) << data.LastError();
        data.ReSet();
        data.SqlCmd = "select taskname from tbl_task where taskname=?";
        data.SqlArgs = {value};
        auto table = data.GetTable();
        ASSERT_EQ(table->Count(), 1) << value;
        EXPECT_EQ(table->GetFields(0), value);
    }
    EXPECT_EQ(data.GetMaxID("tbl_task", "ID"), static_cast<int>(std::size(hostile)));
}

TEST_F(DataManagerTest, ExecSqlSucceedsOnlyWhenTheStatementRanToTheEnd) {
    EXPECT_TRUE(data.ExecSql("select ID from tbl_task"));
    data.ReSet();
    data.AddField("taskname", std::string("x"));
    data.InsertTable("tbl_task");
    EXPECT_FALSE(data.ExecSql("select ID from tbl_task"));
    EXPECT_FALSE(data.ExecSql("select nonsense from nowhere"));
    EXPECT_EQ(data.SqlCmd, "select nonsense from nowhere");
    EXPECT_FALSE(data.ExecSql("   "));
}

TEST_F(DataManagerTest, PagedQueryCountsAndPages) {
    for (int i = 1; i <= 30; ++i) {
        data.ReSet();
        data.AddField("PID", i <= 29 ? 5 : 6);
        data.AddField("comname", std::to_string(i));
        data.InsertTable("tbl_list");
    }
    data.ReSet();
    data.SetCondition("pid=5");
    int sum = -1;
    auto page = data.GetTable("*", "tbl_List", "ID", "ID", false, 28, 2, sum);
    EXPECT_EQ(data.SqlCmd, "select * from tbl_List where pid=5 order by ID limit 28,28");
    EXPECT_EQ(sum, 29);
    ASSERT_EQ(page->Count(), 1);
    EXPECT_EQ(page->GetFieldByName("comname"), "29");

    page = data.GetTable("*", "tbl_List", "ID", "ID", true, 28, 0, sum);
    EXPECT_EQ(data.SqlCmd, "select * from tbl_List where pid=5 order by ID desc limit -28,28");
    EXPECT_EQ(page->Count(), 28);
    EXPECT_EQ(page->GetFieldByName("comname"), "29");

    data.ReSet();
    page = data.GetTable("*", "no_such_table", "ID", "ID", false, 28, 1, sum);
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(page->Count(), 0);
}

TEST_F(DataManagerTest, ResultTablesFindColumnsWhateverTheCaseAndReportMisuse) {
    EXPECT_EQ(data.GetMaxID("tbl_task", "ID"), 0);
    data.ReSet();
    data.AddField("taskname", std::string("x"));
    data.AddField("getcount", 3);
    data.InsertTable("tbl_task");
    data.ReSet();
    data.SqlCmd = "select ID, getcount, taskname, null as nada, 2.5 as half from tbl_task";
    auto table = data.GetTable();
    for (const char* name : {"ID", "id", "Id"})
        EXPECT_EQ(table->GetFieldByName(name), "1");
    EXPECT_EQ(table->GetFieldByName("GETCOUNT"), "3");
    EXPECT_EQ(table->GetFieldByName("nada"), "");
    EXPECT_EQ(table->GetFieldByName("half"), "2.5");
    EXPECT_EQ(errorOf([&] { table->GetFieldByName("missing"); }), "Field not found in dataset: missing");
    table->Next();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(errorOf([&] { table->GetFields(0); }), "Table is at End of File");

    TSQLiteTable empty({}, {});
    EXPECT_EQ(errorOf([&] { empty.GetFieldByName("ID"); }), "Field ID Not found. Empty dataset");

    data.ReSet();
    data.SqlCmd = "select * from missing_table";
    const std::string message = errorOf([&] { data.GetTable(); });
    EXPECT_NE(message.find("select * from missing_table"), std::string::npos) << message;
    EXPECT_NE(message.find("no such table"), std::string::npos) << message;
    data.ReSet();
    EXPECT_EQ(data.GetTable(), nullptr);
}

TEST(DataManagerOpen, ReportsAFileItCannotOpen) {
    test::TempAppDir dir;
    std::filesystem::create_directories(dir.file("data/user.db"));
    try {
        TDataManager data("user.db", 0);
        FAIL() << "opened a folder as a database";
    } catch (const KavoError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Failed to open database \"" + dir.file("data/user.db") + "\" : ", 0),
                  0u)
            << error.what();
    }
}
