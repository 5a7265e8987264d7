#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;

namespace kavo {

// The in-memory result of a query: read completely when the query runs, owned by the caller.
// Values are text (NULL becomes empty, numbers their decimal form, stored text decoded to UTF-8).
class TSQLiteTable {
public:
    TSQLiteTable(std::vector<std::string> columnNames, std::vector<std::vector<std::string>> rows);

    int Count() const { return static_cast<int>(rows_.size()); }
    int ColCount() const { return static_cast<int>(names_.size()); }
    bool Eof() const { return row_ >= rows_.size(); }
    void Next();
    void MoveFirst() { row_ = 0; }

    // Column i of the current row; raises "Table is at End of File" past the last row.
    std::string GetFields(int i) const;
    std::string FieldAsString(int i) const { return GetFields(i); }
    // Column index by name, without regard to case; raises when the result lacks the column.
    int GetFieldIndex(const std::string& name) const;
    std::string GetFieldByName(const std::string& name) const;

    // Direct access for code that walks the whole result (export).
    const std::vector<std::string>& ColumnNames() const { return names_; }
    const std::vector<std::vector<std::string>>& Rows() const { return rows_; }

private:
    std::vector<std::string> names_; // upper-cased
    std::vector<std::vector<std::string>> rows_;
    size_t row_ = 0;
};

// One pending column assignment of the statement builder.
struct TDataField {
    signed char iType = 0; // 0 text (quoted), 1 numeric (bare)
    std::string Field;
    std::string sValue;
};

// The one data access object: owns the connection and a small statement builder.
// Every statement sequence (ReSet ... run) that may meet another thread holds Lock() for its length.
class TDataManager {
public:
    // Opens GetAppPath() + "data/" + DataName; a missing file is created with the delivered schema and
    // reference rows. Raises "Failed to open database ..." when SQLite cannot open it. `pwd` 0 = no key.
    TDataManager(const std::string& DataName, int pwd);
    // Opens (or creates, as above) the database at a full path.
    static std::unique_ptr<TDataManager> OpenPath(const std::string& path);
    ~TDataManager();
    TDataManager(const TDataManager&) = delete;
    TDataManager& operator=(const TDataManager&) = delete;

    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(mutex_); }

    void ReSet();
    void AddField(const std::string& Field, const std::string& value);
    void AddField(const std::string& Field, const char* value) { AddField(Field, std::string(value)); }
    void AddField(const std::string& Field, int value);
    void AddField(const std::string& Field, double value);

    const std::string& Condition() const { return fWhere; }
    void SetCondition(const std::string& condition);

    int InsertTable(const std::string& table);
    void UpdateTable(const std::string& table);
    void DeleteTable(const std::string& table);
    bool ExecSql(const std::string& sSql);

    // Runs SqlCmd with SqlArgs bound to its "?" placeholders (as text); none when SqlCmd is empty.
    std::unique_ptr<TSQLiteTable> GetTable();
    std::unique_ptr<TSQLiteTable> GetTable(const std::string& field, const std::string& tablename,
                                           const std::string& order, const std::string& seqid, bool BDesc,
                                           int iPageSize, int iPageNo, int& SumPage);
    int GetMaxID(const std::string& table, const std::string& FieldID);

    // Whether the last statement run by ExecSql or a builder ran to completion.
    bool LastSucceeded() const { return lastSucceeded_; }
    const std::string& LastError() const { return lastError_; }
    const std::string& Path() const { return path_; }
    sqlite3* Handle() const { return sldb; }

    // Runs several statements in one transaction; rolls back and returns false on failure.
    bool Transaction(const std::function<bool()>& body);

    std::string SqlCmd;
    // Text values bound to the "?" placeholders of SqlCmd, in order (GetTable, ExecSql).
    std::vector<std::string> SqlArgs;

private:
    explicit TDataManager(std::string path);
    void open();
    bool run(const std::string& sql, const std::vector<std::string>& args);
    std::unique_ptr<TSQLiteTable> query(const std::string& sql, const std::vector<std::string>& args);

    sqlite3* sldb = nullptr;
    std::vector<TDataField> SLField;
    std::string fWhere;
    std::string path_;
    bool lastSucceeded_ = false;
    std::string lastError_;
    std::recursive_mutex mutex_;
};

// A text value as an SQL literal: enclosed in single quotes, inner quotes doubled.
std::string QuotedSql(const std::string& value);
// Text as an integer the way the store reads numbers: not a number gives 0.
long long StrToInt64Def(const std::string& text);
int StrToIntDef(const std::string& text);

} // namespace kavo
