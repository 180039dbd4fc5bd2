#pragma once

#include "cli/options.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {
class MainViewModel;
}

namespace cli {

struct Entries;

/// How a printed state is placed: alone, as a batch row (with its input line), or as one
/// state of a sweep.
enum class Layout { Single, Batch, Sweep };

/// What the output says about one state besides the sheet.
struct RowInfo {
    std::string_view component;
    const Entries* entries = nullptr;
    long line = 0; // the input line, for Layout::Batch
};

/// The header the format needs before the first state ("" for table and json).
/// With units named, the CSV header says them.
std::string outputHeader(Format format, Layout layout, const RunUnits* units = nullptr);
/// Appends one solved state.
void appendSolved(std::string& out, Format format, Layout layout, const RowInfo& info,
                  const core::MainViewModel& vm);
/// Appends a rejected batch row: its line number and the message.
void appendRejected(std::string& out, Format format, long line, std::string_view message);

/// Text with its control characters but tab (line ends, NUL, escape, ...) written as visible
/// escapes such as "\n", "\r", "\0" or "\x1b", for output read line by line.
std::string visible(std::string_view text);
/// The start of a text, at most kExcerptBytes of it (cut at a character boundary, "..."
/// marking the cut), made visible and in double quotes: for echoing input in a message.
std::string quotedExcerpt(std::string_view text);
inline constexpr std::size_t kExcerptBytes = 60;
/// A JSON string literal: escapes as JSON needs them; a byte sequence that is not UTF-8 is
/// replaced by U+FFFD, so the output is always valid JSON.
std::string jsonString(std::string_view s);

} // namespace cli
