// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchData.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// An open SQLite database, closed with the object. Every SQLite failure throws std::runtime_error.
class TSqliteDb {
public:
    TSqliteDb(const std::string& path, bool readOnly);
    ~TSqliteDb();
    TSqliteDb(const TSqliteDb&) = delete;
    TSqliteDb& operator=(const TSqliteDb&) = delete;

    void Exec(const std::string& sql);
    // The first column of the first row of a query, as text.
    std::string QueryText(const std::string& sql);
    sqlite3* Handle() const { return FDb; }

private:
    sqlite3* FDb = nullptr;
};

// The records live in table t, columns c0 to c9 in value-index order.
// Creates table t in the database at path (a missing file is made) and writes rows into it in one
// transaction through one prepared statement.
void SqliteWriteTable(const std::string& path, const TBenchRows& rows);
// Opens the database and reads every row of t into memory.
TBenchRows SqliteReadTable(const std::string& path);
// The rowids of the rows where any column contains text, ASCII letters folded (LIKE '%text%').
std::vector<int64_t> SqliteFilter(TSqliteDb& db, const std::string& text);
// Every rowid, ordered by the first column with NOCASE.
std::vector<int64_t> SqliteSortedRowids(TSqliteDb& db);
// Version and durability settings of a new connection, for the report's head.
std::string SqliteDescription(TSqliteDb& db);
