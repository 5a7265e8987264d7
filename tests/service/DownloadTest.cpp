#include "FixtureService.h"
#include "ServiceHarness.h"
#include "TempAppDir.h"
#include "service/AutoUpdate.h"
#include "service/DownIdHttp.h"
#include "service/PackageFiles.h"

#include <QObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <zlib.h>

namespace fs = std::filesystem;

namespace kavo {
namespace {

using test::FixtureService;

TEST(ProgressPercent, PostsWholePercentsWithHalvesToEven) {
    struct Case {
        std::int64_t done, total;
        int percent;
    } cases[] = {{25, 1000, 2}, {35, 1000, 4},    {45, 1000, 4},   {0, 1000, 0}, {1000, 1000, 100},
                 {1, 3, 33},    {2, 3, 67},       {1, 200, 0},     {3, 200, 2},  {5, 200, 2},
                 {7, 200, 4},   {999, 1000, 100}, {994, 1000, 99}, {5, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ProgressPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;
}

std::uint32_t crcOf(const std::string& bytes) {
    return static_cast<std::uint32_t>(crc32(
        crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Runs one download to its end; the progress messages it posts are collected.
struct Download {
    Download() { test::EnsureServiceApplication(); }
    QObject owner;
    std::mutex mutex;
    std::vector<MsgParam> progress;
    MessageReceiver receiver{[this](int msg, MsgParam w, MsgParam l) -> MsgParam {
        std::lock_guard lock(mutex);
        if (msg == MSG_UPDATE && w == 2)
            progress.push_back(l);
        return 0;
    }};
    int run(DownloadJob job) {
        int stat = 100;
        TDownIdHttp::Create(&owner, &receiver, std::move(job), [&](TDownIdHttp& t) { stat = t.iStat(); });
        EXPECT_TRUE(test::PumpUntil([&] { return stat != 100; }));
        test::PumpUntil([] { return false; }, std::chrono::milliseconds(20)); // queued progress
        return stat;
    }
};

TEST(TDownIdHttp, ChecksTheSchemeAndTheChecksums) {
    test::TempAppDir dir;
    FixtureService service;
    const std::string package(200000, 'z');
    service.Put("/p/client.zip", package);
    const std::string url = service.base("p") + "client.zip";
    // sha256 of the package, worked out apart from kavo.
    const std::string kPackageSha256 = "806c53b3aab21811d00bd0c0d9e33726fdd7c08de88df0d98252f69a4f120a74";
    std::string kPackageSha256Upper = kPackageSha256;
    std::transform(kPackageSha256Upper.begin(), kPackageSha256Upper.end(), kPackageSha256Upper.begin(),
                   [](unsigned char ch) { return std::toupper(ch); });
    std::string upper = url;
    upper.replace(0, 7, "HTTP://");
    struct Case {
        std::string url;
        std::uint32_t crc;
        std::string sha;
        int stat;
        bool saved;
    } cases[] = {
        {url, 0, "", 2, true},
        {upper, crcOf(package), "", 2, true},
        {url, crcOf(package) ^ 1, "", -1, true}, // a wrong checksum leaves the file in place
        {url, 0, kPackageSha256, 2, true},
        {url, 0, kPackageSha256Upper, 2, true},
        {url, crcOf(package), std::string(64, '0'), -1, true},
        {"https" + url.substr(4), 0, "", 0, false},
        {"ftp://127.0.0.1/x.zip", 0, "", 0, false},
        {service.base("p") + "missing.zip", 0, "", 0, false},
    };
    for (const auto& c : cases) {
        fs::remove(dir.file("update.zip"));
        Download download;
        DownloadJob job;
        job._strurl = c.url;
        job._SavePath = dir.file("update.zip");
        job._CrcCode = c.crc;
        job._Sha256 = c.sha;
        EXPECT_EQ(download.run(job), c.stat) << c.url;
        EXPECT_EQ(fs::exists(dir.file("update.zip")), c.saved) << c.url;
        if (c.stat == 2) {
            EXPECT_EQ(test::ReadFileBytes(dir.file("update.zip")), package);
            ASSERT_FALSE(download.progress.empty());
            EXPECT_EQ(download.progress.back(), 100);
            EXPECT_TRUE(std::is_sorted(download.progress.begin(), download.progress.end()));
        }
    }
}

TEST(TDownIdHttp, UnpacksIntoItsFolderAndDeletesTheArchive) {
    test::TempAppDir dir;
    FixtureService service;
    service.Put("/p/up.zip",
                test::MakeZip({{"update", "new updater"}, {"docs/readme.txt", "hello"}}, {"update"}));
    test::WriteFileBytes(dir.file("update"), "old updater");
    Download download;
    DownloadJob job;
    job._strurl = service.base("p") + "up.zip";
    job._SavePath = dir.file("up.zip");
    job._bUnZip = 2;
    EXPECT_EQ(download.run(job), 2);
    EXPECT_EQ(test::ReadFileBytes(dir.file("update")), "new updater");
    EXPECT_EQ(test::ReadFileBytes(dir.file("docs/readme.txt")), "hello");
    EXPECT_FALSE(fs::exists(dir.file("up.zip")));
}

TEST(TDownIdHttp, RefusesArchivesThatReachOutsideTheFolder) {
    test::TempAppDir dir;
    fs::create_directories(dir.file("app"));
    FixtureService service;
    const std::vector<std::vector<std::pair<std::string, std::string>>> archives{
        {{"good.txt", "g"}, {"../escaped.txt", "x"}},
        {{"good.txt", "g"}, {"sub/../../escaped.txt", "x"}},
        {{"good.txt", "g"}, {dir.file("escaped.txt"), "x"}},
        {{"good.txt", "g"}, {"..\\escaped.txt", "x"}},
    };
    for (const auto& entries : archives) {
        service.Put("/p/bad.zip", test::MakeZip(entries));
        Download download;
        DownloadJob job;
        job._strurl = service.base("p") + "bad.zip";
        job._SavePath = dir.file("app/bad.zip");
        job._bUnZip = 2;
        EXPECT_EQ(download.run(job), 0) << entries[1].first;
        EXPECT_FALSE(fs::exists(dir.file("escaped.txt")));
        EXPECT_FALSE(fs::exists(dir.file("app/good.txt"))); // nothing written at all
        EXPECT_TRUE(fs::exists(dir.file("app/bad.zip")));   // the archive is kept
    }
    // Inside after all: a ".." that stays in the folder is fine.
    test::WriteFileBytes(dir.file("ok.zip"), test::MakeZip({{"a/../b.txt", "b"}}));
    EXPECT_TRUE(UnpackArchive(dir.file("ok.zip"), dir.file("app")));
    EXPECT_EQ(test::ReadFileBytes(dir.file("app/b.txt")), "b");
}

TEST(TDownIdHttp, CorruptArchiveFailsAndStays) {
    test::TempAppDir dir;
    FixtureService service;
    std::string zip = test::MakeZip({{"file.bin", std::string(5000, 'q')}});
    zip[60] = static_cast<char>(zip[60] ^ 0x55); // inside the compressed data
    service.Put("/p/c.zip", zip);
    service.Put("/p/notzip.zip", "plain text");
    for (const char* name : {"c.zip", "notzip.zip"}) {
        Download download;
        DownloadJob job;
        job._strurl = service.base("p") + name;
        job._SavePath = dir.file(name);
        job._bUnZip = 2;
        EXPECT_EQ(download.run(job), 0) << name;
        EXPECT_TRUE(fs::exists(dir.file(name)));
        EXPECT_FALSE(fs::exists(dir.file("file.bin")));
    }
}

TEST(TAutoUpdate, ReportsAFailedClientPackageAndStops) {
    test::TempAppDir dir;
    FixtureService service;
    service.Put("/p/client.zip", "package");
    struct Case {
        std::string url;
        std::uint32_t crc;
        MsgParam expected;
    } cases[] = {{service.base("p") + "client.zip", 1, -1}, {service.base("p") + "gone.zip", 0, 0}};
    for (const auto& c : cases) {
        Download window; // only its receiver is used
        std::vector<MsgParam> codes;
        MessageReceiver receiver([&](int, MsgParam w, MsgParam) -> MsgParam {
            if (w != 2)
                codes.push_back(w);
            return 0;
        });
        auto info = std::make_unique<TUpDateInfo>();
        info->isplayer = true;
        info->PlayerUrl = c.url;
        info->Playercrc = c.crc;
        info->isupdate = true;
        info->UpdateUrl = service.base("p") + "client.zip";
        TAutoUpdate update(&receiver, std::move(info));
        update.StartWork();
        ASSERT_TRUE(test::PumpUntil([&] { return !codes.empty(); }));
        test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
        EXPECT_EQ(codes, std::vector<MsgParam>{c.expected});
        // The updater package (also client.zip here) is never fetched after a failure.
        EXPECT_EQ(service.Count("/p/client.zip"), 1u);
    }
}

TEST(TAutoUpdate, HandsOverEvenWhenTheUpdaterPackageFails) {
    test::TempAppDir dir;
    FixtureService service;
    service.Put("/p/client.zip", "package");
    std::vector<MsgParam> codes;
    test::EnsureServiceApplication();
    MessageReceiver receiver([&](int, MsgParam w, MsgParam) -> MsgParam {
        if (w != 2)
            codes.push_back(w);
        return 0;
    });
    auto info = std::make_unique<TUpDateInfo>();
    info->isplayer = true;
    info->PlayerUrl = service.base("p") + "client.zip";
    info->isupdate = true;
    info->UpdateUrl = service.base("p") + "missing-updater.zip";
    TAutoUpdate update(&receiver, std::move(info));
    update.StartWork();
    ASSERT_TRUE(test::PumpUntil([&] { return !codes.empty(); }));
    EXPECT_EQ(codes, std::vector<MsgParam>{5});
    EXPECT_EQ(service.Count("/p/missing-updater.zip"), 1u);
    EXPECT_EQ(test::ReadFileBytes(dir.file("update.zip")), "package");
}

} // namespace
} // namespace kavo
