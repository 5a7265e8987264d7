// Task names, keywords, filters and record values that try to break a statement, a query address or an
// export: each is stored and read back byte for byte, searched as GB18030 bytes and exported intact as
// far as the format can hold it.
#include "ProcessingFixture.h"
#include "RunProcess.h"

#include "common/Encoding.h"
#include "engine/Listing.h"
#include "processing/Export.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

struct HostileText {
    const char* what;
    std::string value;
    std::string inXls; // what the GBK-only .xls format can keep: a character outside GBK becomes "?"
};

std::string repeated(const std::string& unit, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += unit;
    return text;
}

const std::vector<HostileText>& hostileTexts() {
    static const std::vector<HostileText> texts = {
        {"quotes", R"(it's "q" ' OR '1'='1'; DROP TABLE tbl_task; --)",
         R"(it's "q" ' OR '1'='1'; DROP TABLE tbl_task; --)"},
        {"percent signs", "100%纯棉 %s %d %% %25 %zz _x_ \\", "100%纯棉 %s %d %% %25 %zz _x_ \\"},
        {"emoji", "手机壳🙂👍🏽", "手机壳???"},
        {"outside GBK", "𠀀𪚥한국 五金", "???? 五金"},
        {"control characters",
         "a\tb\nc\rd\x01"
         "e\x7f"
         "f\x1b[0m",
         "a\tb\nc\rd\x01"
         "e\x7f"
         "f\x1b[0m"},
        {"5000 characters", repeated("长'%🙂", 1250), repeated("长'%?", 1250)},
    };
    return texts;
}

// The percent-decoded bytes of one query value of an address.
std::string queryValue(const std::string& url, const std::string& name) {
    size_t from = url.find("?" + name + "=");
    if (from == std::string::npos)
        from = url.find("&" + name + "=");
    if (from == std::string::npos)
        return "(missing)";
    from += name.size() + 2;
    const std::string encoded = url.substr(from, url.find('&', from) - from);
    std::string bytes;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size()) {
            bytes += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += encoded[i];
        }
    }
    return bytes;
}

// A value in the text export: quoted, with its quotes doubled, when it holds a comma, quote or line break.
std::string csvCell(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string cell = "\"";
    for (char c : value)
        cell += c == '"' ? std::string("\"\"") : std::string(1, c);
    return cell + "\"";
}

// An .xlsx cell's text as Excel shows it: the workbook writes a control character as "_xHHHH_", which
// openpyxl leaves as it stands.
std::string excelText(const std::string& stored) {
    std::string text;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored.compare(i, 2, "_x") == 0 && i + 7 <= stored.size() && stored[i + 6] == '_' &&
            stored.substr(i + 2, 4).find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            text += static_cast<char>(std::stoi(stored.substr(i + 2, 4), nullptr, 16));
            i += 6;
        } else {
            text += stored[i];
        }
    }
    return text;
}

class HostileInput : public ProcessingTest {
protected:
    int countRows(const std::string& sql) {
        auto lock = data->Lock();
        data->ReSet();
        data->SqlCmd = sql;
        return std::stoi(data->GetTable()->GetFields(0));
    }
};

TEST_F(HostileInput, TasksAndFiltersAreStoredAndSearchedIntact) {
    const int tables = countRows("select count(*) from sqlite_master where type='table'");
    std::vector<int> ids;
    for (const auto& text : hostileTexts()) {
        SCOPED_TRACE(text.what);
        TTaskInfo task;
        task.taskname = text.value;
        task.GetParam.province = text.value;
        task.GetParam.city = text.value + "市";
        task.GetParam.biztype = text.value;
        task.GetParam.annualRevenue = text.value;
        task.GetParam.employeescount = text.value;
        ASSERT_EQ(tasks->AddTask(task), 0);
        EXPECT_EQ(tasks->AddTask(task), -1); // found again by its name: the same task
        ids.push_back(task.ID);
    }
    EXPECT_EQ(countRows("select count(*) from sqlite_master where type='table'"), tables);
    EXPECT_EQ(countRows("select count(*) from tbl_task"), static_cast<int>(hostileTexts().size()));

    for (size_t i = 0; i < ids.size(); ++i) {
        const HostileText& text = hostileTexts()[i];
        SCOPED_TRACE(text.what);
        auto loaded = tasks->LoadTask(ids[i]);
        ASSERT_EQ(loaded.size(), 1u);
        TTaskInfo& task = *loaded[0];
        EXPECT_EQ(task.taskname, text.value);
        EXPECT_EQ(task.GetParam.province, text.value);
        EXPECT_EQ(task.GetParam.city, text.value + "市");
        EXPECT_EQ(task.GetParam.employeescount, text.value);

        // The search address carries each value as GB18030 bytes, percent-encoded: nothing in it can end
        // the value early or start another.
        const std::string url = BuildSearchUrl(task, 3, "http://127.0.0.1:1");
        const std::string query = url.substr(url.find('?') + 1);
        EXPECT_EQ(
            query.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._/:%&="),
            std::string::npos);
        EXPECT_EQ(queryValue(url, "keywords"), ToGb18030(text.value));
        EXPECT_EQ(FromGb18030(queryValue(url, "keywords")), text.value);
        EXPECT_EQ(FromGb18030(queryValue(url, "province")), text.value);
        EXPECT_EQ(FromGb18030(queryValue(url, "city")), text.value + "市");
        EXPECT_EQ(queryValue(url, "beginPage"), "3");
    }
}

