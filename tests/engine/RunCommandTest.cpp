// kavo-cli url and run against the fixture marketplace, as a user would call them.
#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "common/Settings.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kavo;
using namespace kavo::test;
using namespace std::chrono_literals;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
};

// Runs kavo-cli with the program folder `dir`; `whileRunning` gets the child's pid.
Outcome runCli(const std::string& dir, std::vector<std::string> words,
               const std::function<void(pid_t)>& whileRunning = nullptr) {
    std::string outFile = dir + "cli-out.txt";
    pid_t pid = ::fork();
    if (pid == 0) {
        int fd = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDOUT_FILENO);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        std::string exe = std::string(KAVO_BIN_DIR) + "/kavo-cli";
        words.insert(words.begin(), {exe, "--dir", dir});
        std::vector<char*> argv;
        for (auto& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    if (whileRunning)
        whileRunning(pid);
    int status = 0;
    ::waitpid(pid, &status, 0);
    Outcome outcome;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadFileBytes(outFile);
    return outcome;
}

class RunCommand : public ::testing::Test {
protected:
    void SetUp() override {
        market.ConfigureHosts();
        TDataManager data("user.db", 0);
        TTaskList tasks(data);
        TTaskInfo task;
        task.taskname = "五金";
        task.taskcount = 10000;
        task.GetParam.biztype = "0";
        tasks.AddTask(task);
        id = std::to_string(task.ID);
    }
    TempAppDir dir;
    FixtureMarketplace market;
    std::string id;
};

TEST_F(RunCommand, UrlPrintsTheSearchAddressOfAPage) {
    Outcome url = runCli(dir.path(), {"url", id, "--page", "3"});
    EXPECT_EQ(url.exitCode, 0);
    EXPECT_EQ(
        url.out,
        market.base() +
            "/gongsi/offer_search.html?keywords=%CE%E5%BD%F0&page_Size=30&n=y&showStyle=noimg&"
            "beginPage=3&offset=4&province=&city=&categoryId=&biztype=0&annualRevenue=&employeescount=&\n");
    EXPECT_NE(runCli(dir.path(), {"url", id}).out.find("beginPage=0&"), std::string::npos);
}

TEST_F(RunCommand, RunHarvestsToTheEndAndSummarises) {
    market.SetPageCount(1);
    Outcome run = runCli(dir.path(), {"run", id});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("stored 30, skipped 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("results exhausted"), std::string::npos) << run.out;
}

TEST_F(RunCommand, RunRefusesWithoutTheHosts) {
    WriteSetting(setting::HostsDesktop, "");
    EXPECT_EQ(runCli(dir.path(), {"run", id}).exitCode, 1);
    EXPECT_TRUE(market.Requests().empty());
}

TEST_F(RunCommand, FirstCtrlCStopsAfterTheCompanyInHandSecondAborts) {
    market.SetPageCount(1);
    market.HoldPath("/www.fixture/100002.html");
    Outcome stopped = runCli(dir.path(), {"run", id}, [&](pid_t pid) {
        ASSERT_TRUE(market.WaitHeld(10s));
        ::kill(pid, SIGINT);
        std::this_thread::sleep_for(200ms);
        market.Release();
    });
    EXPECT_EQ(stopped.exitCode, 0);
    EXPECT_NE(stopped.out.find("stored 3,"), std::string::npos) << stopped.out;
    EXPECT_NE(stopped.out.find("(stopped)"), std::string::npos) << stopped.out;

    market.HoldPath("/member/100005.html");
    Outcome aborted = runCli(dir.path(), {"run", id}, [&](pid_t pid) {
        ASSERT_TRUE(market.WaitHeld(10s));
        ::kill(pid, SIGINT);
        std::this_thread::sleep_for(100ms);
        ::kill(pid, SIGINT);
    });
    market.Release();
    EXPECT_EQ(aborted.exitCode, 130);
    // 100003 and 100004 stored; 100005 was in hand when the abort came and is not.
    EXPECT_NE(aborted.out.find("stored 2, skipped 3"), std::string::npos) << aborted.out;
    EXPECT_NE(aborted.out.find("collected 5/"), std::string::npos) << aborted.out;
}

} // namespace
