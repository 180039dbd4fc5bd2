#include "store/seed.h"

#include "store/recordset.h"

#include <cstddef>

// Generated from assets/components_seed.sql by store/CMakeLists.txt.
extern const char kComponentSeedSql[];
extern const std::size_t kComponentSeedSqlSize;
extern const int kShippedComponentCount;

namespace store {

std::string_view componentSeedSql() { return {kComponentSeedSql, kComponentSeedSqlSize}; }

int shippedComponentCount() { return kShippedComponentCount; }

void createShippedDatabase(const std::string& path)
{
    Database::createFromScript(path, componentSeedSql());
}

} // namespace store
