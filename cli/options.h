#pragma once

#include "cli/units_options.h"
#include "state/calc_state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Format { Table, Json, Csv };

/// Everything the command line says, before anything is opened or solved.
struct Options {
    std::optional<std::string> temp;
    std::optional<std::string> press;
    std::array<std::optional<float>, 8> constants; // MolWt .. K3, in the store's order
    std::optional<state::AntoineCoefficients> antoine;
    std::string name = "custom";
    std::optional<int> twoPhase; // option button index
    bool hypothetical = false;
    bool spherical = false;
    Format format = Format::Table;
    std::optional<std::string> db;
    std::optional<std::string> component;
    bool list = false;
    bool analysis = false;                // the phase-equilibrium block after the sheet
    bool properties = false;              // each model's roots, tags and properties
    bool explain = false;                 // each model's choice of root, step by step
    bool reference = false;               // the reference equation of state at the state
    bool scorecard = false;               // the models ranked against the reference
    std::optional<std::string> data;      // measured points to score the models against
    bool mergeShipped = false;            // add the shipped components missing from the database
    bool customConstants = false;         // a constant, --antoine or --name was given
    std::optional<std::string> batch;     // a CSV file, "-" for standard input
    std::optional<std::string> tempRange; // START:STOP:STEP
    std::optional<std::string> pressRange;
    RunUnits units;    // --temp-unit and the like
    unsigned jobs = 0; // 0: one a core
    bool help = false;
    bool version = false;
    std::vector<std::string> flags; // every option given, in order
};

/// A bad command line: the message, then the usage.
struct UsageError {
    std::string what;
};

/// Input that cannot be used (a batch file without rows, a bad header): the message alone.
struct InputError {
    std::string what;
};

/// Reads the arguments (without the program name). Throws UsageError naming the fault.
Options parseOptions(const std::vector<std::string>& args);

/// The short usage printed after a usage error; no line is wider than 80 columns.
extern const char* const kUsage;
/// The complete --help text, no line wider than 80 columns.
std::string helpText();
/// "tavrel1-cli VERSION\n".
std::string versionText();

/// "A,B,C": exactly three numbers.
std::optional<state::AntoineCoefficients> parseAntoine(const std::string& text);
/// "temperature" -> 0, "pressure" -> 1.
std::optional<int> parseTwoPhase(const std::string& text);

} // namespace cli
