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

} // namespace ui
