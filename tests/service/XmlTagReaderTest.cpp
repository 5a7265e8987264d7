#include "service/XmlTagReader.h"
#include "common/Encoding.h"
#include <QString>

#include <gtest/gtest.h>

namespace kavo {
namespace {

std::vector<std::string> names(const std::vector<XmlElement>& elements) {
    std::vector<std::string> out;
    for (const auto& e : elements)
        out.push_back(e.name);
    return out;
}

TEST(XmlTagReader, ReadsElementsAttributesAndFirstTrimmedText) {
    const auto top =
        ReadXmlElements(ToGb18030("<?xml version=\"1.0\"?>\n<root><version>\n"
                                  "  <qiye ver=\"1.1\" info=\"新版本\">  http://h/p.zip \n</qiye>"
                                  "<update ver=\"1.0.0.3\"><![CDATA[http://h/u.zip]]></update>"
                                  "<other/></version><Version/></root>"));
    ASSERT_EQ(names(top), std::vector<std::string>{"root"});
    ASSERT_EQ(names(top[0].children), (std::vector<std::string>{"version", "Version"}));
    const auto& items = top[0].children[0].children;
    ASSERT_EQ(names(items), (std::vector<std::string>{"qiye", "update", "other"}));
    EXPECT_EQ(items[0].Attr("ver"), "1.1");
    EXPECT_EQ(items[0].Attr("info"), "新版本");
    EXPECT_EQ(items[0].Attr("crc"), "");
    EXPECT_EQ(items[0].text, "http://h/p.zip");
    EXPECT_EQ(items[1].text, "http://h/u.zip");
}

TEST(XmlTagReader, KeepsWhatItReadBeforeAFault) {
    const auto top = ReadXmlElements("<root><version><qiye ver=\"2\">http://h/a.zip</qiye><update ver=");
    ASSERT_EQ(names(top), std::vector<std::string>{"root"});
    ASSERT_EQ(top[0].children.size(), 1u);
    ASSERT_FALSE(top[0].children[0].children.empty());
    EXPECT_EQ(top[0].children[0].children[0].text, "http://h/a.zip");
}

TEST(XmlTagReader, UnreadableTextYieldsNoElement) {
    for (const std::string& text :
         {std::string(), std::string("just words"), std::string("\x01\xFF\xFE garbage"),
          std::string("<html><body>404 Not Found</body></html>").substr(0, 1)})
        EXPECT_TRUE(ReadXmlElements(text).empty()) << text;
}

TEST(XmlTagReader, ReadsByByteOrderMarkElseAsGb18030) {
    const std::string xml = "<c><version><qiye info=\"升级提示\"/></version></c>";
    std::string utf16le = "\xFF\xFE";
    for (char16_t unit : QString::fromStdString(xml).toStdU16String()) {
        utf16le += static_cast<char>(unit & 0xFF);
        utf16le += static_cast<char>(unit >> 8);
    }
    const std::string documents[] = {"\xEF\xBB\xBF" + xml, utf16le, ToGb18030(xml)};
    for (const auto& document : documents) {
        const auto top = ReadXmlElements(document);
        ASSERT_EQ(top.size(), 1u);
        EXPECT_EQ(top[0].children.at(0).children.at(0).Attr("info"), "升级提示");
    }
}

} // namespace
} // namespace kavo
