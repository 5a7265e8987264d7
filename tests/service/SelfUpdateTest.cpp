#include "FixtureService.h"
#include "RunProcess.h"
#include "TempAppDir.h"
#include "common/Encoding.h"
#include "common/Global.h"
#include "service/PackageFiles.h"
#include "service/Updater.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kavo {
namespace {

using test::FixtureService;

const std::string kBin = KAVO_BIN_DIR;

bool waitForFile(const std::string& path, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let the writer finish
    return true;
}

// The whole road: the old client picks the server, reads a document made with kavo-cli's encoder,
// downloads the package with its checksum, hands over and ends itself; our updater waits for it,
// replaces it with the new build and starts that, which records the version it carries.
TEST(SelfUpdate, TheNewerClientRunsAfterTheHandOver) {
    test::TempAppDir dir;
    const std::string folder = dir.path();
    const std::string client = "kavo-selfupdate-probe";
    fs::copy_file(kBin + "/selfupdate_probe_old", folder + client);
    fs::copy_file(kBin + "/update", folder + "update");
    ASSERT_EQ(GetFileVersionStr(folder + client), "1.0.0.1");

    FixtureService service;
    const std::string package =
        test::MakeZip({{client, test::ReadFileBytes(kBin + "/selfupdate_probe_new")}}, {client});
    test::WriteFileBytes(folder + "package.zip", package);
    const std::uint32_t crc = FileCrc32(folder + "package.zip");
    fs::remove(folder + "package.zip");
    service.Put("/pkg/client.zip", package);
    service.PutCheck("s", "OK");
    const std::string xml =
        "<?xml version=\"1.0\"?>\n<config>\n <version>\n  <qiye ver=\"1.1\" info=\"new\" crc=\"" +
        std::to_string(crc) + "\">" + service.base("pkg") + "client.zip</qiye>\n </version>\n</config>\n";
    test::WriteFileBytes(folder + "config.xml", xml);
    ASSERT_EQ(test::RunCli(folder, {"service", "encode-config", folder + "config.xml", folder + "config.txt"})
                  .exitCode,
              0);
    service.PutConfig("s", test::ReadFileBytes(folder + "config.txt"));
    test::WriteFileBytes(folder + "kavo.cfg", "[service]\nservers=" + service.base("s") + "\n");

    // The old client ends itself at the hand-over (killed, so no normal exit).
    const auto old = test::RunProcess(folder + client, {});
    EXPECT_NE(old.exitCode, 3) << "the package download failed";
    EXPECT_NE(old.exitCode, 4) << "no update was offered";
    ASSERT_TRUE(waitForFile(folder + "ran.txt", std::chrono::seconds(20)))
        << test::ReadFileBytes(folder + "logs.txt");
    EXPECT_EQ(test::ReadFileBytes(folder + "ran.txt"), "1.0.0.2");
    EXPECT_EQ(GetFileVersionStr(folder + client), "1.0.0.2");
    EXPECT_TRUE(fs::status(folder + client).permissions() != fs::perms::none &&
                (fs::status(folder + client).permissions() & fs::perms::owner_exec) != fs::perms::none);
    EXPECT_EQ(test::ReadFileBytes(folder + "uplog.txt"), client + "\r\n");
    EXPECT_FALSE(fs::exists(folder + "update.zip"));
    const std::string log = FromGb18030(test::ReadFileBytes(folder + "logs.txt"));
    EXPECT_NE(log.find("update: update.zip unpacked"), std::string::npos) << log;
    EXPECT_NE(log.find("update: " + client + " started again"), std::string::npos) << log;
}

TEST(Updater, LeavesEverythingAloneWithoutAClientName) {
    test::TempAppDir dir;
    test::WriteFileBytes(dir.file("update.zip"), test::MakeZip({{"x", "y"}}));
    for (const char* uplog : {"", "../evil\r\n", "sub/name\r\n"}) {
        test::WriteFileBytes(dir.file("uplog.txt"), uplog);
        EXPECT_EQ(RunUpdater(dir.path(), {std::chrono::milliseconds(100), std::chrono::milliseconds(10)}), 1);
    }
    EXPECT_TRUE(fs::exists(dir.file("update.zip")));
    EXPECT_FALSE(fs::exists(dir.file("x")));
}

TEST(Updater, GivesUpWhileTheClientStillRuns) {
    test::TempAppDir dir;
    const std::string client = dir.file("kavo-sleeper");
    fs::copy_file("/bin/sleep", client);
    const pid_t child = fork();
    if (child == 0) {
        execl(client.c_str(), client.c_str(), "10", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    test::WriteFileBytes(dir.file("uplog.txt"), "KAVO-SLEEPER\r\n"); // names compare without case
    test::WriteFileBytes(dir.file("update.zip"), test::MakeZip({{"x", "y"}}));
    for (int i = 0; i < 200 && !ProcessRunning("kavo-sleeper"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(RunUpdater(dir.path(), {std::chrono::milliseconds(200), std::chrono::milliseconds(10)}), 2);
    EXPECT_TRUE(fs::exists(dir.file("update.zip")));
    EXPECT_FALSE(fs::exists(dir.file("x")));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProcessRunning("kavo-sleeper"));
}

} // namespace
} // namespace kavo
