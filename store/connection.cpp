#include "store/connection.h"

#include "store/component_schema.h"
#include "store/store_errors.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>

namespace store {

namespace fs = std::filesystem;
using namespace detail;

namespace detail {

std::pair<std::int64_t, std::int64_t> Connection::dataStamp()
{
    return {queryInt(handle(), "PRAGMA data_version"), sqlite3_total_changes64(handle())};
}

sqlite3* Connection::handle() const
{
    if (!db)
        throw StoreException(kErrClosed, "The database is closed.");
    return db.get();
}

const std::vector<std::string>& Connection::tableColumns()
{
    if (!baseColumns) {
        Stmt stmt = prepare(handle(), "SELECT name FROM pragma_table_info('" +
                                          std::string(schema::kCompsTable) + "')");
        std::vector<std::string> names;
        while (check(handle(), sqlite3_step(stmt.get())) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
        baseColumns = std::move(names);
    }
    return *baseColumns;
}

} // namespace detail

// --- Database ------------------------------------------------------------------------------

Database::Database(std::shared_ptr<detail::Connection> connection) : m_conn(std::move(connection))
{
}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() { close(); }

Database Database::open(const std::string& path, OpenOptions options)
{
    if (path.empty())
        throw StoreException(kErrPathNotValid, "No database path was given.");
    const fs::path file = fs::u8path(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw StoreException(kErrPathNotValid,
                             "'" + path + "' is not a valid path: its folder does not exist.");
    if (!fs::exists(file, ec))
        throw StoreException(kErrFileNotFound, "Could not find file '" + path + "'.");
    if (fs::is_directory(file, ec))
        throw StoreException(kErrCannotOpen, "'" + path + "' is a folder, not a database file.");

    auto conn = std::make_shared<detail::Connection>();
    conn->path = path;
    sqlite3* raw = nullptr;
    // READWRITE without CREATE: a file removed since the check above is an error, never a new
    // empty database. A read-only file opens read-only; writes then fail with kErrReadOnly.
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    conn->db.reset(raw);
    if (rc != SQLITE_OK) {
        if (!raw)
            throw StoreException(kErrOther, "Out of memory opening the database.");
        fail(raw, rc);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, options.busyTimeout_ms);
    try {
        exec(raw, "PRAGMA foreign_keys = ON");
        // Pages are read through a memory map rather than copied: after another connection
        // wrote, the main list re-reads the whole table, and this halves that time.
        exec(raw, "PRAGMA mmap_size = 67108864");
        // Reading the schema is the first real access: it tells a non-SQLite or damaged file
        // (NOTADB, CORRUPT) from a database, and a database without our table from ours.
        Stmt stmt = prepare(
            raw, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'tblComps'");
        check(raw, sqlite3_step(stmt.get()));
        if (sqlite3_column_int(stmt.get(), 0) == 0)
            throw StoreException(kErrNotADatabase,
                                 "'" + path +
                                     "' is not a component database (it has no table tblComps).");
    } catch (const StoreException& e) {
        if (e.number() == kErrNotADatabase && e.description().find(path) == std::string::npos)
            throw StoreException(kErrNotADatabase, "'" + path + "': " + e.description());
        throw;
    }
    return Database(std::move(conn));
}

void Database::close() noexcept
{
    if (m_conn)
        m_conn->db.reset();
}

bool Database::isOpen() const noexcept { return m_conn && m_conn->db; }

const std::string& Database::path() const
{
    static const std::string kNone;
    return m_conn ? m_conn->path : kNone;
}

Recordset Database::openRecordset(const std::string& source)
{
    if (!isOpen())
        throw StoreException(kErrClosed, "The database is closed.");
    Recordset rs(m_conn, source);
    rs.m_open = true;
    rs.load();
    return rs;
}

bool Database::hasCompsField(std::string_view name)
{
    if (!isOpen())
        throw StoreException(kErrClosed, "The database is closed.");
    const auto& columns = m_conn->tableColumns();
    return std::find(columns.begin(), columns.end(), name) != columns.end();
}

void Database::createFromScript(const std::string& path, std::string_view script)
{
    const fs::path file = fs::u8path(path);
    std::error_code ec;
    if (fs::exists(file, ec))
        throw StoreException(kErrCreate, "Cannot create '" + path + "': the file exists already.");
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), ec);
        if (ec)
            throw StoreException(kErrCreate,
                                 "Cannot create the folder of '" + path + "': " + ec.message());
    }
    // Built under a temporary name and renamed at the end, so the real name never shows a
    // half-written database, whatever happens in between.
    const fs::path temp = fs::u8path(path + ".part");
    fs::remove(temp, ec);
    try {
        {
            sqlite3* raw = nullptr;
            const int rc = sqlite3_open_v2(temp.string().c_str(), &raw,
                                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            DbHandle db(raw);
            if (rc != SQLITE_OK)
                fail(raw, rc);
            exec(raw, "BEGIN");
            const std::string text(script);
            exec(raw, text.c_str());
            exec(raw, "COMMIT");
            check(raw, sqlite3_close(db.release()));
        }
        if (fs::exists(file, ec))
            throw StoreException(kErrCreate,
                                 "Cannot create '" + path + "': the file exists already.");
        fs::rename(temp, file, ec);
        if (ec)
            throw StoreException(kErrCreate, "Cannot create '" + path + "': " + ec.message());
    } catch (const StoreException& e) {
        fs::remove(temp, ec);
        if (e.number() == kErrCreate)
            throw;
        throw StoreException(kErrCreate, "Cannot create '" + path + "': " + e.description());
    }
}

} // namespace store
