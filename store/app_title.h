#pragma once

#include <string_view>

namespace store {

/// The application's name: the title of the main and instructions windows, of message boxes
/// without a title of their own, and the name the per-user settings and data are kept under.
inline constexpr std::string_view kAppTitle = "Tavrel1";

} // namespace store
