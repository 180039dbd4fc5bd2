#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

/// The terminal width the readable output is wrapped to.
constexpr std::size_t kWrapWidth = 80;

/// Appends words wrapped at kWrapWidth columns, each line ended by '\n'; the first line starts
/// at column `column`, continuation lines are indented to `indent`. A word longer than a line
/// stands alone on it.
void appendWrapped(std::string& out, std::string_view words, std::size_t column,
                   std::size_t indent);

} // namespace cli
