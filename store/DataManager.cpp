#include "store/DataManager.h"

#include "common/Encoding.h"
#include "common/Error.h"
#include "common/Global.h"
#include "store/DeliveredDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace kavo {

namespace fs = std::filesystem;

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Prepares the first statement of `sql` (in the database's code page) and binds `args` as text.
Statement prepare(sqlite3* db, const std::string& sql, const std::vector<std::string>& args, int& rc) {
    const std::string native = ToGb18030(sql);
    sqlite3_stmt* raw = nullptr;
    rc = sqlite3_prepare_v2(db, native.c_str(), static_cast<int>(native.size()), &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK || !statement)
        return statement;
    // Arguments left over from an earlier statement of the same sequence have no place to go.
    const size_t placeholders = static_cast<size_t>(sqlite3_bind_parameter_count(statement.get()));
    for (size_t i = 0; i < args.size() && i < placeholders; ++i) {
        const std::string value = ToGb18030(args[i]);
        rc = sqlite3_bind_text(statement.get(), static_cast<int>(i + 1), value.data(),
                               static_cast<int>(value.size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK)
            return statement;
    }
    return statement;
}

std::string columnText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_column_blob(statement, column);
        return std::string(static_cast<const char*>(bytes), sqlite3_column_bytes(statement, column));
    }
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return FromGb18030(std::string_view(text, sqlite3_column_bytes(statement, column)));
    }
    default: {
        // Integers come out as decimal digits, reals in SQLite's general format.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return std::string(text, sqlite3_column_bytes(statement, column));
    }
    }
}

std::string queryError(sqlite3* db, int rc, const std::string& sql) {
    return "SQLite error " + std::to_string(rc) + " (" + sqlite3_errstr(rc) + ") in statement \"" + sql +
           "\": " + sqlite3_errmsg(db);
}

} // namespace

TSQLiteTable::TSQLiteTable(std::vector<std::string> columnNames, std::vector<std::vector<std::string>> rows)
    : names_(std::move(columnNames)), rows_(std::move(rows)) {
    for (auto& name : names_)
        name = upper(name);
}

void TSQLiteTable::Next() {
    if (row_ < rows_.size())
        ++row_;
}

std::string TSQLiteTable::GetFields(int i) const {
    if (Eof())
        throw KavoError("Table is at End of File");
    if (i < 0 || i >= ColCount())
        throw KavoError("Field index out of range: " + std::to_string(i));
    return rows_[row_][i];
}

int TSQLiteTable::GetFieldIndex(const std::string& name) const {
    if (names_.empty())
        throw KavoError("Field " + name + " Not found. Empty dataset");
    const std::string wanted = upper(name);
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == wanted)
            return static_cast<int>(i);
    throw KavoError("Field not found in dataset: " + name);
}

std::string TSQLiteTable::GetFieldByName(const std::string& name) const {
    return GetFields(GetFieldIndex(name));
}

TDataManager::TDataManager(const std::string& DataName, int /*pwd: no key is applied*/)
    : path_(GetAppPath() + "data/" + DataName) {
    open();
}

TDataManager::TDataManager(std::string path) : path_(std::move(path)) {
    open();
}

std::unique_ptr<TDataManager> TDataManager::OpenPath(const std::string& path) {
    return std::unique_ptr<TDataManager>(new TDataManager(path));
}

