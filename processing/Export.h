#pragma once

#include "processing/ExportFields.h"
#include "processing/ProgressCallback.h"
#include "store/TaskList.h"

#include <cstdint>
#include <string>

namespace kavo {

enum class ExportFormat { Text, Xls, Xlsx };

// The format a file name asks for: ".xlsx" a workbook, ".xls" the worksheet, ".txt" text (any case);
// false for another ending.
bool ExportFormatForFile(const std::string& fileName, ExportFormat& format);

struct ExportRequest {
    int taskId = 0;
    std::uint8_t mode = 0; // 1 every record, otherwise only those newer than the export mark
    std::string fileName;
    std::string fields; // the field selection text, ",1,2,4,"
    ExportFormat format = ExportFormat::Xls;
    // Whether the front end has any record to show for the task; without one nothing is attempted.
    bool listHasRows = true;
};

enum class ExportResult {
    Written,         // "数据导出成功！"
    NoData,          // "还没有数据,无法导出"
    NothingToExport, // "没有数据需要导出！"
    TooManyRows,     // more rows than the .xls format can number; nothing written
    Failed,          // the records could not be read or the file not written
};

struct ExportOutcome {
    ExportResult result = ExportResult::Failed;
    std::string message; // what the user is told
    int rows = 0;        // records written
    std::string fileName;

    bool Written() const { return result == ExportResult::Written; }
};

inline constexpr const char* kExportDoneText = "数据导出成功！";
inline constexpr const char* kExportNothingText = "没有数据需要导出！";
inline constexpr const char* kExportNoDataText = "还没有数据,无法导出";
inline constexpr const char* kOverwriteQuestion = "文件已存在，是否覆盖?";

// Asks whether an existing file may be replaced; true when it does not exist or the user agreed.
bool ConfirmOverwrite(const std::string& fileName);

// Writes the task's records to the file and moves the task's export mark to the newest written record.
// An existing file of that name is removed first (its replacement was confirmed). The mark moves only
// when the file was written. `progress` gets (row, row count) while the rows are built.
ExportOutcome ExportTaskRecords(TTaskList& tasks, const ExportRequest& request,
                                const ProgressCallback* progress = nullptr);

// The lines of an export: the headings of the chosen fields and one line per record, in result order.
// `newestId` receives the largest ID among the records (0 when there are none).
TExportLines BuildExportLines(const TSQLiteTable& rows, const std::string& fields, long long& newestId,
                              const ProgressCallback* progress = nullptr);

// Writes the lines in the format; raises KavoError when the file cannot be written or holds too many rows.
void SaveExportLines(const std::string& fileName, ExportFormat format, const TExportLines& lines);

} // namespace kavo
