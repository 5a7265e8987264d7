#include "processing/Export.h"

#include "common/Error.h"
#include "common/Global.h"
#include "common/UserInterface.h"
#include "processing/TextExport.h"
#include "processing/UntObject.h"
#include "processing/XlsxExport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kavo {
namespace {

bool endsWithNoCase(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

ExportOutcome outcome(ExportResult result, std::string message, const std::string& fileName, int rows = 0) {
    return {result, std::move(message), rows, fileName};
}

} // namespace

bool ExportFormatForFile(const std::string& fileName, ExportFormat& format) {
    if (endsWithNoCase(fileName, ".xlsx"))
        format = ExportFormat::Xlsx;
    else if (endsWithNoCase(fileName, ".xls"))
        format = ExportFormat::Xls;
    else if (endsWithNoCase(fileName, ".txt"))
        format = ExportFormat::Text;
    else
        return false;
    return true;
}

bool ConfirmOverwrite(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec))
        return true;
    return ShowMsg(kOverwriteQuestion, "提示", kMsgQuestion) == kAnswerOk;
}

TExportLines BuildExportLines(const TSQLiteTable& rows, const std::string& fields, long long& newestId,
                              const ProgressCallback* progress) {
    TExportLines lines;
    lines.reserve(rows.Count() + 1);
    lines.push_back(BuildExportHeadings(fields));
    newestId = 0;
    if (rows.Count() == 0)
        return lines;
    const TExportRowBuilder builder(rows, fields);
    const int idColumn = rows.GetFieldIndex("ID");
    const int count = rows.Count();
    for (int i = 0; i < count; ++i) {
        const auto& row = rows.Rows()[i];
        auto cells = builder.BuildExportRow(row);
        if (!cells.empty()) {
            lines.push_back(std::move(cells));
            newestId = std::max(newestId, StrToInt64Def(row[idColumn]));
        }
        if (progress)
            progress->Report(i, count);
    }
    return lines;
}

void SaveExportLines(const std::string& fileName, ExportFormat format, const TExportLines& lines) {
    switch (format) {
    case ExportFormat::Text:
        SaveListToText(fileName, lines);
        break;
    case ExportFormat::Xls:
        SaveListToExcel(fileName, lines);
        break;
    case ExportFormat::Xlsx:
        SaveListToXlsx(fileName, lines);
        break;
    }
}

ExportOutcome ExportTaskRecords(TTaskList& tasks, const ExportRequest& request,
                                const ProgressCallback* progress) {
    const std::string& fileName = request.fileName;
    if (!request.listHasRows)
        return outcome(ExportResult::NoData, kExportNoDataText, fileName);
    std::error_code ec;
    std::filesystem::remove(fileName, ec);

    TExportLines lines;
    long long newestId = 0;
    try {
        std::string columns = "ID";
        for (const auto& field : ChosenFields(request.fields))
            columns += std::string(",") + field.column;
        auto rows = tasks.AllList(request.taskId, request.mode, columns);
        lines = BuildExportLines(*rows, request.fields, newestId, progress);
    } catch (const KavoError& error) {
        return outcome(ExportResult::Failed, std::string("读取记录失败，未导出：") + error.what(), fileName);
    }
    const int records = static_cast<int>(lines.size()) - 1;
    if (records <= 0)
        return outcome(ExportResult::NothingToExport, kExportNothingText, fileName);
    if (request.format == ExportFormat::Xls && records > kXlsMaxDataRows)
        return outcome(ExportResult::TooManyRows,
                       "共有 " + std::to_string(records) + " 条记录，超过 .xls 格式的上限 " +
                           std::to_string(kXlsMaxDataRows) + " 条，未导出。请改用 .xlsx 格式保存。",
                       fileName);
    try {
        SaveExportLines(fileName, request.format, lines);
    } catch (const KavoError& error) {
        return outcome(ExportResult::Failed, std::string("数据导出失败：") + error.what(), fileName);
    }
    tasks.SetDataLast(request.taskId, std::to_string(newestId));
    return outcome(ExportResult::Written, kExportDoneText, fileName, records);
}

} // namespace kavo
