#include "processing/TextExport.h"

#include "common/Encoding.h"
#include "processing/ExportFile.h"

namespace kavo {
namespace {

void appendValue(std::string& out, const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        out += value;
        return;
    }
    out += '"';
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::string BuildTextFile(const TExportLines& lines) {
    std::string text;
    for (const auto& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (i > 0)
                text += ',';
            appendValue(text, line[i]);
        }
        text += "\r\n";
    }
    return ToGb18030(text);
}

void SaveListToText(const std::string& fileName, const TExportLines& lines) {
    WriteWholeFile(fileName, BuildTextFile(lines));
}

} // namespace kavo
