#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// The recordset layer over SQLite: a database connection and updatable, scrollable recordsets
// that behave as the component windows expect. A recordset reads all its rows when it opens or
// re-queries, so no statement or read transaction stays open between calls and another
// connection can write at any time. Writes go to tblComps by the row key CompID (an alias of the
// rowid), one transaction each. Every failure throws StoreException (store_errors.h).

namespace store {

namespace detail {
struct Connection;
}

/// A field value: null, a number or a text (UTF-8).
using Value = std::variant<std::monostate, double, std::string>;

/// Identifies one row of a recordset for as long as the row exists (its CompID).
struct Bookmark {
    std::int64_t key = 0;
    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

/// How long a statement waits for another connection's lock before failing with kErrBusy.
inline constexpr int kDefaultBusyTimeout_ms = 3000;

/// What one recordset may read before it fails with kErrReadLimit. A component store holds
/// hundreds of rows (the list shows at most 32768, --component finds any), so these only stop
/// a damaged or hostile file, such as an endless recursive view, from reading until memory or
/// the user's patience runs out.
inline constexpr std::size_t kDefaultMaxRows = 1'000'000;
inline constexpr std::size_t kDefaultMaxBytes = std::size_t{32} << 20; // cells as held in memory
inline constexpr int kDefaultMaxReadTime_ms = 10'000;
/// The longest text or blob one field may hold (a name or a number needs a few bytes).
inline constexpr int kMaxFieldBytes = 1 << 20;

struct OpenOptions {
    int busyTimeout_ms = kDefaultBusyTimeout_ms;
    std::size_t maxRows = kDefaultMaxRows;
    std::size_t maxBytes = kDefaultMaxBytes;
    int maxReadTime_ms = kDefaultMaxReadTime_ms;
};

class Recordset;
class ReadSnapshot;

/// One connection to a component database file, shared read and write.
class Database {
public:
    /// Opens an existing file; never creates one. Throws kErrPathNotValid when the folder is
    /// missing, kErrFileNotFound when the file is, kErrPermissionDenied when either may not be
    /// read, kErrNotADatabase when it is not a component database (not SQLite, damaged, or
    /// without tblComps).
    static Database open(const std::string& path, OpenOptions options = {});
    /// Creates a new database file from an SQL script, with its folder; never overwrites,
    /// even when several processes create the same file at once (one wins, the others fail).
    /// The file appears complete or not at all. Throws kErrCreate with the reason.
    static void createFromScript(const std::string& path, std::string_view script);
    /// Removes what a createFromScript of path killed before it finished left beside path
    /// (the file being built and its journal), when the process that made it no longer runs.
    /// Failures are ignored: such a file only costs space.
    static void removeStaleBuilds(const std::string& path) noexcept;

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    /// Closes the connection; recordsets opened on it fail with kErrClosed afterwards.
    void close() noexcept;
    bool isOpen() const noexcept;
    const std::string& path() const;

    /// A recordset over a view or table name ("qryCritCos") or a SELECT text.
    Recordset openRecordset(const std::string& source);
    /// Whether tblComps has the field (files made by earlier versions lack newer fields).
    bool hasCompsField(std::string_view name);

private:
    friend class ReadSnapshot;
    explicit Database(std::shared_ptr<detail::Connection> connection);
    std::shared_ptr<detail::Connection> m_conn;
};

/// One read transaction on the database: every recordset read or re-queried while it lives
/// sees the same version of the file, whatever other connections commit meanwhile (they wait
/// for it, up to their busy timeout). One taken while another is open on the connection does
/// nothing, so a caller can wrap a larger read around one that takes its own. No write may
/// happen while it lives.
class ReadSnapshot {
public:
    /// Throws StoreException when the database is closed or cannot be read (kErrBusy when a
    /// writer holds it past the timeout).
    explicit ReadSnapshot(Database& db);
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;
    ~ReadSnapshot();

private:
    std::shared_ptr<detail::Connection> m_conn;
    bool m_began = false;
};

class Recordset {
public:
    enum class EditMode { None, Adding, Editing };

    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    /// Drops a pending addition or edit and releases the rows. Safe to call twice.
    void close() noexcept;
    bool isOpen() const noexcept;

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    /// n rows on from the current row (back when negative); stops at BOF or EOF.
    void move(long n);
    bool bof() const;
    bool eof() const;
    int recordCount() const;
    /// Zero-based position of the current row; -1 when there is none.
    int absolutePosition() const;
    Bookmark bookmark() const;
    void setBookmark(Bookmark bookmark);
    /// Re-reads the rows, including what other connections wrote; the first row is current.
    void requery();

    /// Makes current the first row whose field equals value exactly (no SQL involved).
    void findFirst(std::string_view field, const Value& value);
    bool noMatch() const { return m_noMatch; }

    /// The field of the current row, or of the pending record while adding or editing.
    Value field(std::string_view name) const;
    /// The field as a number; nullopt when null (or text).
    std::optional<double> number(std::string_view name) const;
    /// The field as text; nullopt when null. Numbers are not converted.
    std::optional<std::string> text(std::string_view name) const;
    std::vector<std::string> fieldNames() const;
    bool hasField(std::string_view name) const;

    /// Writes a field of the pending record; stored by update().
    void setField(std::string_view name, Value value);
    void addNew();
    void edit();
    /// Stores the pending record atomically. An added record becomes the last row until the
    /// next requery; the current row does not change. On failure the pending record stays.
    void update();
    void cancelUpdate();
    /// Deletes the current row; the position stays there, so moveNext reaches the row after.
    void deleteRecord();
    EditMode editMode() const { return m_mode; }

private:
    friend class Database;
    struct Row {
        std::optional<std::int64_t> key;
        std::size_t first; // index of the row's first cell in m_cells
    };

    Recordset(std::shared_ptr<detail::Connection> connection, std::string source);
    void load();
    detail::Connection& connection() const;
    bool hasCurrent() const;
    void requireCurrent() const;
    void requireNoPending() const;
    std::size_t fieldIndex(std::string_view name) const;

    std::shared_ptr<detail::Connection> m_conn;
    std::string m_source;
    std::vector<std::string> m_fields;
    std::optional<std::size_t> m_keyField;
    std::vector<Row> m_rows;      // deleted rows leave m_rows; their cells stay unused
    std::vector<Value> m_cells;   // every row's fields in field order
    std::vector<Row> m_spareRows; // emptied arrays of an earlier read, reused by the next
    std::vector<Value> m_spareCells;
    // Current row: -1 is BOF, m_rows.size() is EOF. After deleteRecord the current row is
    // the deleted one, which lay just before m_pos.
    long m_pos = 0;
    bool m_onDeleted = false;
    std::optional<std::pair<std::int64_t, std::int64_t>> m_stamp; // file state when read
    bool m_noMatch = false;
    bool m_open = false;
    EditMode m_mode = EditMode::None;
    std::vector<Value> m_buffer;
    std::vector<bool> m_dirty;
};

/// Closes each handle in the order given (recordsets before their connection), then empties
/// it; unset handles are skipped.
template <class... Handle> void closeAll(std::optional<Handle>&... handles) noexcept
{
    ((handles ? handles->close() : void()), ...);
    (handles.reset(), ...);
}

} // namespace store
