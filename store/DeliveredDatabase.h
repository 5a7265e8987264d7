#pragma once

#include <string>

struct sqlite3;

namespace kavo {

// Fills a new, empty database with the delivered tables and the province and city rows.
bool CreateDeliveredDatabase(sqlite3* db, std::string& error);
// Brings a database from an earlier installation up to what this version expects (indexes only;
// stored rows are never rewritten).
void UpgradeDeliveredDatabase(sqlite3* db);

} // namespace kavo
