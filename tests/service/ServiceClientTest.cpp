#include "service/ServiceClient.h"
#include "FixtureService.h"
#include "ServiceHarness.h"
#include "TempAppDir.h"
#include "common/Settings.h"
#include "common/UserInterface.h"
#include "service/AutoUpdate.h"
#include "service/CheckHost.h"
#include "service/ServiceServers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

namespace kavo {
namespace {

using namespace std::chrono_literals;
using test::FixtureService;

const CheckHostTimeouts kShort{300, 300};

TEST(SelectServer, TakesTheFirstCandidateAnsweringExactlyOK) {
    FixtureService service;
    service.PutCheck("lower", "ok");
    service.PutCheck("newline", "OK\n");
    service.PutCheck("slow", "OK", 2000ms);
    service.PutRedirect("/moved/check.txt", service.base("good") + "check.txt");
    service.PutCheck("good", "OK");
    service.PutCheck("later", "OK");
    const std::vector<std::string> candidates{
        FixtureService::ClosedBase(), service.base("missing"), service.base("lower"), service.base("newline"),
        service.base("slow"),         service.base("moved"),   service.base("good"),  service.base("later")};
    EXPECT_EQ(SelectServer(candidates, kShort), service.base("good"));
    EXPECT_EQ(service.Count("/good/check.txt"), 1u); // the redirect was not followed there
    EXPECT_EQ(service.Count("/later/check.txt"), 0u);
}

TEST(SelectServer, FallsBackToTheFirstCandidate) {
    FixtureService service;
    service.PutCheck("b", "NO");
    EXPECT_EQ(SelectServer({service.base("a"), service.base("b"), FixtureService::ClosedBase()}, kShort),
              service.base("a"));
    EXPECT_EQ(SelectServer({}, kShort), "");
}

// A main window stand-in: records status texts and the 3043 messages in order.
struct Window {
    Window() { test::EnsureServiceApplication(); }
    std::mutex mutex;
    std::vector<std::pair<int, std::string>> status;
    std::vector<std::pair<MsgParam, MsgParam>> updates;
    std::atomic<int> popups{0}, ends{0};
    MessageReceiver receiver{[this](int msg, MsgParam w, MsgParam l) -> MsgParam {
        if (msg == MSG_UPDATE) {
            std::lock_guard lock(mutex);
            updates.emplace_back(w, l);
        }
        return 0;
    }};
    TServiceClient::FrontEnd frontEnd() {
        return {[this](int panel, const std::string& text) {
                    std::lock_guard lock(mutex);
                    status.emplace_back(panel, text);
                },
                [this] { ++popups; }, [this] { ++ends; }};
    }
    std::string last(int panel) {
        std::lock_guard lock(mutex);
        for (auto it = status.rbegin(); it != status.rend(); ++it)
            if (it->first == panel)
                return it->second;
        return {};
    }
    bool updateArrived(MsgParam w) {
        std::lock_guard lock(mutex);
        for (const auto& u : updates)
            if (u.first == w)
                return true;
        return false;
    }
};

ServiceTiming shortTiming() {
    ServiceTiming timing;
    timing.check = kShort;
    timing.retry = 100ms;
    timing.configTimeoutMs = 2000;
    timing.popupDelay = 50ms;
    return timing;
}

const std::string kConfigPath = "/a/soft/wovt/config.txt";

TEST(ServiceClient, WithoutServersSaysSoAndFetchesNothing) {
    test::TempAppDir dir;
    Window window;
    TServiceClient client(&window.receiver, window.frontEnd(), shortTiming());
    client.Start();
    ASSERT_TRUE(test::PumpUntil([&] { return !window.last(0).empty(); }));
    EXPECT_EQ(window.last(0), kServiceNotConfigured);
    EXPECT_EQ(ServiceBaseUrl(), "");
    EXPECT_EQ(client.Attempts(), 0);
}

TEST(ServiceClient, ShowsTheInfoTextWhenNoUpdateIsOffered) {
    test::TempAppDir dir;
    FixtureService service;
    service.PutCheck("a", "OK");
    service.PutConfig(
        "a", test::EncodedDocument(test::QiyeDocument("ver=\"1.0\" info=\"欢迎使用\"", "http://h/p")));
    WriteSetting(setting::ServiceServers, FixtureService::ClosedBase() + "," + service.base("a"));
    Window window;
    TServiceClient client(&window.receiver, window.frontEnd(), shortTiming());
    client.Start();
    ASSERT_TRUE(test::PumpUntil([&] { return !window.last(1).empty() && window.popups > 0; }));
    EXPECT_EQ(ServiceBaseUrl(), service.base("a"));
    EXPECT_EQ(window.last(0), "服务器连接成功");
    EXPECT_EQ(window.last(1), "欢迎使用    ");
    EXPECT_EQ(client.Attempts(), 1);
    test::PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(window.popups, 1);
    EXPECT_EQ(window.ends, 0);
    EXPECT_TRUE(window.updates.empty());
}

TEST(ServiceClient, EndsAfterThreeFailedAttemptsWithTheSupportNumber) {
    test::TempAppDir dir;
    FixtureService service;
    service.PutCheck("a", "OK");
    service.Put(kConfigPath, "<html>error page</html>", 500);
    WriteSetting(setting::ServiceServers, service.base("a"));
    WriteSetting(setting::ServiceSupport, "12345678");
    Window window;
    TServiceClient client(&window.receiver, window.frontEnd(), shortTiming());
    client.Start();
    ASSERT_TRUE(test::PumpUntil([&] { return window.ends > 0; }));
    EXPECT_EQ(service.Count(kConfigPath), 3u);
    EXPECT_EQ(client.Attempts(), 3);
    EXPECT_EQ(LastMsgText(), "获取服务配置信息发生了错误,请联系管理员QQ:12345678");
    test::PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(service.Count(kConfigPath), 3u);
}

TEST(ServiceClient, ASecondAttemptCanSucceed) {
    test::TempAppDir dir;
    FixtureService service;
    service.PutCheck("a", "OK");
    // Deciphers, but to text without an element.
    service.PutConfig("a", test::EncodedDocument("no xml here"));
    WriteSetting(setting::ServiceServers, service.base("a"));
    Window window;
    ServiceTiming timing = shortTiming();
    timing.retry = 400ms;
    TServiceClient client(&window.receiver, window.frontEnd(), timing);
    client.Start();
    ASSERT_TRUE(test::PumpUntil([&] { return client.Attempts() == 1; }));
    service.PutConfig("a", test::EncodedDocument(test::QiyeDocument("info=\"ok\"", "")));
    ASSERT_TRUE(test::PumpUntil([&] { return !window.last(1).empty(); }));
    EXPECT_EQ(client.Attempts(), 2);
    EXPECT_EQ(window.ends, 0);
}

TEST(ServiceClient, AForcedUpdateWarnsThenOpensTheWindowAndDownloads) {
    test::TempAppDir dir;
    FixtureService service;
    service.PutCheck("a", "OK");
    const std::string package(300000, 'p');
    service.Put("/pkg/client.zip", package);
    service.PutConfig("a", test::EncodedDocument(test::QiyeDocument("ver=\"1.2\" force=\"1\"",
                                                                    service.base("pkg") + "client.zip")));
    WriteSetting(setting::ServiceServers, service.base("a"));
    test::WriteFileBytes(dir.file("update"), "an updater without version marker");
    Window window;
    TServiceClient client(&window.receiver, window.frontEnd(), shortTiming());
    client.Start();
    ASSERT_TRUE(test::PumpUntil([&] { return window.updateArrived(5); }));
    EXPECT_EQ(LastMsgText(), kForcedUpdateText);
    EXPECT_EQ(window.updates.front(), (std::pair<MsgParam, MsgParam>(1, 0)));
    EXPECT_EQ(window.updates.back(), (std::pair<MsgParam, MsgParam>(5, 0)));
    EXPECT_TRUE(window.updateArrived(2));
    EXPECT_EQ(test::ReadFileBytes(dir.file("update.zip")), package);
    ASSERT_NE(client.objupdate(), nullptr);
    EXPECT_TRUE(client.objupdate()->Info().isforce);
}

} // namespace
} // namespace kavo
