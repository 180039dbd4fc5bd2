#pragma once

#include <string>
#include <string_view>

namespace store {

/// The SQL script of the shipped component database (assets/components_seed.sql), embedded
/// at build time.
std::string_view componentSeedSql();

/// How many components the shipped database holds, counted in the script at build time.
int shippedComponentCount();

/// Creates the shipped component database at path, with its folder. Throws StoreException
/// (kErrCreate) when the file exists already or cannot be written.
void createShippedDatabase(const std::string& path);

} // namespace store
