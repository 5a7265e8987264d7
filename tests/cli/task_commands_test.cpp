#include "RunProcess.h"
#include "TempAppDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace kavo::test;

TEST(CliTasks, AddListPageAndDelete) {
    TempAppDir dir;
    auto added =
        RunCli(dir.path(), {"add", "女装,童装", "--province", "浙江", "--city", "杭州", "--mode", "2"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "1\n");
    EXPECT_EQ(RunCli(dir.path(), {"add", "", "--province", "浙江"}).out, "2\n");

    auto duplicate = RunCli(dir.path(), {"add", " 女装,童装 "});
    EXPECT_EQ(duplicate.exitCode, 1);
    EXPECT_NE(duplicate.err.find("already exists"), std::string::npos);

    auto listed = RunCli(dir.path(), {"tasks"});
    EXPECT_EQ(listed.out, "2\t浙江-公司\t0/10000\t0\t浙江\t\t0\t\t\n"
                          "1\t女装,童装\t0/10000\t0\t浙江\t杭州\t2\t\t\n");

    auto records = RunCli(dir.path(), {"records", "1"});
    EXPECT_EQ(records.exitCode, 0);
    EXPECT_EQ(records.out, "records: 0\tpages: 0\tpage: 1\n");

    EXPECT_EQ(RunCli(dir.path(), {"delete", "1"}).exitCode, 0);
    auto gone = RunCli(dir.path(), {"records", "1"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("no task with ID 1"), std::string::npos);
}

TEST(CliTasks, UsageErrorsExitTwoWithOneLine) {
    TempAppDir dir;
    const std::vector<std::vector<std::string>> wrong = {
        {"frobnicate"},
        {"add"},
        {"add", "x", "--mode", "9"},
        {"add", "x", "--mode", "two"},
        {"add", "x", "--province", "火星"},
        {"add", "x", "--city", "杭州"},
        {"add", "x", "--colour", "red"},
        {"records", "x"},
        {"records", "1", "--page", "0"},
        {"delete"},
    };
    for (const auto& args : wrong) {
        auto result = RunCli(dir.path(), args);
        EXPECT_EQ(result.exitCode, 2) << args[0];
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_EQ(RunCli(dir.path(), {"add", "--help"}).exitCode, 0);
    EXPECT_EQ(RunCli(dir.path(), {"--help"}).exitCode, 0);
}

TEST(CliTasks, NamesTheDatabaseItCannotOpen) {
    TempAppDir dir;
    std::filesystem::create_directories(dir.file("data/user.db"));
    auto result = RunCli(dir.path(), {"tasks"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(dir.file("data/user.db")), std::string::npos) << result.err;
}
