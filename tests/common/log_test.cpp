#include "TempAppDir.h"
#include "common/Encoding.h"
#include "common/Global.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>
#include <vector>

using namespace kavo;
using kavo::test::ReadFileBytes;

namespace {

class LogTest : public ::testing::Test {
protected:
    void TearDown() override {
        LogEnabled = false;
        SetLogRotateBytesForTesting(kLogRotateBytes);
    }
    test::TempAppDir dir;
};

} // namespace

TEST_F(LogTest, WritesNothingWhileOff) {
    LogEnabled = false;
    WriteLog("hidden");
    EXPECT_FALSE(std::filesystem::exists(dir.file("logs.txt")));
}

TEST_F(LogTest, AppendsStampedGb18030LinesEndedByCrLf) {
    LogEnabled = true;
    WriteLog("第一行");
    WriteLog("second");
    const std::string bytes = ReadFileBytes(dir.file("logs.txt"));
    const std::string text = FromGb18030(bytes);
    EXPECT_NE(bytes.find(ToGb18030("第一行") + "\r\n"), std::string::npos);
    std::regex line(R"(\d{4}/\d{1,2}/\d{1,2}( \d{1,2}:\d\d:\d\d)? : second\r\n$)");
    EXPECT_TRUE(std::regex_search(text, line)) << text;
}

TEST_F(LogTest, ConcurrentWritersNeverInterleaveLines) {
    LogEnabled = true;
    const std::string payload(500, 'x');
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                WriteLog(std::to_string(t) + payload);
        });
    for (auto& w : writers)
        w.join();
    const std::string text = ReadFileBytes(dir.file("logs.txt"));
    size_t lines = 0, start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines)
        EXPECT_NE(text.substr(start, end - start).find(" : "), std::string::npos);
    EXPECT_EQ(lines, 200u);
    EXPECT_EQ(start, text.size());
}

TEST_F(LogTest, MovesALargeLogAsideKeepingOneOldFile) {
    LogEnabled = true;
    SetLogRotateBytesForTesting(2000);
    const std::string page(600, 'p');
    for (int i = 0; i < 10; ++i)
        WriteLog(page);
    EXPECT_LE(std::filesystem::file_size(dir.file("logs.txt")), 2000u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("logs.1.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("logs.2.txt")));
}
