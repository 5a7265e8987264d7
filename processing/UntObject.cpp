#include "processing/UntObject.h"

#include "common/Encoding.h"
#include "common/Error.h"
#include "processing/ExportFile.h"

namespace kavo {
namespace {

constexpr std::uint16_t kRecordBegin = 0x0809;
constexpr std::uint16_t kRecordCodePage = 0x0042;
constexpr std::uint16_t kRecordText = 0x0204;
constexpr std::uint16_t kRecordEmpty = 0x0201;
constexpr std::uint16_t kRecordEnd = 0x000A;
constexpr std::uint16_t kCodePageGbk = 936;
constexpr std::uint16_t kEmptyCellFormat = 23;
// A record's length field is 16-bit and a text cell spends 8 bytes before its text.
constexpr size_t kMaxTextBytes = 0xFFFF - 8;

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

// Cuts GBK text to at most `limit` bytes without splitting a two-byte character.
std::string cutGbk(const std::string& gbk, size_t limit) {
    if (gbk.size() <= limit)
        return gbk;
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t step = static_cast<unsigned char>(gbk[end]) >= 0x81 ? 2 : 1;
        if (end + step > limit)
            break;
        end += step;
    }
    return gbk.substr(0, end);
}

} // namespace

void TDS2Excel::cellHeader(std::uint16_t record, std::uint16_t length) {
    put16(Stream, record);
    put16(Stream, length);
    put16(Stream, FRow);
    put16(Stream, FCol);
}

void TDS2Excel::advance() {
    if (FCol == ColCount) {
        ++FRow;
        FCol = 0;
    } else {
        ++FCol;
    }
}

void TDS2Excel::writeText(const std::string& utf8) {
    const std::string text = cutGbk(ToGbk(utf8), kMaxTextBytes);
    const auto n = static_cast<std::uint16_t>(text.size());
    cellHeader(kRecordText, static_cast<std::uint16_t>(n + 8));
    put16(Stream, 0);
    put16(Stream, n);
    Stream += text;
    advance();
}

void TDS2Excel::writeEmpty() {
    cellHeader(kRecordEmpty, 6);
    put16(Stream, kEmptyCellFormat);
    advance();
}

std::string TDS2Excel::Bytes(bool WillWriteHead) {
    FWillWriteHead = WillWriteHead;
    FRow = 0;
    FCol = 0;
    ColCount = 0;
    Stream.clear();
    if (FDataSet.size() > static_cast<size_t>(kXlsMaxDataRows) + 1)
        throw KavoError("too many rows for an .xls worksheet: " + std::to_string(FDataSet.size() - 1));

    put16(Stream, kRecordBegin);
    put16(Stream, 8);
    for (std::uint16_t word : {0x0000, 0x0010, 0x0000, 0x0000})
        put16(Stream, word);
    // Without the code page a reader takes the text for its own default code page.
    put16(Stream, kRecordCodePage);
    put16(Stream, 2);
    put16(Stream, kCodePageGbk);

    size_t first = 0;
    if (FWillWriteHead && !FDataSet.empty()) {
        const auto& headings = FDataSet[0];
        first = 1;
        ColCount = static_cast<int>(headings.size()) - 1;
        for (const auto& heading : headings)
            writeText(heading);
    }
    for (size_t line = first; line < FDataSet.size(); ++line) {
        const auto& cells = FDataSet[line];
        for (int j = 0; j <= ColCount && j < static_cast<int>(cells.size()); ++j) {
            if (cells[j].empty())
                writeEmpty();
            else
                writeText(cells[j]);
        }
    }
    put16(Stream, kRecordEnd);
    put16(Stream, 0);
    return std::move(Stream);
}

void TDS2Excel::Save2File(const std::string& FileName, bool WillWriteHead) {
    WriteWholeFile(FileName, Bytes(WillWriteHead));
}

void SaveListToExcel(const std::string& fileName, const TExportLines& lines) {
    TDS2Excel(lines).Save2File(fileName, true);
}

} // namespace kavo
