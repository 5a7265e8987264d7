#include "UiHarness.h"

#include "common/UserInterface.h"
#include "service/ServiceServers.h"
#include "ui/QtText.h"

#include <QAction>
#include <QLabel>

#include <gtest/gtest.h>

namespace kavo::test {

TEST(ServiceWiring, WithoutServersTheWindowSaysSoAndRunsOn) {
    WindowHarness harness;
    EXPECT_TRUE(PumpUntil([&] { return S(harness.window->statusPanel0->text()) == kServiceNotConfigured; }));
    auto* suggestions = harness.window->findChild<QAction*>(QStringLiteral("N20"));
    ASSERT_NE(suggestions, nullptr);
    ASSERT_NE(harness.window->findChild<QAction*>(QStringLiteral("N18")), nullptr);
    ASSERT_NE(harness.window->findChild<QAction*>(QStringLiteral("N21")), nullptr);
    ForgetLastMessage();
    SetNextMsgAnswer(kAnswerOk);
    suggestions->trigger();
    EXPECT_EQ(LastMsgText(), kServiceNotConfigured);
    harness.Submit("服务未配置也能搜索");
    EXPECT_GT(harness.TaskIdByName("服务未配置也能搜索"), 0);
}

} // namespace kavo::test
