#pragma once

#include <string>
#include <string_view>

// Every CSV this program writes (the command line's output, the saved results, the model
// details, the diagrams' curves and table): UTF-8, comma-separated, a field quoted when it
// holds a comma, a quote, CR or LF, its quotes doubled, and every record ended by "\n" alone.
namespace state {

inline constexpr std::string_view kCsvLineEnd = "\n";

/// Appends one field, quoted where needed.
void appendCsvField(std::string& out, std::string_view text);

/// Appends one field, in quotes (its quotes doubled) when it holds any of `specials`: the
/// same rule for other separators, such as tab-separated text.
void appendQuotedField(std::string& out, std::string_view text, std::string_view specials);

} // namespace state
