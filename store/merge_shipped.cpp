#include "store/merge_shipped.h"

#include "store/component_schema.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "store/sqlite_handle.h"
#include "store/store_errors.h"

#include <algorithm>
#include <sqlite3.h>

namespace store {

using namespace detail;

namespace {

// The shipped rows live in an in-memory database built from the seed; the user's file is
// attached to it as "user", so one INSERT ... SELECT per table copies what is missing.
constexpr const char* kUserSchema = "user";

/// Whether tblComps' key is an INTEGER PRIMARY KEY (an alias of the rowid): only then is a
/// key given to a new row the key it keeps, and unique.
bool keyIsRowid(sqlite3* db, const std::string& table)
{
    Stmt stmt = prepare(db, "SELECT name, upper(type), pk FROM pragma_table_info(?, ?)");
    bindValue(db, stmt.get(), 1, Value{table});
    bindValue(db, stmt.get(), 2, Value{std::string(kUserSchema)});
    int keyColumns = 0;
    bool keyIsInteger = false;
    while (check(db, sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (sqlite3_column_int(stmt.get(), 2) == 0)
            continue;
        ++keyColumns;
        const Value name = columnValue(stmt.get(), 0);
        const Value type = columnValue(stmt.get(), 1);
        keyIsInteger =
            name == Value{std::string(schema::kKeyField)} && type == Value{std::string("INTEGER")};
    }
    if (keyColumns != 1 || !keyIsInteger)
        return false;
    // A WITHOUT ROWID table has no rowid for the key to alias.
    Stmt rowid = prepare(db, "SELECT count(*) FROM " + std::string(kUserSchema) +
                                 ".sqlite_schema WHERE type = 'table' AND name = ? AND "
                                 "sql LIKE '%WITHOUT%ROWID%'");
    bindValue(db, rowid.get(), 1, Value{table});
    check(db, sqlite3_step(rowid.get()));
    return sqlite3_column_int(rowid.get(), 0) == 0;
}

/// The largest key any table of the user's file uses (tables without the key field aside):
/// an Antoine row left behind by a deleted component keeps its key in use, and a new
/// component given that key would take that Antoine set.
std::int64_t largestKeyInUse(sqlite3* db)
{
    const std::string user = kUserSchema;
    const std::string key = std::string(schema::kKeyField);
    Stmt tables = prepare(db, "SELECT t.name FROM " + user +
                                  ".sqlite_schema t WHERE t.type = 'table' AND EXISTS (SELECT 1 "
                                  "FROM pragma_table_info(t.name, '" +
                                  user + "') c WHERE c.name = '" + key + "')");
    std::int64_t largest = 0;
    while (check(db, sqlite3_step(tables.get())) == SQLITE_ROW) {
        const Value name = columnValue(tables.get(), 0);
        const std::string* table = std::get_if<std::string>(&name);
        if (!table)
            continue;
        // Only integer keys can collide with the integer keys given below.
        largest =
            std::max(largest, queryInt(db, "SELECT coalesce(max(CASE WHEN typeof(" + key +
                                               ") = 'integer' THEN " + key + " END), 0) FROM " +
                                               user + "." + quoteIdentifier(*table)));
    }
    return largest;
}

std::string copyColumns(bool withSource)
{
    std::string columns = std::string(schema::kNameField);
    for (const schema::ConstantField& f : schema::kConstantFields)
        columns += ", " + std::string(f.name);
    if (withSource)
        columns += ", " + std::string(schema::kSourceField);
    return columns;
}

} // namespace

int mergeShippedComponents(const std::string& path, const std::function<void()>& beforeCommit)
{
    // Opening it first gives the usual errors for a missing path or a file that is not a
    // component database; ATTACH below would create an empty file instead.
    bool withSource = false;
    {
        Database target = Database::open(path);
        withSource = target.hasCompsField(schema::kSourceField);
    }

    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK)
        fail(raw, rc);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kDefaultBusyTimeout_ms);
    exec(raw, std::string(componentSeedSql()).c_str());
    {
        Stmt attach = prepare(raw, "ATTACH DATABASE ? AS " + std::string(kUserSchema));
        bindValue(raw, attach.get(), 1, Value{sqliteFileName(path)});
        check(raw, sqlite3_step(attach.get()));
    }

    const std::string user = std::string(kUserSchema) + ".";
    const std::string comps = std::string(schema::kCompsTable);
    const std::string name = std::string(schema::kNameField);
    const std::string key = std::string(schema::kKeyField);
    const std::string columns = copyColumns(withSource);

    // Takes the write lock on the user's file before reading it, so nothing changes between
    // finding the missing names and adding them.
    WriteTransaction tx(raw);
    if (!keyIsRowid(raw, comps))
        throw StoreException(kErrRefused, "'" + path + "': the key " + key + " of " + comps +
                                              " is not an INTEGER PRIMARY KEY, so new rows "
                                              "would get no usable key; nothing was added.");
    // New keys count up from the largest key any table uses, given explicitly in name order.
    const std::int64_t lastKey = largestKeyInUse(raw);
    Stmt insert =
        prepare(raw, "INSERT INTO " + user + comps + " (" + key + ", " + columns +
                         ") SELECT ? + row_number() OVER (ORDER BY s." + key + "), " + columns +
                         " FROM " + comps + " s WHERE NOT EXISTS (SELECT 1 FROM " + user + comps +
                         " u WHERE u." + name + " = s." + name + " COLLATE NOCASE)");
    check(raw, sqlite3_bind_int64(insert.get(), 1, lastKey));
    check(raw, sqlite3_step(insert.get()));
    insert.reset();
    const int added = sqlite3_changes(raw);
    // The added rows are the ones past lastKey.
    const std::string antoineTable = std::string(schema::kAntoineTable);
    Stmt antoine = prepare(raw, "INSERT INTO " + user + antoineTable + " (" + key +
                                    ", AntA, AntB, AntC, AntTmin, "
                                    "AntTmax) SELECT u." +
                                    key + ", a.AntA, a.AntB, a.AntC, a.AntTmin, a.AntTmax FROM " +
                                    antoineTable + " a JOIN " + comps + " s ON s." + key + " = a." +
                                    key + " JOIN " + user + comps + " u ON u." + name + " = s." +
                                    name + " WHERE u." + key + " > ?");
    check(raw, sqlite3_bind_int64(antoine.get(), 1, lastKey));
    check(raw, sqlite3_step(antoine.get()));
    antoine.reset();
    if (beforeCommit)
        beforeCommit();
    tx.commit();
    return added;
}

} // namespace store
