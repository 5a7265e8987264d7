#pragma once

#include "processing/ExportFields.h"

#include <string>

namespace kavo {

// Writes the lines (line 0 the headings) as an .xlsx workbook with one sheet of text cells.
// Raises KavoError when the workbook cannot be written.
void SaveListToXlsx(const std::string& fileName, const TExportLines& lines);

} // namespace kavo
