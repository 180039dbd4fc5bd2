#include "ui/program_options.h"

#include "state/version.h"

#include <ostream>

namespace ui {
namespace {

constexpr char kUsage[] = "Usage: tavrel1 [--help] [--version] [Qt options]\n";
// What --help prints after the usage line.
constexpr char kHelp[] =
    "Compare nine equations of state for one pure fluid: pick a component, type a\n"
    "temperature (degrees Celsius) and a pressure (bar), and press Solve.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "The component database is Components.mdb in ~/.local/share/Tavrel1/, created from the\n"
    "shipped data on the first start. tavrel1-cli(1) runs the same calculation without windows.\n";

} // namespace

std::optional<int> answerInfoOption(const std::vector<std::string>& args, std::ostream& out)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage << kHelp;
            return 0;
        }
        if (arg == "--version") {
            out << "tavrel1 " << state::kVersion << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> refuseUnknownArguments(const std::vector<std::string>& leftover,
                                          std::ostream& err)
{
    if (leftover.empty())
        return std::nullopt;
    const std::string& first = leftover.front();
    err << "tavrel1: " << (first.starts_with('-') ? "unknown option " : "unexpected argument ")
        << first << '\n'
        << kUsage;
    return kExitUsage;
}

} // namespace ui
