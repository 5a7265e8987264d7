#pragma once

#include "store/DataManager.h"

#include <array>
#include <string>
#include <vector>

namespace kavo {

// One exportable field: its code (the record list column number), its tbl_list column and heading.
struct TExportField {
    int code;
    const char* column;
    const char* heading;
};

inline constexpr int kExportFieldCount = 11;
extern const std::array<TExportField, kExportFieldCount> kExportFields;

// Line 0 holds the headings, every further line one record; each cell is one value, never split again.
using TExportLines = std::vector<std::vector<std::string>>;

// The field selection text (strWord) for these codes: ",1,2,4," in ascending order, "" for none.
std::string MakeFieldSelection(std::vector<int> codes);
// Every field chosen: ",1,2,...,11,".
std::string AllFieldsSelection();
bool IsFieldChosen(const std::string& strWord, int code);
// The chosen fields in code order.
std::vector<TExportField> ChosenFields(const std::string& strWord);

// The headings of the chosen fields (may be empty).
std::vector<std::string> BuildExportHeadings(const std::string& strWord);

// Reads one export result row by the chosen fields' columns. Column indexes are looked up once.
class TExportRowBuilder {
public:
    // Raises when the result lacks a chosen column.
    TExportRowBuilder(const TSQLiteTable& rows, const std::string& strWord);
    // The record's cells in code order; an empty value becomes " ". Empty when no field is chosen.
    std::vector<std::string> BuildExportRow(const std::vector<std::string>& row) const;

private:
    std::vector<int> columns_;
};

} // namespace kavo
