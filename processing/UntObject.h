#pragma once

#include "processing/ExportFields.h"

#include <cstdint>
#include <string>

namespace kavo {

// Row numbers of the worksheet are 16-bit and row 0 holds the headings.
inline constexpr int kXlsMaxDataRows = 65535;

// Writes lines as a minimal binary worksheet (.xls): beginning, code page 936, text cells in GBK,
// empty cells with format 23, end. A character that GBK cannot hold becomes "?".
class TDS2Excel {
public:
    explicit TDS2Excel(const TExportLines& aDataSet) : FDataSet(aDataSet) {}

    // The whole file; raises KavoError when the lines need more rows than the format can number.
    std::string Bytes(bool WillWriteHead);
    // Raises KavoError when the file cannot be written.
    void Save2File(const std::string& FileName, bool WillWriteHead);

private:
    void writeText(const std::string& utf8);
    void writeEmpty();
    void cellHeader(std::uint16_t record, std::uint16_t length);
    void advance();

    std::uint16_t FCol = 0;
    std::uint16_t FRow = 0;
    const TExportLines& FDataSet;
    std::string Stream;
    bool FWillWriteHead = false;
    int ColCount = 0;
};

// Writes the lines (line 0 the headings) as a worksheet file; raises KavoError on failure.
void SaveListToExcel(const std::string& fileName, const TExportLines& lines);

} // namespace kavo
