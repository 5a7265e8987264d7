#include "RunProcess.h"
#include "TempAppDir.h"

#include "common/Encoding.h"
#include "store/DataManager.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kavo;
using namespace kavo::test;

namespace {

// A task with three records, two of them sharing a telephone number.
void fillTask(const std::string& dir) {
    ASSERT_EQ(RunCli(dir, {"add", "女装"}).out, "1\n");
    auto data = TDataManager::OpenPath(dir + "data/user.db");
    data->ReSet();
    ASSERT_TRUE(data->ExecSql("insert into tbl_list(PID, comname, rid, lxr, tel, tel2, tel3) values "
                              "(1, '甲', 'r1', 'x', '+86 139-1234', '0139', ''), "
                              "(1, '乙', 'r2', 'y', '1391234', '', ''), "
                              "(1, '丙', 'r3', 'z', '', '', '')"));
}

} // namespace

TEST(CliProcessing, ExportFormatAndDedup) {
    TempAppDir dir;
    fillTask(dir.path());

    auto exported = RunCli(dir.path(), {"export", "1", dir.file("a.txt"), "--fields", "4,1"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, "wrote 3 records to " + dir.file("a.txt") + "\n");
    EXPECT_EQ(ReadFileBytes(dir.file("a.txt")),
              ToGb18030("公司名称,电话\r\n丙, \r\n乙,1391234\r\n甲,+86 139-1234\r\n"));
    auto nothing = RunCli(dir.path(), {"export", "1", dir.file("b.xls")});
    EXPECT_EQ(nothing.exitCode, 0);
    EXPECT_EQ(nothing.out, "没有数据需要导出！\n");
    EXPECT_EQ(RunCli(dir.path(), {"export", "1", dir.file("c.xlsx"), "--all"}).out,
              "wrote 3 records to " + dir.file("c.xlsx") + "\n");

    auto formatted = RunCli(dir.path(), {"format", "1", "--strip-zero"});
    ASSERT_EQ(formatted.exitCode, 0) << formatted.err;
    EXPECT_EQ(formatted.out, "changed 1 of 3 records\n");
    EXPECT_NE(formatted.err.find("formatting: 66%"), std::string::npos) << formatted.err;

    auto deduped = RunCli(dir.path(), {"dedup", "1", "--by", "tel"});
    ASSERT_EQ(deduped.exitCode, 0) << deduped.err;
    EXPECT_EQ(deduped.out, "removed 1 records\n");
    EXPECT_EQ(RunCli(dir.path(), {"dedup", "1", "--by", "comname"}).out, "removed 0 records\n");

    auto failed = RunCli(dir.path(), {"export", "1", dir.file("missing/x.xls"), "--all"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("数据导出失败"), std::string::npos) << failed.err;
    EXPECT_EQ(RunCli(dir.path(), {"format", "9"}).exitCode, 1);
}

TEST(CliProcessing, UsageErrorsExitTwo) {
    TempAppDir dir;
    const std::vector<std::vector<std::string>> wrong = {
        {"export", "1"},
        {"export", "1", "a.csv"},
        {"export", "1", "a.xls", "--all", "--new"},
        {"export", "1", "a.xls", "--fields", "0,1"},
        {"export", "1", "a.xls", "--fields", "1,x"},
        {"dedup", "1"},
        {"dedup", "1", "--by", "addr"},
        {"format", "x"},
        {"format", "1", "--zero"},
    };
    for (const auto& args : wrong) {
        auto result = RunCli(dir.path(), args);
        EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args.back();
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}
