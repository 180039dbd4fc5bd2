#include "store/sqlite_handle.h"

#include "store/store_errors.h"

#include <sqlite3.h>

namespace store::detail {

void StmtCloser::operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }

void DbCloser::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }

void fail(sqlite3* db, int rc)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw StoreException(numberForSqliteCode(code ? code : rc), msg ? msg : "unknown error");
}

int check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(db, rc);
    return rc;
}

Stmt prepare(sqlite3* db, std::string_view sql)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    Stmt stmt(raw);
    check(db, rc);
    return stmt;
}

void exec(sqlite3* db, const char* sql)
{
    check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& value)
{
    int rc = SQLITE_OK;
    if (const double* d = std::get_if<double>(&value))
        rc = sqlite3_bind_double(stmt, index, *d);
    else if (const std::string* s = std::get_if<std::string>(&value))
        rc = sqlite3_bind_text(stmt, index, s->data(), static_cast<int>(s->size()),
                               SQLITE_TRANSIENT);
    else
        rc = sqlite3_bind_null(stmt, index);
    check(db, rc);
}

Value columnValue(sqlite3_stmt* stmt, int col)
{
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER:
        return static_cast<double>(sqlite3_column_int64(stmt, col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, col);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt, col));
        return std::string(text ? text : "",
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
    }
    default:
        return std::monostate{};
    }
}

std::int64_t queryInt(sqlite3* db, std::string_view sql)
{
    Stmt stmt = prepare(db, sql);
    check(db, sqlite3_step(stmt.get()));
    return sqlite3_column_int64(stmt.get(), 0);
}

std::string quoteIdentifier(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + '"';
}

std::string sqliteFileName(const std::string& path)
{
    if (path.starts_with(':') || path.starts_with("file:"))
        return "./" + path;
    return path;
}

WriteTransaction::WriteTransaction(sqlite3* db) : m_db(db) { exec(db, "BEGIN IMMEDIATE"); }

WriteTransaction::~WriteTransaction()
{
    if (!m_done)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit()
{
    exec(m_db, "COMMIT");
    m_done = true;
}

} // namespace store::detail
