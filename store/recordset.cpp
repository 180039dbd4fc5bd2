#include "store/recordset.h"

#include "store/component_schema.h"
#include "store/connection.h"
#include "store/store_errors.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <iterator>
#include <sqlite3.h>

namespace store {

using namespace detail;

namespace {

bool isIdentifier(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(),
                                     [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

} // namespace

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
    m_rows = {};
    m_cells = {};
    m_spareRows = {};
    m_spareCells = {};
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
    Connection& conn = connection();
    sqlite3* db = conn.handle();
    const auto stamp = conn.dataStamp();
    // A bare name is a view or table; anything else is a SELECT text. Rows can be written when
    // the result has the key field (the views and the editor's query select it).
    Stmt stmt = prepare(db, isIdentifier(m_source) ? "SELECT * FROM " + quoteIdentifier(m_source)
                                                   : m_source);
    const int columns = sqlite3_column_count(stmt.get());
    std::vector<std::string> fields;
    std::optional<std::size_t> keyField;
    for (int c = 0; c < columns; ++c) {
        fields.emplace_back(sqlite3_column_name(stmt.get(), c));
        if (!keyField && fields.back() == schema::kKeyField)
            keyField = static_cast<std::size_t>(c);
    }
    const OpenOptions& limits = conn.limits;
    const auto overLimit = [&](const std::string& why) {
        return StoreException(kErrReadLimit, "'" + m_source + "' was not read: " + why +
                                                 ". A component database holds far less; "
                                                 "the file may be damaged.");
    };
    // All cells in one array, row after row: one allocation per text instead of one more
    // per row, which is most of a 32768-row re-read.
    // The arrays of the read before last are reused: a fresh 32768-row array is megabytes of
    // new pages, and faulting them in cost more than reading the rows.
    std::vector<Row> rows = std::move(m_spareRows);
    std::vector<Value> cells = std::move(m_spareCells);
    rows.clear();
    cells.clear();
    rows.reserve(m_rows.size());
    cells.reserve(m_cells.size());
    std::size_t bytes = 0;
    conn.readDeadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.maxReadTime_ms);
    struct DeadlineReset {
        Connection& conn;
        ~DeadlineReset() { conn.readDeadline.reset(); }
    } deadlineReset{conn};
    for (;;) {
        const int rc = sqlite3_step(stmt.get());
        if (rc == SQLITE_DONE)
            break;
        if ((rc & 0xff) == SQLITE_INTERRUPT)
            throw overLimit("reading took longer than " + std::to_string(limits.maxReadTime_ms) +
                            " ms");
        if ((rc & 0xff) == SQLITE_TOOBIG)
            throw overLimit("a field is longer than " + std::to_string(kMaxFieldBytes) + " bytes");
        check(db, rc);
        if (rows.size() == limits.maxRows)
            throw overLimit("it has more than " + std::to_string(limits.maxRows) + " rows");
        Row row{std::nullopt, cells.size()};
        for (int c = 0; c < columns; ++c) {
            cells.push_back(columnValue(stmt.get(), c));
            if (const std::string* text = std::get_if<std::string>(&cells.back()))
                bytes += text->size();
        }
        bytes += sizeof(Value) * static_cast<std::size_t>(columns) + sizeof(Row);
        if (bytes > limits.maxBytes)
            throw overLimit("it holds more than " + std::to_string(limits.maxBytes) + " bytes");
        if (keyField &&
            sqlite3_column_type(stmt.get(), static_cast<int>(*keyField)) == SQLITE_INTEGER)
            row.key = sqlite3_column_int64(stmt.get(), static_cast<int>(*keyField));
        rows.push_back(row);
    }
    // Only now, with every row read, does the recordset change: a failed requery keeps the
    // rows it had.
    m_fields = std::move(fields);
    m_keyField = keyField;
    m_spareRows = std::exchange(m_rows, std::move(rows));
    m_spareCells = std::exchange(m_cells, std::move(cells));
    m_spareCells.clear(); // its texts freed now; the capacity stays for the next read
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

bool Recordset::hasField(std::string_view name) const
{
    return std::find(m_fields.begin(), m_fields.end(), name) != m_fields.end();
}

void Recordset::setField(std::string_view name, Value value)
{
    detail::Connection& conn = connection();
    if (m_mode == EditMode::None)
        throw StoreException(kErrNoPendingUpdate, "Field written without AddNew or Edit.");
    const std::size_t index = fieldIndex(name);
    const auto& columns = conn.tableColumns();
    if (name == schema::kKeyField ||
        std::find(columns.begin(), columns.end(), name) == columns.end())
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
        sql = "INSERT INTO " + std::string(schema::kCompsTable);
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
        sql = "UPDATE " + std::string(schema::kCompsTable) + " SET ";
        for (std::size_t n = 0; n < changed.size(); ++n)
            sql += (n ? ", " : "") + quoteIdentifier(m_fields[changed[n]]) + " = ?";
        sql += " WHERE " + std::string(schema::kKeyField) + " = ?";
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
            bindValue(db, stmt.get(), index++, m_buffer[i]);
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
        Stmt stmt = prepare(db, "DELETE FROM " + std::string(schema::kCompsTable) + " WHERE " +
                                    std::string(schema::kKeyField) + " = ?");
        check(db, sqlite3_bind_int64(stmt.get(), 1, *row.key));
        check(db, sqlite3_step(stmt.get()));
        stmt.reset();
        tx.commit();
    }
    // A row another connection had deleted already is gone either way: what was asked holds.
    m_rows.erase(m_rows.begin() + m_pos);
    m_onDeleted = true;
}

} // namespace store
