#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace ui {

/// Answers --help (-h) and --version of the window program, before any window or display
/// connection exists, so both work on a machine without a desktop. args are the arguments
/// after the program name. Returns the exit status when one of them was answered (the first
/// one given wins), nothing when the windows should start; every other argument is left to
/// Qt (-platform, -style, ...).
std::optional<int> answerInfoOption(const std::vector<std::string>& args, std::ostream& out);

/// The exit status of a refused command line, as tavrel1-cli's.
inline constexpr int kExitUsage = 2;

/// Refuses what is left of the arguments once QApplication has taken out the options it knows
/// (-platform, -style, ...): the window program takes no other. Writes the refusal and the
/// usage line to err and returns kExitUsage; nothing when no argument is left.
std::optional<int> refuseUnknownArguments(const std::vector<std::string>& leftover,
                                          std::ostream& err);

} // namespace ui
