#include "store/recordset.h"

#include "store/store_errors.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <sqlite3.h>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kKeyField = "CompID";
constexpr std::string_view kBaseTable = "tblComps";

struct StmtCloser {
    void operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

struct DbCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

[[noreturn]] void fail(sqlite3* db, int rc)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw StoreException(numberForSqliteCode(code ? code : rc), msg ? msg : "unknown error");
}

/// Turns an SQLite result code into StoreException; passes OK, ROW and DONE.
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

void bind(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& value)
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

bool isIdentifier(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(),
                                     [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

// The whole write runs in one transaction taken with the write lock up front (IMMEDIATE), so
// a lock held by another connection shows as kErrBusy before anything changes, and a crash at
// any point leaves the old or the new record (SQLite's rollback journal).
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : m_db(db) { exec(db, "BEGIN IMMEDIATE"); }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction()
    {
        if (!m_done)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        exec(m_db, "COMMIT");
        m_done = true;
    }

private:
    sqlite3* m_db;
    bool m_done = false;
};

} // namespace

namespace detail {

struct Connection {
    DbHandle db;
    std::string path;
    std::optional<std::vector<std::string>> baseColumns;

    /// Changes whenever this or another connection has changed the file since the last
    /// call: a requery that finds the same stamp would read the same rows.
    std::pair<std::int64_t, std::int64_t> dataStamp()
    {
        Stmt stmt = prepare(handle(), "PRAGMA data_version");
        check(handle(), sqlite3_step(stmt.get()));
        return {sqlite3_column_int64(stmt.get(), 0), sqlite3_total_changes64(handle())};
    }

    sqlite3* handle() const
    {
        if (!db)
            throw StoreException(kErrClosed, "The database is closed.");
        return db.get();
    }

