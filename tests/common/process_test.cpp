#include "TempAppDir.h"
#include "common/Global.h"
#include "common/UserInterface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kavo;

TEST(FileVersion, ReadsTheMarkerOfOurExecutables) {
    EXPECT_EQ(GetFileVersionStr(std::string(KAVO_BIN_DIR) + "/version_probe"), "2.3.4.5");
    EXPECT_EQ(GetFileVersionStr(std::string(KAVO_BIN_DIR) + "/kavo-cli"), "1.0.0.0");
    EXPECT_EQ(GetFileVersionStr("/no/such/file"), "1.0.0.0");
    EXPECT_EQ(GetFileVersionStr("/bin/sh"), "1.0.0.0");
    EXPECT_EQ(GetFileVersionStr("/etc/hostname"), "1.0.0.0");
}

TEST(KillProcessByName, EndsEveryProcessOfThatNameWhateverTheCase) {
    test::TempAppDir dir;
    const std::string sleeper = dir.file("kavo-Sleeper");
    std::filesystem::copy_file("/bin/sleep", sleeper);
    pid_t children[2];
    for (auto& child : children) {
        child = fork();
        if (child == 0) {
            execl(sleeper.c_str(), sleeper.c_str(), "30", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    // Give the children time to exec, or they still carry our own name.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(KillProcessByName("KAVO-sleeper"));
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));
    }
    EXPECT_FALSE(KillProcessByName("kavo-no-such-process"));
    EXPECT_FALSE(KillProcessById(0));
}

TEST(ShowMsg, ConsoleAnswersAndTestHook) {
    ResetUserInterface();
    EXPECT_EQ(ShowMsg("问题", "提示", kMsgQuestion), kAnswerCancel);
    EXPECT_EQ(ShowMsg("info", "提示", kMsgInfo), 0);
    EXPECT_EQ(ShowMsg("nothing", "提示", 9), 0);
    SetNextMsgAnswer(kAnswerOk);
    EXPECT_EQ(ShowMsg("删除?", "提示", kMsgQuestion), kAnswerOk);
    EXPECT_EQ(LastMsgText(), "删除?");
    EXPECT_EQ(ShowMsg("again", "提示", kMsgQuestion), kAnswerCancel);

    std::string waited;
    InstallUserInterface({.showWait = [&](const std::string& text) { waited = text; }});
    ShowWait("");
    EXPECT_EQ(waited, "正在处理数据，请稍后...");
    ShowWait("获取数量为10000");
    EXPECT_EQ(waited, "获取数量为10000");
    ResetUserInterface();
}
