#pragma once

#include "store/recordset.h"

#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// Owning handles and small helpers over the SQLite C API, shared by the store's files. Every
// failure becomes StoreException with SQLite's extended result code and message.
namespace store::detail {

struct StmtCloser {
    void operator()(sqlite3_stmt* s) const noexcept;
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

struct DbCloser {
    void operator()(sqlite3* db) const noexcept;
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

/// Throws the connection's last error (or rc's text when there is no connection).
[[noreturn]] void fail(sqlite3* db, int rc);
/// Turns an SQLite result code into StoreException; passes OK, ROW and DONE.
int check(sqlite3* db, int rc);
Stmt prepare(sqlite3* db, std::string_view sql);
void exec(sqlite3* db, const char* sql);
/// Binds a field value (null, number or UTF-8 text) to parameter index (1-based).
void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& value);
/// A column of the current result row; integers read as numbers, blobs as text.
Value columnValue(sqlite3_stmt* stmt, int col);
/// One row of a one-column query: an integer, such as a count or a pragma's value.
std::int64_t queryInt(sqlite3* db, std::string_view sql);
std::string quoteIdentifier(std::string_view name);
/// The name to hand SQLite for a file path: a relative path that SQLite would read as a
/// special name (":memory:", a "file:" URI) gets "./" in front, so a path is always a file.
std::string sqliteFileName(const std::string& path);

// The whole write runs in one transaction taken with the write lock up front (IMMEDIATE), so
// a lock held by another connection shows as kErrBusy before anything changes, and a crash at
// any point leaves the old or the new record (SQLite's rollback journal).
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db);
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction();
    void commit();

private:
    sqlite3* m_db;
    bool m_done = false;
};

} // namespace store::detail