    const std::vector<std::string>& tableColumns()
    {
        if (!baseColumns) {
            Stmt stmt = prepare(handle(), "SELECT name FROM pragma_table_info('tblComps')");
            std::vector<std::string> names;
            while (check(handle(), sqlite3_step(stmt.get())) == SQLITE_ROW)
                names.emplace_back(
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
            baseColumns = std::move(names);
        }
        return *baseColumns;
    }
};

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

// --- Recordset -----------------------------------------------------------------------------

Recordset::Recordset(std::shared_ptr<detail::Connection> connection, std::string source)
    : m_conn(std::move(connection)), m_source(std::move(source))
{
}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::close() noexcept
{
    m_open = false;
    m_mode = EditMode::None;
    m_buffer.clear();
    m_dirty.clear();
    m_rows.clear();
    m_cells.clear();
    m_conn.reset();
}

bool Recordset::isOpen() const noexcept { return m_open && m_conn && m_conn->db; }

detail::Connection& Recordset::connection() const
{
    if (!m_open || !m_conn)
        throw StoreException(kErrClosed, "The recordset is closed.");
    m_conn->handle();
    return *m_conn;
}

void Recordset::load()
{
    sqlite3* db = connection().handle();
    const auto stamp = connection().dataStamp();
    Stmt stmt;
    if (isIdentifier(m_source)) {
        stmt = prepare(db, "SELECT * FROM " + quoteIdentifier(m_source));
    } else {
        // A SELECT text over tblComps gets the row key in front so its rows can be written;
        // when that does not prepare (another table, DISTINCT...) the recordset stays
        // read-only.
        std::string_view sql = m_source;
        const auto start = sql.find_first_not_of(" \t\r\n");
        std::string upper(sql.substr(start == std::string_view::npos ? sql.size() : start, 7));
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "SELECT ") {
            const std::string keyed =
                "SELECT tblComps.CompID AS CompID, " + std::string(sql.substr(start + 7));
            sqlite3_stmt* raw = nullptr;
            if (sqlite3_prepare_v2(db, keyed.c_str(), -1, &raw, nullptr) == SQLITE_OK)
                stmt.reset(raw);
            else
                sqlite3_finalize(raw);
        }
        if (!stmt)
            stmt = prepare(db, m_source);
    }
    const int columns = sqlite3_column_count(stmt.get());
    std::vector<std::string> fields;
    std::optional<std::size_t> keyField;
    for (int c = 0; c < columns; ++c) {
        fields.emplace_back(sqlite3_column_name(stmt.get(), c));
        if (!keyField && fields.back() == kKeyField)
            keyField = static_cast<std::size_t>(c);
    }
    // All cells in one array, row after row: one allocation per text instead of one more
    // per row, which is most of a 32768-row re-read.
    std::vector<Row> rows;
    std::vector<Value> cells;
    rows.reserve(m_rows.size());
    cells.reserve(m_cells.size());
    while (check(db, sqlite3_step(stmt.get())) == SQLITE_ROW) {
        Row row{std::nullopt, cells.size()};
        for (int c = 0; c < columns; ++c)
            cells.push_back(columnValue(stmt.get(), c));
        if (keyField &&
            sqlite3_column_type(stmt.get(), static_cast<int>(*keyField)) == SQLITE_INTEGER)
            row.key = sqlite3_column_int64(stmt.get(), static_cast<int>(*keyField));
        rows.push_back(row);
    }
    // Only now, with every row read, does the recordset change: a failed requery keeps the
    // rows it had.
    m_fields = std::move(fields);
    m_keyField = keyField;
    m_rows = std::move(rows);
    m_cells = std::move(cells);
    m_stamp = stamp;
    m_pos = 0;
    m_onDeleted = false;
    m_noMatch = false;
}

bool Recordset::hasCurrent() const
{
    return !m_onDeleted && m_pos >= 0 && m_pos < static_cast<long>(m_rows.size());
}

void Recordset::requireCurrent() const
{
    connection();
    if (m_onDeleted)
        throw StoreException(kErrNoCurrentRecord, "No current record: it has been deleted.");
    if (!hasCurrent())
        throw StoreException(kErrNoCurrentRecord, "No current record.");
}

void Recordset::requireNoPending() const
{
    connection();
    if (m_mode != EditMode::None)
        throw StoreException(kErrPendingUpdate,
                             "An addition or edit is pending; update or cancel it first.");
}

std::size_t Recordset::fieldIndex(std::string_view name) const
{
    const auto it = std::find(m_fields.begin(), m_fields.end(), name);
    if (it == m_fields.end())
        throw StoreException(kErrFieldNotFound,
                             "The recordset has no field '" + std::string(name) + "'.");
    return static_cast<std::size_t>(it - m_fields.begin());
}

void Recordset::moveFirst()
{
    requireNoPending();
    if (m_rows.empty())
        throw StoreException(kErrNoCurrentRecord, "No current record: the recordset is empty.");
    m_pos = 0;
    m_onDeleted = false;
}

void Recordset::moveLast()
{
    requireNoPending();
    if (m_rows.empty())
        throw StoreException(kErrNoCurrentRecord, "No current record: the recordset is empty.");
    m_pos = static_cast<long>(m_rows.size()) - 1;
    m_onDeleted = false;
}

void Recordset::moveNext()
{
    requireNoPending();
    if (m_onDeleted) {
        m_onDeleted = false; // m_pos already names the row that followed the deleted one
        return;
    }
    if (m_rows.empty() || m_pos >= static_cast<long>(m_rows.size()))
        throw StoreException(kErrNoCurrentRecord,
                             "No current record: already past the last record.");
    ++m_pos;
}

void Recordset::movePrevious()
{
    requireNoPending();
    if (m_onDeleted) {
        m_onDeleted = false;
        --m_pos;
        return;
    }
    if (m_rows.empty() || m_pos < 0)
        throw StoreException(kErrNoCurrentRecord,
                             "No current record: already before the first record.");
    --m_pos;
}

void Recordset::move(long n)
{
    requireNoPending();
    requireCurrent();
    const long size = static_cast<long>(m_rows.size());
    m_pos = std::clamp(m_pos + n, -1L, size);
}

bool Recordset::bof() const
{
    connection();
    return m_rows.empty() || (!m_onDeleted && m_pos < 0);
}

bool Recordset::eof() const
{
    connection();
    return m_rows.empty() || (!m_onDeleted && m_pos >= static_cast<long>(m_rows.size()));
}

int Recordset::recordCount() const
{
    connection();
    return static_cast<int>(std::min<std::size_t>(m_rows.size(), 0x7fffffff));
}

int Recordset::absolutePosition() const
{
    connection();
    return hasCurrent() ? static_cast<int>(m_pos) : -1;
}

Bookmark Recordset::bookmark() const
{
    requireCurrent();
    const Row& row = m_rows[static_cast<std::size_t>(m_pos)];
    if (!row.key)
        throw StoreException(kErrBadBookmark, "This recordset has no row key, so no bookmarks.");
    return Bookmark{*row.key};
}

void Recordset::setBookmark(Bookmark bookmark)
{
    requireNoPending();
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const Row& r) { return r.key == bookmark.key; });
    if (it == m_rows.end())
        throw StoreException(kErrBadBookmark,
                             "Not a valid bookmark: the record is no longer in the recordset.");
    m_pos = static_cast<long>(it - m_rows.begin());
    m_onDeleted = false;
}

