#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace cli {

/// --merge-shipped: adds the shipped components missing from the database (the one given with
/// --db, else the configured one) and says how many. Returns the exit status.
int runMergeShipped(const std::optional<std::string>& db, std::ostream& out, std::ostream& err);

} // namespace cli