void TDataManager::open() {
    std::error_code ec;
    const bool existed = fs::exists(path_, ec);
    if (!existed) {
        auto folder = fs::path(path_).parent_path();
        if (!folder.empty())
            fs::create_directories(folder, ec);
    }
    int rc = sqlite3_open_v2(path_.c_str(), &sldb,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = sldb ? sqlite3_errmsg(sldb) : sqlite3_errstr(rc);
        sqlite3_close(sldb);
        sldb = nullptr;
        throw KavoError("Failed to open database \"" + path_ + "\" : " + message);
    }
    // Another process (kavo-cli beside the desktop program) may hold a short lock; wait instead of failing.
    sqlite3_busy_timeout(sldb, 5000);
    // WAL with NORMAL sync survives a killed process without losing a commit; only a power cut may roll
    // back the newest commits, and then the task's stored page sends the worker over them again.
    sqlite3_exec(sldb, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    if (!existed) {
        std::string error;
        if (!CreateDeliveredDatabase(sldb, error)) {
            sqlite3_close(sldb);
            sldb = nullptr;
            fs::remove(path_, ec);
            throw KavoError("Failed to open database \"" + path_ + "\" : " + error);
        }
    } else {
        UpgradeDeliveredDatabase(sldb);
    }
}

TDataManager::~TDataManager() {
    SLField.clear();
    sqlite3_close_v2(sldb);
}

void TDataManager::ReSet() {
    SLField.clear();
    SqlCmd.clear();
    SqlArgs.clear();
    fWhere.clear();
}

void TDataManager::AddField(const std::string& Field, const std::string& value) {
    auto name = trimmed(Field);
    if (!name.empty())
        SLField.push_back({0, name, value});
}

void TDataManager::AddField(const std::string& Field, int value) {
    auto name = trimmed(Field);
    if (!name.empty())
        SLField.push_back({1, name, std::to_string(value)});
}

void TDataManager::AddField(const std::string& Field, double value) {
    auto name = trimmed(Field);
    if (name.empty())
        return;
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    SLField.push_back({1, name, text});
}

void TDataManager::SetCondition(const std::string& condition) {
    auto text = trimmed(condition);
    if (!text.empty())
        fWhere = text;
}

int TDataManager::InsertTable(const std::string& table) {
    if (table.empty())
        return 0;
    std::string names, shown, bound;
    std::vector<std::string> args;
    for (const auto& field : SLField) {
        AppendWithSep(names, field.Field, ",");
        if (field.iType == 1) {
            AppendWithSep(shown, field.sValue, ",");
            AppendWithSep(bound, field.sValue, ",");
        } else {
            AppendWithSep(shown, QuotedSql(field.sValue), ",");
            AppendWithSep(bound, "?", ",");
            args.push_back(field.sValue);
        }
    }
    const std::string head = "insert into " + table + "(" + names + ") values (";
    SqlCmd = head + shown + ")";
    run(head + bound + ")", args);
    return 0;
}

void TDataManager::UpdateTable(const std::string& table) {
    if (table.empty())
        return;
    std::string shown, bound;
    std::vector<std::string> args;
    for (const auto& field : SLField) {
        if (field.iType == 1) {
            AppendWithSep(shown, field.Field + "=" + field.sValue, ",");
            AppendWithSep(bound, field.Field + "=" + field.sValue, ",");
        } else {
            AppendWithSep(shown, field.Field + "=" + QuotedSql(field.sValue), ",");
            AppendWithSep(bound, field.Field + "=?", ",");
            args.push_back(field.sValue);
        }
    }
    const std::string where = fWhere.empty() ? std::string() : " where " + fWhere;
    SqlCmd = "update " + table + " set " + shown + where;
    run("update " + table + " set " + bound + where, args);
}

void TDataManager::DeleteTable(const std::string& table) {
    if (table.empty())
        return;
    SqlCmd = "delete from " + table + (fWhere.empty() ? std::string() : " where " + fWhere);
    run(SqlCmd, {});
}

bool TDataManager::ExecSql(const std::string& sSql) {
    SqlCmd = sSql;
    return run(sSql, SqlArgs);
}

bool TDataManager::run(const std::string& sql, const std::vector<std::string>& args) {
    std::lock_guard lock(mutex_);
    int rc = SQLITE_OK;
    Statement statement = prepare(sldb, sql, args, rc);
    if (rc == SQLITE_OK && statement)
        rc = sqlite3_step(statement.get());
    else if (rc == SQLITE_OK)
        rc = SQLITE_MISUSE; // nothing but blanks or comments: no statement ran
    lastSucceeded_ = rc == SQLITE_DONE;
    lastError_ = lastSucceeded_ ? std::string() : queryError(sldb, rc, sql);
    return lastSucceeded_;
}

std::unique_ptr<TSQLiteTable> TDataManager::query(const std::string& sql,
                                                  const std::vector<std::string>& args) {
    std::lock_guard lock(mutex_);
    int rc = SQLITE_OK;
    Statement statement = prepare(sldb, sql, args, rc);
    if (rc != SQLITE_OK || !statement)
        throw KavoError(queryError(sldb, rc == SQLITE_OK ? SQLITE_MISUSE : rc, sql));
    const int columns = sqlite3_column_count(statement.get());
    std::vector<std::string> names;
    names.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(statement.get(), i);
        names.emplace_back(name ? name : "");
    }
    std::vector<std::vector<std::string>> rows;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        std::vector<std::string> row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.push_back(columnText(statement.get(), i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throw KavoError(queryError(sldb, rc, sql));
    return std::make_unique<TSQLiteTable>(std::move(names), std::move(rows));
}

std::unique_ptr<TSQLiteTable> TDataManager::GetTable() {
    if (SqlCmd.empty())
        return nullptr;
    return query(SqlCmd, SqlArgs);
}

std::unique_ptr<TSQLiteTable> TDataManager::GetTable(const std::string& field, const std::string& tablename,
                                                     const std::string& order, const std::string& seqid,
                                                     bool BDesc, int iPageSize, int iPageNo, int& SumPage) {
    SumPage = 0;
    const std::string where = fWhere.empty() ? std::string() : " where " + fWhere;
    try {
        SqlCmd = "select count(" + order + ") from " + tablename + where;
        auto count = query(SqlCmd, SqlArgs);
        if (count->Count() > 0 && count->ColCount() > 0)
            SumPage = StrToIntDef(count->GetFields(0));
        std::string page = "select " + field + " from " + tablename + where + " order by " + seqid;
        if (BDesc)
            page += " desc";
        const long long offset = static_cast<long long>(iPageSize) * (iPageNo - 1);
        SqlCmd = page + " limit " + std::to_string(offset) + "," + std::to_string(iPageSize);
        return query(SqlCmd, SqlArgs);
    } catch (const KavoError&) {
        return std::make_unique<TSQLiteTable>(std::vector<std::string>{},
                                              std::vector<std::vector<std::string>>{});
    }
}

int TDataManager::GetMaxID(const std::string& table, const std::string& FieldID) {
    SqlCmd = "select Max(" + FieldID + ") from " + table;
    auto result = query(SqlCmd, {});
    if (result->Count() == 0 || result->ColCount() == 0)
        return 0;
    return StrToIntDef(result->GetFields(0));
}

bool TDataManager::Transaction(const std::function<bool()>& body) {
    std::lock_guard lock(mutex_);
    if (sqlite3_exec(sldb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    bool ok = false;
    try {
        ok = body();
    } catch (...) {
        sqlite3_exec(sldb, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    if (ok && sqlite3_exec(sldb, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    sqlite3_exec(sldb, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

std::string QuotedSql(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

long long StrToInt64Def(const std::string& text) {
    const auto t = trimmed(text);
    if (t.empty())
        return 0;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size() || t.find_first_not_of("0123456789", i) != std::string::npos)
        return 0;
    try {
        return std::stoll(t);
    } catch (...) {
        return 0;
    }
}

int StrToIntDef(const std::string& text) {
    long long value = StrToInt64Def(text);
    if (value < INT32_MIN || value > INT32_MAX)
        return 0;
    return static_cast<int>(value);
}

} // namespace kavo
