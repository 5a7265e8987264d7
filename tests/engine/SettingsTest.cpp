#include "common/Settings.h"

#include "TempAppDir.h"

#include <gtest/gtest.h>

using namespace kavo;

TEST(Settings, DefaultsUntilWrittenThenReadBackFromTheProgramFolder) {
    test::TempAppDir dir;
    EXPECT_EQ(ReadSetting(setting::HostsDesktop), "");
    EXPECT_EQ(ReadSettingInt(setting::NetworkTimeout), 60);
    EXPECT_EQ(ReadSettingInt(setting::NetworkConnectTimeout), 15);
    EXPECT_EQ(ReadSettingInt(setting::NetworkDelay), 0);

    WriteSetting(setting::HostsDesktop, "http://www.example.com");
    WriteSetting(setting::ServiceServers, "http://a.example,http://b.example");
    WriteSetting(setting::NetworkTimeout, "not a number");
    EXPECT_EQ(ReadSetting(setting::HostsDesktop), "http://www.example.com");
    EXPECT_EQ(ReadSetting(setting::ServiceServers), "http://a.example,http://b.example");
    EXPECT_EQ(ReadSettingInt(setting::NetworkTimeout), 60);
    EXPECT_NE(test::ReadFileBytes(dir.file("kavo.cfg")).find("[hosts]"), std::string::npos);
    EXPECT_EQ(SettingName(setting::HostsMobile), "[hosts] mobile");
}

TEST(Settings, HandWrittenFileWithUnquotedListsAndChineseText) {
    test::TempAppDir dir;
    test::WriteFileBytes(dir.file("kavo.cfg"), "[service]\nservers=http://a.example, http://b.example\n"
                                               "support=客服 400-000-0000\n");
    EXPECT_EQ(ReadSetting(setting::ServiceServers), "http://a.example,http://b.example");
    EXPECT_EQ(ReadSetting(setting::ServiceSupport), "客服 400-000-0000");
}
