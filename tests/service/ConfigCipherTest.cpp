#include "service/ConfigCipher.h"
#include "RunProcess.h"
#include "TempAppDir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kavo {
namespace {

std::string hex(const std::string& bytes) {
    std::string text;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        text += two;
    }
    return text;
}

std::string keyHex(std::string_view key) {
    const DesKey folded = FoldConfigKey(key);
    return hex(std::string(folded.begin(), folded.end()));
}

TEST(ConfigKey, FoldsByPositionModuloEight) {
    // The 8th character lands in byte 0, the 9th is added onto byte 1 ('r' + 'z' = 0xEC).
    EXPECT_EQ(keyHex(kConfigKey), "62ec6b77376d3274");
    EXPECT_EQ(keyHex("ABCDEFGH"), hex("HABCDEFG"));
    EXPECT_EQ(keyHex("abc"), "0061626300000000");
    // Sums wrap modulo 256: 0xFF + 0x02 in byte 1.
    EXPECT_EQ(keyHex(std::string("\xFF") + "1234567" + "\x02"), "3701313233343536");
}

TEST(Des, MatchesTheClassicKnownAnswer) {
    const DesKey key{0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    const std::string plain("\x01\x23\x45\x67\x89\xAB\xCD\xEF", 8);
    EXPECT_EQ(hex(DesEcb(plain, key, true)), "85e813540f0ab405");
    EXPECT_EQ(DesEcb(DesEcb(plain, key, true), key, false), plain);
}

TEST(ConfigDocument, RoundTripsAndPadsWithZeros) {
    for (const std::string& plain : {std::string(), std::string("<a/>"), std::string("12345678"),
                                     std::string("<root>\0inner</root>", 19)}) {
        const std::string wire = EncryptConfigStream(plain, kConfigKey);
        EXPECT_EQ(wire.size(), (plain.size() + 7) / 8 * 8 + 4);
        std::string back = "old";
        ASSERT_TRUE(DecryptConfigStream(wire, back, kConfigKey));
        EXPECT_EQ(back, plain);
    }
}

TEST(ConfigDocument, RejectsWhatIsNotInTheWireLayout) {
    const std::string wire = EncryptConfigStream("<config><version/></config>", kConfigKey);
    auto withTrailer = [&](std::int32_t length) {
        std::string doc = wire.substr(0, wire.size() - 4);
        const auto bits = static_cast<std::uint32_t>(length);
        for (int shift = 0; shift < 32; shift += 8)
            doc += static_cast<char>((bits >> shift) & 0xFF);
        return doc;
    };
    const std::string invalid[] = {
        wire.substr(1),                                      // one byte cut off the ciphertext
        "<html><body>404 Not Found</body></html>",           // an error page
        "abc",                                               // shorter than the trailer
        withTrailer(-1),                                     // negative length
        withTrailer(static_cast<std::int32_t>(wire.size())), // longer than the deciphered data
    };
    for (const auto& document : invalid) {
        std::string dest = "untouched";
        EXPECT_FALSE(DecryptConfigStream(document, dest, kConfigKey));
        EXPECT_EQ(dest, "untouched");
    }
    std::string dest;
    EXPECT_TRUE(DecryptConfigStream(withTrailer(24), dest, kConfigKey));
    EXPECT_EQ(dest.size(), 24u);
}

TEST(ConfigDocument, EmptyKeyDoesNothing) {
    std::string dest = "untouched";
    EXPECT_TRUE(DecryptConfigStream("abc", dest, ""));
    EXPECT_EQ(dest, "untouched");
}

TEST(ConfigDocument, DecryptsWhatTheOpensslToolEnciphered) {
    test::TempAppDir dir;
    const std::string plain = "<?xml version=\"1.0\"?><c><version><qiye ver=\"1.5\">http://h/p.zip</qiye>"
                              "</version></c>";
    std::string padded = plain;
    padded.resize((plain.size() + 7) / 8 * 8, '\0');
    test::WriteFileBytes(dir.file("plain.bin"), padded);
    const auto run =
        test::RunProcess("/usr/bin/openssl",
                         {"enc", "-des-ecb", "-nopad", "-K", keyHex(kConfigKey), "-in", dir.file("plain.bin"),
                          "-out", dir.file("cipher.bin"), "-provider", "legacy", "-provider", "default"});
    if (run.exitCode != 0)
        GTEST_SKIP() << "openssl cannot do DES here: " << run.err;
    std::string wire = test::ReadFileBytes(dir.file("cipher.bin"));
    const auto length = static_cast<std::uint32_t>(plain.size());
    for (int shift = 0; shift < 32; shift += 8)
        wire += static_cast<char>((length >> shift) & 0xFF);
    std::string back;
    ASSERT_TRUE(DecryptConfigStream(wire, back, kConfigKey));
    EXPECT_EQ(back, plain);
    EXPECT_EQ(wire, EncryptConfigStream(plain, kConfigKey));
}

} // namespace
} // namespace kavo
