#include "ProcessingFixture.h"

#include "common/Encoding.h"
#include "common/UserInterface.h"
#include "processing/Export.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace kavo::test {
namespace {

using ::testing::ElementsAre;

class ExportTest : public ProcessingTest {
protected:
    ExportOutcome exportTask(int taskId, const std::string& name, std::uint8_t mode,
                             const std::string& fields = AllFieldsSelection()) {
        ExportRequest request;
        request.taskId = taskId;
        request.mode = mode;
        request.fileName = dir.file(name);
        request.fields = fields;
        EXPECT_TRUE(ExportFormatForFile(name, request.format));
        return ExportTaskRecords(*tasks, request);
    }
};

TEST(ExportFieldsTest, SelectionTextListsChosenCodesInOrder) {
    EXPECT_EQ(MakeFieldSelection({4, 1, 2}), ",1,2,4,");
    EXPECT_EQ(MakeFieldSelection({}), "");
    EXPECT_EQ(AllFieldsSelection(), ",1,2,3,4,5,6,7,8,9,10,11,");
    EXPECT_TRUE(IsFieldChosen(",1,11,", 11));
    EXPECT_FALSE(IsFieldChosen(",11,", 1));
    EXPECT_THAT(BuildExportHeadings(",1,4,11,"), ElementsAre("公司名称", "电话", "注册资本"));
    EXPECT_TRUE(BuildExportHeadings("").empty());
}

TEST(ExportFieldsTest, FormatFollowsTheFileEnding) {
    struct Case {
        const char* name;
        bool known;
        ExportFormat format;
    };
    for (const Case& c : {Case{"a.xls", true, ExportFormat::Xls}, Case{"a.XLS", true, ExportFormat::Xls},
                          Case{"a.xlsx", true, ExportFormat::Xlsx}, Case{"a.Txt", true, ExportFormat::Text},
                          Case{"a.csv", false, ExportFormat::Xls}, Case{"xls", false, ExportFormat::Xls}}) {
        ExportFormat format = ExportFormat::Xls;
        EXPECT_EQ(ExportFormatForFile(c.name, format), c.known) << c.name;
        if (c.known) {
            EXPECT_EQ(format, c.format) << c.name;
        }
    }
}

TEST_F(ExportTest, TextFileHoldsChosenFieldsNewestFirstAndQuotesOnlyWhereNeeded) {
    const int id = addTask("文本");
    addRecord({.PID = id, .comname = "甲公司", .tel = "0755-1"});
    addRecord({.PID = id, .comname = "乙,有限", .lxr = "x", .tel = "", .tel2 = ""});
    addRecord({.PID = id, .comname = "丙\"引\"号", .tel = "1\r\n2"});
    const auto outcome = exportTask(id, "out.txt", 1, ",1,4,");
    ASSERT_TRUE(outcome.Written()) << outcome.message;
    EXPECT_EQ(outcome.message, "数据导出成功！");
    EXPECT_EQ(outcome.rows, 3);
    const std::string bytes = ReadFileBytes(dir.file("out.txt"));
    // GBK bytes of 公司名称, no byte-order mark.
    EXPECT_EQ(bytes.substr(0, 8), "\xB9\xAB\xCB\xBE\xC3\xFB\xB3\xC6");
    EXPECT_EQ(bytes, ToGb18030("公司名称,电话\r\n"
                               "\"丙\"\"引\"\"号\",\"1\r\n2\"\r\n"
                               "\"乙,有限\", \r\n"
                               "甲公司,0755-1\r\n"));
}

TEST_F(ExportTest, MarkFollowsTheNewestWrittenRecordInBothModes) {
    const int id = addTask("标记");
    const int other = addTask("别的");
    addRecord({.PID = other});
    addRecord({.PID = id, .comname = "一"});
    const int second = addRecord({.PID = id, .comname = "二"});
    EXPECT_EQ(exportMark(id), 0);

    auto outcome = exportTask(id, "new.txt", 0, ",1,");
    ASSERT_TRUE(outcome.Written());
    EXPECT_EQ(outcome.rows, 2);
    EXPECT_EQ(exportMark(id), second);

    outcome = exportTask(id, "again.txt", 0, ",1,");
    EXPECT_EQ(outcome.result, ExportResult::NothingToExport);
    EXPECT_EQ(outcome.message, "没有数据需要导出！");
    EXPECT_FALSE(std::filesystem::exists(dir.file("again.txt")));

    const int third = addRecord({.PID = id, .comname = "三"});
    outcome = exportTask(id, "new2.txt", 0, ",1,");
    EXPECT_EQ(outcome.rows, 1);
    EXPECT_EQ(ReadFileBytes(dir.file("new2.txt")), ToGb18030("公司名称\r\n三\r\n"));
    EXPECT_EQ(exportMark(id), third);

    const int fourth = addRecord({.PID = id, .comname = "四"});
    outcome = exportTask(id, "all.txt", 1, ",1,");
    EXPECT_EQ(outcome.rows, 4);
    EXPECT_EQ(ReadFileBytes(dir.file("all.txt")), ToGb18030("公司名称\r\n四\r\n三\r\n二\r\n一\r\n"));
    EXPECT_EQ(exportMark(id), fourth);
    EXPECT_EQ(exportTask(id, "none.txt", 0, ",1,").result, ExportResult::NothingToExport);
}

TEST_F(ExportTest, NothingIsWrittenWithoutRecordsOrFields) {
    const int id = addTask("空");
    addRecord({.PID = id});
    WriteFileBytes(dir.file("old.xls"), "old");

    auto outcome = exportTask(id, "old.xls", 1, "");
    EXPECT_EQ(outcome.result, ExportResult::NothingToExport);
    // Replacing was confirmed: the old file is gone even though nothing new was written.
    EXPECT_FALSE(std::filesystem::exists(dir.file("old.xls")));
    EXPECT_EQ(exportMark(id), 0);

    ExportRequest request;
    request.taskId = id;
    request.fileName = dir.file("x.txt");
    request.listHasRows = false;
    outcome = ExportTaskRecords(*tasks, request);
    EXPECT_EQ(outcome.result, ExportResult::NoData);
    EXPECT_EQ(outcome.message, "还没有数据,无法导出");

    EXPECT_EQ(exportTask(0, "nobody.txt", 1).result, ExportResult::NothingToExport);
}

TEST_F(ExportTest, FileThatCannotBeWrittenIsReportedAndLeavesTheMark) {
    const int id = addTask("失败");
    addRecord({.PID = id});
    for (const char* name : {"missing/out.txt", "missing/out.xls", "missing/out.xlsx"}) {
        const auto outcome = exportTask(id, name, 0);
        EXPECT_EQ(outcome.result, ExportResult::Failed) << name;
        EXPECT_NE(outcome.message.find("数据导出失败"), std::string::npos) << outcome.message;
        EXPECT_NE(outcome.message.find(dir.file(name)), std::string::npos) << outcome.message;
        EXPECT_EQ(exportMark(id), 0) << name;
    }
}

TEST_F(ExportTest, XlsRefusesMoreRowsThanItCanNumberButXlsxTakesThem) {
    const int id = addTask("大");
    addManyRecords(id, 65536);
    auto outcome = exportTask(id, "big.xls", 0, ",1,");
    EXPECT_EQ(outcome.result, ExportResult::TooManyRows);
    EXPECT_NE(outcome.message.find(".xlsx"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.xls")));
    EXPECT_EQ(exportMark(id), 0);

    outcome = exportTask(id, "big.xlsx", 0, ",1,");
    ASSERT_TRUE(outcome.Written()) << outcome.message;
    EXPECT_EQ(outcome.rows, 65536);
    EXPECT_GT(exportMark(id), 0);
}

TEST_F(ExportTest, OverwriteNeedsConsent) {
    EXPECT_TRUE(ConfirmOverwrite(dir.file("absent.txt")));
    WriteFileBytes(dir.file("there.txt"), "x");
    SetNextMsgAnswer(kAnswerCancel);
    EXPECT_FALSE(ConfirmOverwrite(dir.file("there.txt")));
    EXPECT_EQ(LastMsgText(), "文件已存在，是否覆盖?");
    SetNextMsgAnswer(kAnswerOk);
    EXPECT_TRUE(ConfirmOverwrite(dir.file("there.txt")));
}

TEST_F(ExportTest, ProgressStopsOnceItsWindowClearsIt) {
    const int id = addTask("进度");
    for (int i = 0; i < 4; ++i)
        addRecord({.PID = id});
    std::vector<std::pair<int, int>> reports;
    ProgressCallback progress;
    progress.Set([&](int position, int maximum) {
        reports.emplace_back(position, maximum);
        if (position == 1)
            progress.Clear();
    });
    ExportRequest request;
    request.taskId = id;
    request.mode = 1;
    request.fileName = dir.file("p.txt");
    request.fields = ",1,";
    request.format = ExportFormat::Text;
    EXPECT_TRUE(ExportTaskRecords(*tasks, request, &progress).Written());
    EXPECT_THAT(reports, ElementsAre(std::pair(0, 4), std::pair(1, 4)));
}

} // namespace
} // namespace kavo::test
