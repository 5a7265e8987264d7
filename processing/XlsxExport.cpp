#include "processing/XlsxExport.h"

#include "common/Error.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

namespace kavo {
namespace {

// A cell holds at most this many characters.
constexpr size_t kMaxCellChars = 32767;

std::string cutUtf8(const std::string& text, size_t maxChars) {
    if (text.size() <= maxChars)
        return text;
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

lxw_error writeCells(lxw_worksheet* sheet, const TExportLines& lines) {
    if (!sheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (size_t row = 0; row < lines.size(); ++row) {
        if (row >= LXW_ROW_MAX)
            return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
        const auto& cells = lines[row];
        for (size_t col = 0; col < cells.size(); ++col) {
            const std::string value = cutUtf8(cells[col], kMaxCellChars);
            lxw_error error = worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                                     static_cast<lxw_col_t>(col), value.c_str(), nullptr);
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

} // namespace

void SaveListToXlsx(const std::string& fileName, const TExportLines& lines) {
    lxw_workbook_options options = {};
    // Rows go out in order, so the sheet need not be held in memory.
    options.constant_memory = LXW_TRUE;
    Workbook workbook(workbook_new_opt(fileName.c_str(), &options));
    if (!workbook)
        throw KavoError("无法写入文件 " + fileName);
    lxw_error error = writeCells(workbook_add_worksheet(workbook.get(), nullptr), lines);
    // Closing writes the file, so a failed workbook is closed before its remains are removed.
    const lxw_error closed = workbook_close(workbook.release());
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR) {
        std::remove(fileName.c_str());
        throw KavoError("无法写入文件 " + fileName + " : " + lxw_strerror(error));
    }
}

} // namespace kavo
