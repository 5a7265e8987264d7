#include "store/DeliveredDatabase.h"

#include "common/Encoding.h"

#include <sqlite3.h>

#include <memory>
#include <string_view>

extern const std::string_view kavoSchemaSql;
extern const std::string_view kavoDivisionsTsv;

namespace kavo {
namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

bool exec(sqlite3* db, const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : "unknown error";
    sqlite3_free(message);
    return false;
}

bool insertDivisions(sqlite3* db, std::string& error) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "insert into tbl_dict(id,name,type) values (?,?,?)", -1, &raw, nullptr) !=
        SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    std::unique_ptr<sqlite3_stmt, StatementDeleter> insert(raw);
    std::string_view rest = kavoDivisionsTsv;
    while (!rest.empty()) {
        auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        auto tab1 = line.find('\t');
        auto tab2 = line.find('\t', tab1 + 1);
        if (line.empty() || tab1 == std::string_view::npos || tab2 == std::string_view::npos)
            continue;
        const std::string id(line.substr(0, tab1));
        const std::string name = ToGb18030(line.substr(tab1 + 1, tab2 - tab1 - 1));
        const std::string type(line.substr(tab2 + 1));
        sqlite3_reset(insert.get());
        sqlite3_bind_int(insert.get(), 1, std::stoi(id));
        sqlite3_bind_text(insert.get(), 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 3, std::stoi(type));
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            return false;
        }
    }
    return true;
}

} // namespace

bool CreateDeliveredDatabase(sqlite3* db, std::string& error) {
    if (!exec(db, "BEGIN", error))
        return false;
    if (exec(db, std::string(kavoSchemaSql), error) && insertDivisions(db, error) &&
        exec(db, "COMMIT", error))
        return true;
    std::string ignored;
    exec(db, "ROLLBACK", ignored);
    return false;
}

void UpgradeDeliveredDatabase(sqlite3* db) {
    // The known-company test runs once per company; without this index it scans the whole table.
    sqlite3_exec(db, "CREATE INDEX IF NOT EXISTS idx_list_pid_rid ON tbl_list(PID, rid)", nullptr, nullptr,
                 nullptr);
}

} // namespace kavo
