#include "ProcessingFixture.h"

#include "common/Error.h"
#include "processing/Export.h"
#include "processing/UntObject.h"

#include <gmock/gmock.h>

namespace kavo::test {
namespace {

using ::testing::ElementsAre;

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(TDS2ExcelTest, WritesTheRecordLayoutByteForByte) {
    const TExportLines lines = {{"公司名称", "联系人", "电话"}, {"甲", " ", ""}};
    const std::string expected = "0908"
                                 "0800"
                                 "0000"
                                 "1000"
                                 "0000"
                                 "0000" // beginning
                                 "4200"
                                 "0200"
                                 "a803" // code page 936
                                 "0402"
                                 "1000"
                                 "0000"
                                 "0000"
                                 "0000"
                                 "0800"
                                 "b9abcbbec3fbb3c6"
                                 "0402"
                                 "0e00"
                                 "0000"
                                 "0100"
                                 "0000"
                                 "0600"
                                 "c1aacfb5c8cb"
                                 "0402"
                                 "0c00"
                                 "0000"
                                 "0200"
                                 "0000"
                                 "0400"
                                 "b5e7bbb0"
                                 "0402"
                                 "0a00"
                                 "0100"
                                 "0000"
                                 "0000"
                                 "0200"
                                 "bcd7"
                                 "0402"
                                 "0900"
                                 "0100"
                                 "0100"
                                 "0000"
                                 "0100"
                                 "20"
                                 "0102"
                                 "0600"
                                 "0100"
                                 "0200"
                                 "1700" // empty cell, format 23
                                 "0a00"
                                 "0000"; // end
    EXPECT_EQ(hex(TDS2Excel(lines).Bytes(true)), expected);
}

TEST(TDS2ExcelTest, RowsNeedNotBeFullAndTooManyRowsAreRefused) {
    // A short line lets the next one continue on the same sheet row; cells past the headings are dropped.
    const TExportLines lines = {{"a", "b"}, {"1"}, {"2", "3", "ignored"}, {}, {"4", "5"}};
    test::TempAppDir dir;
    SaveListToExcel(dir.file("short.xls"), lines);
    EXPECT_THAT(ReadXlsCells(dir.file("short.xls")),
                ElementsAre(ElementsAre("a", "b"), ElementsAre("1", "2"), ElementsAre("3", "4"),
                            ElementsAre("5", "")));

    TExportLines full(kXlsMaxDataRows + 1, std::vector<std::string>{"x"});
    EXPECT_NO_THROW(TDS2Excel(full).Bytes(true));
    full.push_back({"x"});
    EXPECT_THROW(TDS2Excel(full).Bytes(true), KavoError);
}

// Values that used to break cells or the encoding: separators, line breaks, characters outside GBK.
class SpreadsheetReadBackTest : public ProcessingTest {
protected:
    void SetUp() override {
        id = addTask("读回");
        addRecord({.PID = id,
                   .comname = "深圳市腾飞电子有限公司",
                   .lxr = "张三",
                   .job = "经理",
                   .tel = "0755-12345678",
                   .tel2 = "13912345678",
                   .addr = "广东省深圳市|福田区",
                   .qytype = "生产型",
                   .zycp = "电阻\t电容",
                   .zyhy = "电子\n元器件",
                   .zczy = "100万"});
        addRecord({.PID = id, .comname = "Émoji 😀 公司", .lxr = "李四", .addr = "𠀀地址"});
    }

    ExportOutcome exportAs(const std::string& name) {
        ExportRequest request;
        request.taskId = id;
        request.mode = 1;
        request.fileName = dir.file(name);
        request.fields = AllFieldsSelection();
        EXPECT_TRUE(ExportFormatForFile(name, request.format));
        return ExportTaskRecords(*tasks, request);
    }

    const std::vector<std::string> headings = {"公司名称", "联系人",   "职位",    "电话",
                                               "手机",     "传真",     "地址",    "企业类型",
                                               "主营产品", "主营行业", "注册资本"};
    const std::vector<std::string> first = {
        "深圳市腾飞电子有限公司", "张三",   "经理",       "0755-12345678", "13912345678", " ",
        "广东省深圳市|福田区",    "生产型", "电阻\t电容", "电子\n元器件",  "100万"};
    int id = 0;
};

TEST_F(SpreadsheetReadBackTest, XlsReadsBackCellByCellWithGbkReplacements) {
    ASSERT_TRUE(exportAs("out.xls").Written());
    const Table cells = ReadXlsCells(dir.file("out.xls"));
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], headings);
    // GBK holds neither É nor the two characters beyond the basic plane.
    EXPECT_EQ(cells[1], (std::vector<std::string>{"?moji ? 公司", "李四", " ", " ", " ", " ", "?地址", " ",
                                                  " ", " ", " "}));
    EXPECT_EQ(cells[2], first);
    EXPECT_THAT(column(id, "addr"), ElementsAre("广东省深圳市|福田区", "𠀀地址"));
}

TEST_F(SpreadsheetReadBackTest, XlsxReadsBackCellByCellWithEveryCharacter) {
    ASSERT_TRUE(exportAs("out.xlsx").Written());
    const Table cells = ReadXlsxCells(dir.file("out.xlsx"));
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], headings);
    EXPECT_EQ(cells[1], (std::vector<std::string>{"Émoji 😀 公司", "李四", " ", " ", " ", " ", "𠀀地址", " ",
                                                  " ", " ", " "}));
    EXPECT_EQ(cells[2], first);
}

TEST_F(SpreadsheetReadBackTest, TextKeepsEveryCharacterToo) {
    ASSERT_TRUE(exportAs("out.txt").Written());
    int exitCode = 0;
    const std::string rows = RunPython("import sys, csv, json\n"
                                       "with open(sys.argv[1], encoding=\"gb18030\", newline=\"\") as f:\n"
                                       "    print(json.dumps(list(csv.reader(f)), ensure_ascii=False))\n",
                                       dir.file("out.txt"), exitCode);
    ASSERT_EQ(exitCode, 0) << rows;
    EXPECT_NE(rows.find("\"Émoji 😀 公司\""), std::string::npos) << rows;
    EXPECT_NE(rows.find("\"电子\\n元器件\", \"100万\"]"), std::string::npos) << rows;
}

} // namespace
} // namespace kavo::test
