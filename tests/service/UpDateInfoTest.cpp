#include "service/UpDateInfo.h"
#include "ServiceHarness.h"
#include "TempAppDir.h"
#include "common/Encoding.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kavo {
namespace {

TEST(IsNewerVersion, ComparesPartByPartWithEqualPartCounts) {
    struct Case {
        const char* a;
        const char* b;
        bool newer;
    } cases[] = {
        {"1.0.0.3", "1.0.0.2", true},
        {"1.0.0.2", "1.0.0.3", false},
        {"1.0.0.2", "1.0.0.2", false},
        {"1.1", "1.0.0.2", false},
        {"2.0.0.0", "1.9.9.9", true},
        {"1.10.0.0", "1.9.0.0", true},
        {"1.0.x.5", "1.0.0.4", true},
        {"1.0.x.0", "1.0.1.0", false},
        {"", "", false},
        {"3", "2", true},
        {"1.0.", "1.0.0", false},
        {"1.2.", "1.1.9", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(c.a, c.b), c.newer) << c.a << " vs " << c.b;
}

TEST(ServiceAttributes, ReadVersionNumbersAndCrcs) {
    EXPECT_EQ(ClientVersionNumber("1.1"), 1.1);
    EXPECT_EQ(ClientVersionNumber(""), 1.0);
    EXPECT_EQ(ClientVersionNumber("1.0.1"), 1.0);
    EXPECT_EQ(ClientVersionNumber("abc"), 1.0);
    EXPECT_EQ(CrcAttribute("3735928559"), 3735928559u);
    EXPECT_EQ(CrcAttribute("4294967297"), 1u); // low 32 bits
    EXPECT_EQ(CrcAttribute("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(CrcAttribute(""), 0u);
    EXPECT_EQ(CrcAttribute("12ab"), 0u);
}

ServiceDocument interpret(const std::string& xml, const std::string& updater) {
    const auto top = ReadXmlElements(ToGb18030(xml));
    return InterpretServiceDocument(top.at(0), updater);
}

TEST(ServiceDocumentReading, OffersAClientUpdateOnlyForANewerNumber) {
    test::TempAppDir dir;
    const std::string updater = dir.file("update");
    test::WriteFileBytes(updater, "present, no version marker: 1.0.0.0");
    struct Case {
        const char* attributes;
        bool isplayer, isforce;
    } cases[] = {
        {"ver=\"1.0\" info=\"i\"", false, false}, {"ver=\"1.1\" info=\"i\" crc=\"77\"", true, false},
        {"ver=\"1.0.1\"", false, false},          {"info=\"i\"", false, false},
        {"ver=\"1.1\" force=\"1\"", true, true},  {"ver=\"1.1\" force=\"true\"", true, false},
        {"ver=\"1.1\" force=\"0\"", true, false},
    };
    for (const auto& c : cases) {
        const auto doc = interpret(test::QiyeDocument(c.attributes, " http://h/p.zip "), updater);
        EXPECT_EQ(doc.UpInfo.isplayer, c.isplayer) << c.attributes;
        EXPECT_EQ(doc.UpInfo.isforce, c.isforce) << c.attributes;
        EXPECT_EQ(DecideUpdate(doc.UpInfo), !c.isplayer ? ConfigDecision::Configured
                                            : c.isforce ? ConfigDecision::ForcedUpdate
                                                        : ConfigDecision::Update);
        if (c.isplayer) {
            EXPECT_EQ(doc.UpInfo.PlayerUrl, "http://h/p.zip");
        }
    }
    const auto doc =
        interpret(test::QiyeDocument("ver=\"1.1\" info=\"新\" crc=\"77\" sha256=\"AB\"", "u"), updater);
    EXPECT_EQ(doc.info, "新");
    EXPECT_EQ(doc.UpInfo.Playercrc, 77u);
    EXPECT_EQ(doc.UpInfo.Playersha256, "AB");
    EXPECT_EQ(interpret("<c><other/></c>", updater).info, "");
}

TEST(ServiceDocumentReading, ReplacesAMissingOrOutdatedUpdaterOnly) {
    test::TempAppDir dir;
    const std::string updater = dir.file("update");
    const std::string probe = std::string(KAVO_BIN_DIR) + "/selfupdate_probe_old"; // marker 1.0.0.1
    auto doc = [&](const std::string& ver) {
        return "<c><version><update ver=\"" + ver + "\" crc=\"5\">http://h/up.zip</update></version></c>";
    };
    // No updater installed: asked for whatever the version says.
    auto missing = interpret(doc("0.1"), updater);
    EXPECT_TRUE(missing.UpInfo.isupdate);
    EXPECT_EQ(missing.UpInfo.UpdateUrl, "http://h/up.zip");
    EXPECT_EQ(missing.UpInfo.Updatecrc, 5u);

    for (const char* notNewer : {"1.0.0.1", "1.1", "1.0.0.0", ""}) {
        std::filesystem::copy_file(probe, updater, std::filesystem::copy_options::overwrite_existing);
        EXPECT_FALSE(interpret(doc(notNewer), updater).UpInfo.isupdate) << notNewer;
        EXPECT_TRUE(std::filesystem::exists(updater));
    }
    auto newer = interpret(doc("1.0.0.2"), updater);
    EXPECT_TRUE(newer.UpInfo.isupdate);
    EXPECT_FALSE(std::filesystem::exists(updater));
    EXPECT_FALSE(newer.UpInfo.isplayer);
    EXPECT_EQ(DecideUpdate(newer.UpInfo), ConfigDecision::Configured);
}

} // namespace
} // namespace kavo
