#include "store/merge_shipped.h"

#include "store/component_schema.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "store/sqlite_handle.h"
#include "store/store_errors.h"

#include <sqlite3.h>

namespace store {

using namespace detail;

namespace {

// The shipped rows live in an in-memory database built from the seed; the user's file is
// attached to it as "user", so one INSERT ... SELECT per table copies what is missing.
constexpr const char* kUserSchema = "user";

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
        bindValue(raw, attach.get(), 1, Value{path});
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
    const std::int64_t lastKey =
        queryInt(raw, "SELECT coalesce(max(" + key + "), 0) FROM " + user + comps);
    exec(raw, ("INSERT INTO " + user + comps + " (" + columns + ") SELECT " + columns + " FROM " +
               comps + " s WHERE NOT EXISTS (SELECT 1 FROM " + user + comps + " u WHERE u." + name +
               " = s." + name + " COLLATE NOCASE) ORDER BY s." + key)
                  .c_str());
    const int added = sqlite3_changes(raw);
    // The added rows are the ones past the previous largest key (new keys count up from it).
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
