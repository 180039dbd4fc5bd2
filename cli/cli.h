#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

/// Exit statuses of tavrel1-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;    // bad options, rejected entry, unknown component
inline constexpr int kExitStore = 1;    // the component database could not be opened or read
inline constexpr int kExitRejected = 3; // --batch: some rows were rejected, the rest solved
inline constexpr int kExitWrite = 4;    // the output could not be written (disk full, pipe closed)

/// The streams of a run: standard input for "--batch -", and whether standard error is a
/// terminal (then a long run shows its progress there).
struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

/// Runs tavrel1-cli with its arguments (without the program name): replays what a user does
/// in the main window and prints the result. Returns the exit status.
int run(const std::vector<std::string>& args, const Streams& streams);
/// The same with standard input and no progress display.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace cli