void Recordset::requery()
{
    requireNoPending();
    // The main list re-queries on every focus; when nothing was written since the rows were
    // read, reading them again would give the same rows, so only the position is reset.
    if (m_stamp && connection().dataStamp() == *m_stamp) {
        m_pos = 0;
        m_onDeleted = false;
        m_noMatch = false;
        return;
    }
    load();
}

void Recordset::findFirst(std::string_view field, const Value& value)
{
    requireNoPending();
    const std::size_t index = fieldIndex(field);
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const Row& r) { return m_cells[r.first + index] == value; });
    m_noMatch = it == m_rows.end();
    if (!m_noMatch) {
        m_pos = static_cast<long>(it - m_rows.begin());
        m_onDeleted = false;
    }
}

Value Recordset::field(std::string_view name) const
{
    connection();
    const std::size_t index = fieldIndex(name);
    if (m_mode != EditMode::None)
        return m_buffer[index];
    requireCurrent();
    return m_cells[m_rows[static_cast<std::size_t>(m_pos)].first + index];
}

std::optional<double> Recordset::number(std::string_view name) const
{
    const Value v = field(name);
    if (const double* d = std::get_if<double>(&v))
        return *d;
    return std::nullopt;
}

std::optional<std::string> Recordset::text(std::string_view name) const
{
    Value v = field(name);
    if (std::string* s = std::get_if<std::string>(&v))
        return std::move(*s);
    return std::nullopt;
}

std::vector<std::string> Recordset::fieldNames() const { return m_fields; }

void Recordset::setField(std::string_view name, Value value)
{
    detail::Connection& conn = connection();
    if (m_mode == EditMode::None)
        throw StoreException(kErrNoPendingUpdate, "Field written without AddNew or Edit.");
    const std::size_t index = fieldIndex(name);
    const auto& columns = conn.tableColumns();
    if (name == kKeyField || std::find(columns.begin(), columns.end(), name) == columns.end())
        throw StoreException(kErrNotUpdatable,
                             "Field '" + std::string(name) + "' cannot be updated.");
    m_buffer[index] = std::move(value);
    m_dirty[index] = true;
}

void Recordset::addNew()
{
    requireNoPending();
    m_buffer.assign(m_fields.size(), Value{});
    m_dirty.assign(m_fields.size(), false);
    m_mode = EditMode::Adding;
}

void Recordset::edit()
{
    requireNoPending();
    requireCurrent();
    if (!m_rows[static_cast<std::size_t>(m_pos)].key)
        throw StoreException(kErrNotUpdatable, "This recordset cannot be updated.");
    const auto first =
        m_cells.begin() + static_cast<long>(m_rows[static_cast<std::size_t>(m_pos)].first);
    m_buffer.assign(first, first + static_cast<long>(m_fields.size()));
    m_dirty.assign(m_fields.size(), false);
    m_mode = EditMode::Editing;
}

