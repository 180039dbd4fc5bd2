#include "store/connection.h"

#include "store/component_schema.h"
#include "store/store_errors.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sqlite3.h>
#include <string>
#include <system_error>
#include <unistd.h>

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

namespace {

StoreException permissionDenied(const std::string& path, const char* what)
{
    return StoreException(kErrPermissionDenied, "Permission denied: " + std::string(what) + " '" +
                                                    path + "' may not be read.");
}

// Called by SQLite every kProgressSteps virtual-machine steps of this connection's
// statements; a non-zero result interrupts the statement.
int interruptAfterDeadline(void* connection)
{
    const auto& deadline = static_cast<const Connection*>(connection)->readDeadline;
    return deadline && std::chrono::steady_clock::now() > *deadline ? 1 : 0;
}
constexpr int kProgressSteps = 10'000; // some microseconds of work between clock reads

} // namespace

Database Database::open(const std::string& path, OpenOptions options)
{
    if (path.empty())
        throw StoreException(kErrPathNotValid, "No database path was given.");
    const fs::path file = fs::u8path(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    // Permission denied is told apart from absence: "not found" leads the main window to
    // offer another file, which cannot help when the user may not read this one.
    std::error_code ec;
    const fs::file_status folderStatus = fs::status(folder, ec);
    if (ec == std::errc::permission_denied)
        throw permissionDenied(path, "a folder on the path of");
    if (!fs::is_directory(folderStatus))
        throw StoreException(kErrPathNotValid,
                             "'" + path + "' is not a valid path: its folder does not exist.");
    const fs::file_status fileStatus = fs::status(file, ec);
    if (ec == std::errc::permission_denied)
        throw permissionDenied(path, "the folder of");
    if (!fs::exists(fileStatus))
        throw StoreException(kErrFileNotFound, "Could not find file '" + path + "'.");
    if (fs::is_directory(fileStatus))
        throw StoreException(kErrCannotOpen, "'" + path + "' is a folder, not a database file.");

    auto conn = std::make_shared<detail::Connection>();
    conn->path = path;
    conn->limits = options;
    sqlite3* raw = nullptr;
    // READWRITE without CREATE: a file removed since the check above is an error, never a new
    // empty database. A read-only file opens read-only; writes then fail with kErrReadOnly.
    const int rc = sqlite3_open_v2(sqliteFileName(path).c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    conn->db.reset(raw);
    if (rc != SQLITE_OK) {
        if (!raw)
            throw StoreException(kErrOther, "Out of memory opening the database.");
        if ((rc & 0xff) == SQLITE_CANTOPEN) {
            std::FILE* probe = std::fopen(path.c_str(), "rb");
            const int error = errno;
            if (probe)
                std::fclose(probe);
            else if (error == EACCES)
                throw permissionDenied(path, "the file");
        }
        fail(raw, rc);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, options.busyTimeout_ms);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, kMaxFieldBytes);
    sqlite3_progress_handler(raw, kProgressSteps, interruptAfterDeadline, conn.get());
    try {
        exec(raw, "PRAGMA foreign_keys = ON");
        // Pages are copied, never memory-mapped: a backup or sync tool that rewrites the file
        // in place (truncate, then write) would make a mapped read end the program with
        // SIGBUS, where a copied read fails with an error number. The lists are small, so
        // the copy costs little (bench/store_bench.cpp). Set explicitly because an SQLite
        // build may map by default.
        exec(raw, "PRAGMA mmap_size = 0");
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

ReadSnapshot::ReadSnapshot(Database& db) : m_conn(db.m_conn)
{
    sqlite3* raw = m_conn ? m_conn->handle() : nullptr;
    if (!raw)
        throw StoreException(kErrClosed, "The database is closed.");
    if (!sqlite3_get_autocommit(raw))
        return; // a transaction is open already: its snapshot holds
    exec(raw, "BEGIN");
    m_began = true;
    try {
        // BEGIN alone takes no lock; the first read does, and fixes the version read.
        queryInt(raw, "SELECT count(*) FROM sqlite_schema");
    } catch (...) {
        sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

ReadSnapshot::~ReadSnapshot()
{
    // Nothing was written, so ending it cannot lose anything; a failed COMMIT still ends it.
    if (m_began && m_conn && m_conn->db && !sqlite3_get_autocommit(m_conn->db.get()) &&
        sqlite3_exec(m_conn->db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(m_conn->db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
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

namespace {

// The database is built beside its target as "NAME.new-PID-R-R" (SQLite adds "-journal").
constexpr std::string_view kBuildMark = ".new-";

/// A name beside target that no other process picks: the database is built there.
fs::path uniqueSibling(const fs::path& target)
{
    std::random_device random;
    fs::path name = target;
    name += std::string(kBuildMark) + std::to_string(getpid()) + "-" + std::to_string(random()) +
            "-" + std::to_string(random());
    return name;
}

/// The process id in a build file's name after "NAME.new-", or 0 when there is none.
pid_t builderOf(std::string_view rest)
{
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    return ec == std::errc() && end != rest.data() && end < rest.data() + rest.size() &&
                   *end == '-' && pid > 0
               ? pid
               : 0;
}

/// Gives the complete file built at from the name to, in one step that fails when to exists
/// (the file stays at from). False when to exists; throws kErrCreate on other failures.
bool publishWithoutReplacing(const fs::path& from, const fs::path& to, const std::string& path)
{
    // A hard link fails with EEXIST when the name is taken; where the file system has no hard
    // links, a rename that refuses to replace does the same.
    int rc = ::link(from.c_str(), to.c_str());
    if (rc != 0 && errno != EEXIST)
        rc = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    else if (rc == 0)
        ::unlink(from.c_str());
    if (rc == 0)
        return true;
    if (errno == EEXIST)
        return false;
    throw StoreException(kErrCreate,
                         "Cannot create '" + path + "': " + std::generic_category().message(errno));
}

} // namespace

void Database::removeStaleBuilds(const std::string& path) noexcept
{
    try {
        const fs::path file = fs::u8path(path);
        const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
        const std::string prefix = file.filename().string() + std::string(kBuildMark);
        std::error_code ec;
        std::vector<fs::path> stale;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (!name.starts_with(prefix))
                continue;
            const pid_t pid = builderOf(std::string_view(name).substr(prefix.size()));
            // ESRCH: no such process. A live one (or one not ours to signal) keeps its files.
            if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
                stale.push_back(it->path());
        }
        for (const fs::path& p : stale)
            fs::remove(p, ec);
    } catch (...) {
        // Only space is at stake; the start goes on.
    }
}

void Database::createFromScript(const std::string& path, std::string_view script)
{
    const fs::path file = fs::u8path(path);
    const std::string exists = "Cannot create '" + path + "': the file exists already.";
    std::error_code ec;
    if (fs::exists(file, ec))
        throw StoreException(kErrCreate, exists);
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), ec);
        if (ec)
            throw StoreException(kErrCreate,
                                 "Cannot create the folder of '" + path + "': " + ec.message());
    }
    // Built in a file of its own and published whole under the real name, so the name never
    // shows a half-written database, and of several processes creating it at once (a first
    // start of two windows, a script starting several command lines) one wins and the
    // others open the winner's file.
    const fs::path temp = uniqueSibling(file);
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
        if (!publishWithoutReplacing(temp, file, path))
            throw StoreException(kErrCreate, exists);
    } catch (const StoreException& e) {
        fs::remove(temp, ec);
        if (e.number() == kErrCreate)
            throw;
        throw StoreException(kErrCreate, "Cannot create '" + path + "': " + e.description());
    }
}

} // namespace store
