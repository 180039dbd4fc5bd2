#include "store/seed.h"

#include "store/recordset.h"

#include <cstddef>

// Generated from assets/components_seed.sql by store/CMakeLists.txt.
extern const char kComponentSeedSql[];
extern const std::size_t kComponentSeedSqlSize;

namespace store {

std::string_view componentSeedSql() { return {kComponentSeedSql, kComponentSeedSqlSize}; }

void createShippedDatabase(const std::string& path)
{
    Database::createFromScript(path, componentSeedSql());
}

} // namespace store
