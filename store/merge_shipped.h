#pragma once

#include <functional>
#include <string>

namespace store {

/// Adds to the component database at path the shipped components whose names it lacks (names
/// compared ignoring ASCII case, as the list orders them), each with its Antoine set, in one
/// transaction: a failure or a killed process leaves none of them. Rows already there are not
/// touched; a file made before the Source field existed gets the rows without their sources.
/// Returns how many components were added. Throws StoreException (the file then unchanged).
/// beforeCommit, when set, runs inside the transaction once everything is written.
int mergeShippedComponents(const std::string& path, const std::function<void()>& beforeCommit = {});

} // namespace store