TEST_F(HostileInput, RecordsAreStoredAndExportedWithinEachFormatsLimits) {
    const int taskId = addTask("hostile");
    for (size_t i = 0; i < hostileTexts().size(); ++i) {
        TTaskDeail record;
        record.PID = taskId;
        record.rid = "r" + std::to_string(i);
        record.comname = hostileTexts()[i].value;
        record.lxr = hostileTexts()[i].value;
        record.addr = hostileTexts()[i].value;
        ASSERT_EQ(tasks->AddTaskDeail(record), 1) << hostileTexts()[i].what;
    }
    const auto comnames = column(taskId, "comname");
    const auto addrs = column(taskId, "addr");
    ASSERT_EQ(comnames.size(), hostileTexts().size());
    for (size_t i = 0; i < comnames.size(); ++i) {
        EXPECT_EQ(comnames[i], hostileTexts()[i].value) << hostileTexts()[i].what;
        EXPECT_EQ(addrs[i], hostileTexts()[i].value) << hostileTexts()[i].what;
    }

    auto exported = [&](const std::string& name, ExportFormat format) {
        ExportRequest request;
        request.taskId = taskId;
        request.mode = 1;
        request.fileName = dir.file(name);
        request.fields = MakeFieldSelection({1, 2, 7});
        request.format = format;
        const ExportOutcome outcome = ExportTaskRecords(*tasks, request);
        EXPECT_TRUE(outcome.Written()) << outcome.message;
        EXPECT_EQ(outcome.rows, static_cast<int>(hostileTexts().size()));
        return request.fileName;
    };

    const std::string text = FromGb18030(ReadFileBytes(exported("hostile.txt", ExportFormat::Text)));
    const Table xls = ReadXlsCells(exported("hostile.xls", ExportFormat::Xls));
    const Table xlsx = ReadXlsxCells(exported("hostile.xlsx", ExportFormat::Xlsx));
    ASSERT_EQ(xls.size(), hostileTexts().size() + 1);
    ASSERT_EQ(xlsx.size(), hostileTexts().size() + 1);
    // Newest first: line 1 holds the last record.
    for (size_t i = 0; i < hostileTexts().size(); ++i) {
        const HostileText& hostile = hostileTexts()[i];
        SCOPED_TRACE(hostile.what);
        const std::string cell = csvCell(hostile.value);
        EXPECT_NE(text.find(cell + "," + cell + "," + cell + "\r\n"), std::string::npos);
        const size_t line = hostileTexts().size() - i;
        EXPECT_EQ(xls[line], std::vector<std::string>(3, hostile.inXls));
        ASSERT_EQ(xlsx[line].size(), 3u);
        for (const auto& cell : xlsx[line])
            EXPECT_EQ(excelText(cell), hostile.value);
    }
}

TEST(HostileInputCli, AddedTasksAreListedWithTheirWholeNames) {
    TempAppDir dir;
    for (const auto& text : hostileTexts()) {
        SCOPED_TRACE(text.what);
        const auto added = RunCli(dir.path(), {"add", text.value});
        ASSERT_EQ(added.exitCode, 0) << added.err;
        const std::string id = added.out.substr(0, added.out.find('\n'));
        // The listing is one line per task: tabs and line breaks of a name show as spaces.
        std::string shown = text.value;
        for (char& c : shown)
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        const auto listed = RunCli(dir.path(), {"tasks"});
        EXPECT_NE(listed.out.find(id + "\t" + shown + "\t0/10000\t"), std::string::npos) << listed.out;
    }
}

} // namespace
} // namespace kavo::test
