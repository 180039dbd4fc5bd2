#pragma once

#include "store/sqlite_handle.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace store::detail {

/// One open SQLite connection, shared by a Database and the recordsets opened on it; closing
/// the Database empties db, and every later use fails with kErrClosed.
struct Connection {
    DbHandle db;
    std::string path;
    std::optional<std::vector<std::string>> baseColumns;
    OpenOptions limits;
    /// While a recordset reads: when its time is up, SQLite's progress handler interrupts
    /// the statement (SQLITE_INTERRUPT).
    std::optional<std::chrono::steady_clock::time_point> readDeadline;

    /// Changes whenever this or another connection has changed the file since the last
    /// call: a requery that finds the same stamp would read the same rows.
    std::pair<std::int64_t, std::int64_t> dataStamp();
    sqlite3* handle() const;
    /// The fields of tblComps, read once per connection.
    const std::vector<std::string>& tableColumns();
};

} // namespace store::detail
