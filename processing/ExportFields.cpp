#include "processing/ExportFields.h"

#include <algorithm>

namespace kavo {

const std::array<TExportField, kExportFieldCount> kExportFields = {{
    {1, "comname", "公司名称"},
    {2, "lxr", "联系人"},
    {3, "job", "职位"},
    {4, "tel", "电话"},
    {5, "tel2", "手机"},
    {6, "tel3", "传真"},
    {7, "addr", "地址"},
    {8, "qytype", "企业类型"},
    {9, "zycp", "主营产品"},
    {10, "zyhy", "主营行业"},
    {11, "zczb", "注册资本"},
}};

std::string MakeFieldSelection(std::vector<int> codes) {
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    std::string word;
    for (int code : codes)
        if (code >= 1 && code <= kExportFieldCount)
            word += "," + std::to_string(code);
    return word.empty() ? word : word + ",";
}

std::string AllFieldsSelection() {
    std::vector<int> codes;
    for (const auto& field : kExportFields)
        codes.push_back(field.code);
    return MakeFieldSelection(codes);
}

bool IsFieldChosen(const std::string& strWord, int code) {
    return strWord.find("," + std::to_string(code) + ",") != std::string::npos;
}

std::vector<TExportField> ChosenFields(const std::string& strWord) {
    std::vector<TExportField> chosen;
    for (const auto& field : kExportFields)
        if (IsFieldChosen(strWord, field.code))
            chosen.push_back(field);
    return chosen;
}

std::vector<std::string> BuildExportHeadings(const std::string& strWord) {
    std::vector<std::string> headings;
    for (const auto& field : ChosenFields(strWord))
        headings.emplace_back(field.heading);
    return headings;
}

TExportRowBuilder::TExportRowBuilder(const TSQLiteTable& rows, const std::string& strWord) {
    for (const auto& field : ChosenFields(strWord))
        columns_.push_back(rows.GetFieldIndex(field.column));
}

std::vector<std::string> TExportRowBuilder::BuildExportRow(const std::vector<std::string>& row) const {
    std::vector<std::string> cells;
    cells.reserve(columns_.size());
    for (int column : columns_) {
        const std::string& value = row[column];
        cells.push_back(value.empty() ? std::string(" ") : value);
    }
    return cells;
}

} // namespace kavo