void Recordset::update()
{
    sqlite3* db = connection().handle();
    if (m_mode == EditMode::None)
        throw StoreException(kErrNoPendingUpdate, "Update without AddNew or Edit.");
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_dirty[i])
            changed.push_back(i);

    std::string sql;
    if (m_mode == EditMode::Adding) {
        sql = "INSERT INTO " + std::string(kBaseTable);
        if (changed.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (std::size_t i : changed) {
                names += (names.empty() ? "" : ", ") + quoteIdentifier(m_fields[i]);
                marks += marks.empty() ? "?" : ", ?";
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
    } else {
        sql = "UPDATE " + std::string(kBaseTable) + " SET ";
        for (std::size_t n = 0; n < changed.size(); ++n)
            sql += (n ? ", " : "") + quoteIdentifier(m_fields[changed[n]]) + " = ?";
        sql += " WHERE CompID = ?";
    }

    std::int64_t key = 0;
    if (m_mode == EditMode::Editing && !changed.empty()) {
        key = *m_rows[static_cast<std::size_t>(m_pos)].key;
    }
    if (m_mode == EditMode::Adding || !changed.empty()) {
        WriteTransaction tx(db);
        Stmt stmt = prepare(db, sql);
        int index = 1;
        for (std::size_t i : changed)
            bind(db, stmt.get(), index++, m_buffer[i]);
        if (m_mode == EditMode::Editing)
            check(db, sqlite3_bind_int64(stmt.get(), index, key));
        check(db, sqlite3_step(stmt.get()));
        if (m_mode == EditMode::Editing && sqlite3_changes(db) == 0)
            throw StoreException(kErrRecordGone,
                                 "The record was deleted through another connection.");
        if (m_mode == EditMode::Adding)
            key = sqlite3_last_insert_rowid(db);
        stmt.reset();
        tx.commit();
    }

    if (m_mode == EditMode::Adding) {
        if (m_keyField)
            m_buffer[*m_keyField] = static_cast<double>(key);
        const bool wasAtEof = m_pos >= static_cast<long>(m_rows.size());
        m_rows.push_back(Row{key, m_cells.size()});
        std::move(m_buffer.begin(), m_buffer.end(), std::back_inserter(m_cells));
        if (wasAtEof && !m_onDeleted)
            m_pos = static_cast<long>(m_rows.size());
    } else {
        std::move(m_buffer.begin(), m_buffer.end(),
                  m_cells.begin() +
                      static_cast<long>(m_rows[static_cast<std::size_t>(m_pos)].first));
    }
    m_buffer.clear();
    m_dirty.clear();
    m_mode = EditMode::None;
}

void Recordset::cancelUpdate()
{
    connection();
    if (m_mode == EditMode::None)
        throw StoreException(kErrNoPendingUpdate, "CancelUpdate without AddNew or Edit.");
    m_mode = EditMode::None;
    m_buffer.clear();
    m_dirty.clear();
}

void Recordset::deleteRecord()
{
    sqlite3* db = connection().handle();
    requireNoPending();
    requireCurrent();
    const auto& row = m_rows[static_cast<std::size_t>(m_pos)];
    if (!row.key)
        throw StoreException(kErrNotUpdatable, "This recordset cannot be updated.");
    {
        WriteTransaction tx(db);
        Stmt stmt = prepare(db, "DELETE FROM tblComps WHERE CompID = ?");
        check(db, sqlite3_bind_int64(stmt.get(), 1, *row.key));
        check(db, sqlite3_step(stmt.get()));
        stmt.reset();
        tx.commit();
    }
    // A row another connection had deleted already is gone either way: what was asked holds.
    m_rows.erase(m_rows.begin() + m_pos);
    m_onDeleted = true;
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
