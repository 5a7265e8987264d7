#pragma once

#include "processing/ExportFields.h"

#include <string>

namespace kavo {

// The text export file: values joined by ",", CR LF after every line, GB18030 without a byte-order mark.
// A value holding a comma, a double quote or a line break is enclosed in double quotes (inner quotes
// doubled) so that it stays one column; every other value is written as it stands.
std::string BuildTextFile(const TExportLines& lines);
void SaveListToText(const std::string& fileName, const TExportLines& lines);

} // namespace kavo
