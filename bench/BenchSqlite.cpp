// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSqlite.h"

#include <sqlite3.h>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error("sqlite: " + what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// A prepared statement, finalized with the object.
class TStatement {
public:
    TStatement(TSqliteDb& db, const std::string& sql) : FDb(db.Handle()) {
        if (sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &FStmt, nullptr) != SQLITE_OK)
            Fail(FDb, sql);
    }
    ~TStatement() { sqlite3_finalize(FStmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // True while a row is ready.
    bool Step() {
        const int rc = sqlite3_step(FStmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            Fail(FDb, sqlite3_sql(FStmt));
        return false;
    }
    void BindText(int index, const std::string& text) {
        if (sqlite3_bind_text(FStmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) !=
            SQLITE_OK)
            Fail(FDb, "bind");
    }
    void Reset() { sqlite3_reset(FStmt); }
    sqlite3_stmt* Handle() const { return FStmt; }

private:
    sqlite3* FDb;
    sqlite3_stmt* FStmt = nullptr;
};

std::string ColumnName(int i) {
    return "c" + std::to_string(i);
}

std::vector<int64_t> ReadRowids(TStatement& query) {
    std::vector<int64_t> rowids;
    while (query.Step())
        rowids.push_back(sqlite3_column_int64(query.Handle(), 0));
    return rowids;
}

} // namespace

TSqliteDb::TSqliteDb(const std::string& path, bool readOnly) {
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &FDb, flags, nullptr) != SQLITE_OK) {
        const std::string message = FDb ? sqlite3_errmsg(FDb) : "out of memory";
        sqlite3_close(FDb);
        throw std::runtime_error("sqlite: cannot open " + path + ": " + message);
    }
}

TSqliteDb::~TSqliteDb() {
    sqlite3_close(FDb);
}

void TSqliteDb::Exec(const std::string& sql) {
    if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(FDb, sql);
}

std::string TSqliteDb::QueryText(const std::string& sql) {
    TStatement query(*this, sql);
    if (!query.Step())
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query.Handle(), 0));
    return text ? text : "";
}

void SqliteWriteTable(const std::string& path, const TBenchRows& rows) {
    TSqliteDb db(path, false);
    std::string create = "CREATE TABLE t(";
    std::string insert = "INSERT INTO t VALUES(";
    for (int i = 0; i < kBenchTextBoxes; ++i) {
        create += (i ? ", " : "") + ColumnName(i) + " TEXT";
        insert += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    db.Exec("BEGIN");
    db.Exec(create + ")");
    TStatement statement(db, insert + ")");
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            statement.BindText(static_cast<int>(i) + 1, row[i]);
        statement.Step();
        statement.Reset();
    }
    db.Exec("COMMIT");
}

TBenchRows SqliteReadTable(const std::string& path) {
    TSqliteDb db(path, true);
    TStatement select(db, "SELECT * FROM t");
    sqlite3_stmt* handle = select.Handle();
    const int columns = sqlite3_column_count(handle);
    TBenchRows rows;
    while (select.Step()) {
        auto& row = rows.emplace_back();
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle, c));
            if (text)
                row.emplace_back(text, static_cast<size_t>(sqlite3_column_bytes(handle, c)));
            else
                row.emplace_back();
        }
    }
    return rows;
}

std::vector<int64_t> SqliteFilter(TSqliteDb& db, const std::string& text) {
    std::string sql = "SELECT rowid FROM t WHERE ";
    for (int i = 0; i < kBenchTextBoxes; ++i)
        sql += (i ? " OR " : "") + ColumnName(i) + " LIKE ?1";
    TStatement query(db, sql);
    const std::string pattern = "%" + text + "%";
    query.BindText(1, pattern);
    return ReadRowids(query);
}

std::vector<int64_t> SqliteSortedRowids(TSqliteDb& db) {
    TStatement query(db, "SELECT rowid FROM t ORDER BY " + ColumnName(0) + " COLLATE NOCASE");
    return ReadRowids(query);
}

std::string SqliteDescription(TSqliteDb& db) {
    return std::string("sqlite ") + sqlite3_libversion() + ", journal_mode " +
           db.QueryText("PRAGMA journal_mode") + ", synchronous " + db.QueryText("PRAGMA synchronous");
}
