#include "cli/options.h"

#include "cli/text_wrap.h"
#include "state/number_format.h"
#include "state/version.h"

#include <charconv>
#include <string_view>

namespace cli {

const char* const kUsage =
    "usage: tavrel1-cli --temp TEXT --press TEXT [--mw X] [--tc X] [--pc X] [--vc X]\n"
    "                   [--omega X] [--k1 X] [--k2 X] [--k3 X] [--antoine A,B,C]\n"
    "                   [--name TEXT] [--two-phase temperature|pressure]\n"
    "                   [--hypothetical] [--spherical] [--json] [--db PATH]\n"
    "                   [--component NAME] [--analysis]\n"
    "       tavrel1-cli [--db PATH] --list\n"
    "       tavrel1-cli [--db PATH] --merge-shipped\n";

namespace {

/// One option: its flag, the name of its value (nullptr for a switch), one line of help,
/// and what it does to the options. A new option is one more row here; --help lists it.
struct OptionRow {
    const char* flag;
    const char* value;
    const char* help;
    void (*apply)(Options&, const std::string& flag, const std::string& value);
};

void setConstant(Options& o, std::size_t index, const std::string& flag, const std::string& v)
{
    const auto x = state::toFloat(v);
    if (!x)
        throw UsageError{flag + " takes a number"};
    o.constants[index] = *x;
    o.customConstants = true;
}

template <std::size_t Index>
void constant(Options& o, const std::string& flag, const std::string& v)
{
    setConstant(o, Index, flag, v);
}

template <UnitSlot Slot> void unitOption(Options& o, const std::string& flag, const std::string& v)
{
    setUnit(o.units, Slot, flag, v);
}

Format parseFormat(const std::string& v)
{
    if (v == "table")
        return Format::Table;
    if (v == "json")
        return Format::Json;
    if (v == "csv")
        return Format::Csv;
    throw UsageError{"--format takes table, json or csv"};
}

unsigned parseJobs(const std::string& v)
{
    constexpr unsigned kMaxJobs = 256;
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc() || end != v.data() + v.size() || n == 0 || n > kMaxJobs)
        throw UsageError{"--jobs takes a whole number from 1 to 256"};
    return n;
}

using S = const std::string&;
const OptionRow kOptions[] = {
    {"--temp", "TEXT", "temperature in C (or --temp-unit), as typed into the box",
     [](Options& o, S, S v) { o.temp = v; }},
    {"--press", "TEXT", "pressure in bar (or --press-unit), as typed into the box",
     [](Options& o, S, S v) { o.press = v; }},
    {"--component", "NAME", "a component of the database, its name exactly",
     [](Options& o, S, S v) { o.component = v; }},
    {"--mw", "X", "molar mass, g/mol (a constant not given takes its default)", constant<0>},
    {"--tc", "X", "critical temperature, K", constant<1>},
    {"--pc", "X", "critical pressure, bar", constant<2>},
    {"--vc", "X", "critical volume, cm3/mol", constant<3>},
    {"--omega", "X", "acentric factor", constant<4>},
    {"--k1", "X", "Stryjek-Vera K1", constant<5>},
    {"--k2", "X", "Stryjek-Vera K2", constant<6>},
    {"--k3", "X", "Stryjek-Vera K3", constant<7>},
    {"--antoine", "A,B,C", "Antoine: ln(P/kPa) = A - B/(t/C + C)",
     [](Options& o, S, S v) {
         o.antoine = parseAntoine(v);
         if (!o.antoine)
             throw UsageError{"--antoine takes three numbers A,B,C"};
         o.customConstants = true;
     }},
    {"--name", "TEXT", "name of the custom component (default custom)",
     [](Options& o, S, S v) {
         o.name = v;
         o.customConstants = true;
     }},
    {"--two-phase", "temperature|pressure", "click a two-phase button (needs Antoine coefficients)",
     [](Options& o, S, S v) {
         o.twoPhase = parseTwoPhase(v);
         if (!o.twoPhase)
             throw UsageError{"--two-phase takes temperature or pressure"};
     }},
    {"--hypothetical", nullptr, "tick \"Calculate HYPOTHETICAL Molar Volumes\"",
     [](Options& o, S, S) { o.hypothetical = true; }},
    {"--spherical", nullptr, "tick \"Spherical Molecule Shape factor\"",
     [](Options& o, S, S) { o.spherical = true; }},
    {"--format", "table|json|csv", "output format (default table)",
     [](Options& o, S, S v) { o.format = parseFormat(v); }},
    {"--json", nullptr, "the same as --format json",
     [](Options& o, S, S) { o.format = Format::Json; }},
    {"--batch", "FILE", "solve each row of a CSV file (- reads standard input)",
     [](Options& o, S, S v) { o.batch = v; }},
    {"--temp-range", "START:STOP:STEP", "sweep the temperature, C",
     [](Options& o, S, S v) { o.tempRange = v; }},
    {"--press-range", "START:STOP:STEP", "sweep the pressure, bar",
     [](Options& o, S, S v) { o.pressRange = v; }},
    {"--temp-unit", "UNIT",
     "unit of --temp, --temp-range, a batch's temp and the output: C, K, F, R",
     unitOption<UnitSlot::Temperature>},
    {"--press-unit", "UNIT",
     "absolute pressure unit of --press, --press-range, a batch's press and the output: bar, "
     "Pa, hPa, kPa, MPa, mbar, atm, at, psia, mmHg, inHg, torr",
     unitOption<UnitSlot::Pressure>},
    {"--volume-unit", "UNIT",
     "unit of the molar volumes written: cm3/mol, L/mol, m3/kmol, "
     "m3/mol, ft3/lbmol",
     unitOption<UnitSlot::Volume>},
    {"--density-unit", "UNIT", "unit of the vapour densities written: kg/m3, g/L, g/cm3, lb/ft3",
     unitOption<UnitSlot::Density>},
    {"--jobs", "N", "threads for --batch and sweeps (default: cores)",
     [](Options& o, S, S v) { o.jobs = parseJobs(v); }},
    {"--db", "PATH", "component database (default: the window's)",
     [](Options& o, S, S v) { o.db = v; }},
    {"--list", nullptr, "print the names of the database's components",
     [](Options& o, S, S) { o.list = true; }},
    {"--analysis", nullptr,
     "add each model's roots with ln phi, stable root, own vapour pressure and critical point",
     [](Options& o, S, S) { o.analysis = true; }},
    {"--properties", nullptr,
     "add each model's parameters, roots with tag and reason, and the stable root's "
     "properties",
     [](Options& o, S, S) { o.properties = true; }},
    {"--explain", nullptr, "add why each model's root is the one, step by step",
     [](Options& o, S, S) { o.explain = true; }},
    {"--reference", nullptr,
     "add the reference equation of state at the state and each model's deviation from it",
     [](Options& o, S, S) { o.reference = true; }},
    {"--scorecard", nullptr,
     "rank the models by their deviation from the reference over the saturation curve and a "
     "single-phase grid (without --temp and --press: the scorecard alone)",
     [](Options& o, S, S) { o.scorecard = true; }},
    {"--data", "FILE",
     "score the models and the reference against measured points: CSV with a header such as "
     "T [K],p [MPa],rho [kg/m3] or T [C],psat [bar]",
     [](Options& o, S, S v) { o.data = v; }},
    {"--merge-shipped", nullptr, "add the shipped components the database lacks, say how many",
     [](Options& o, S, S) { o.mergeShipped = true; }},
    {"--help", nullptr, "print this help", [](Options& o, S, S) { o.help = true; }},
    {"--version", nullptr, "print the version", [](Options& o, S, S) { o.version = true; }},
};

const OptionRow* findOption(std::string_view flag)
{
    for (const OptionRow& row : kOptions)
        if (flag == row.flag)
            return &row;
    return nullptr;
}

void checkCombination(const Options& o)
{
    if (o.help || o.version)
        return;
    if (o.list || o.mergeShipped) {
        // Both print a list or a count of the database: nothing else applies to them.
        const char* const command = o.list ? "--list" : "--merge-shipped";
        for (const std::string& flag : o.flags)
            if (flag != command && flag != "--db")
                throw UsageError{std::string(command) + " takes no option but --db; drop " + flag};
        return;
    }
    if (o.analysis && (o.batch || o.tempRange || o.pressRange || o.format == Format::Csv))
        throw UsageError{"--analysis goes with one state in table or JSON output"};
    if (o.batch) {
        if (o.temp || o.press || o.component || o.customConstants || o.tempRange || o.pressRange)
            throw UsageError{"--batch takes the component, constants, temperature and pressure "
                             "from the file's columns"};
        return;
    }
    if ((o.scorecard || o.data) && !o.temp && !o.press && !o.tempRange && !o.pressRange) {
        // A report on the component alone.
        if (o.reference || o.analysis || o.properties || o.explain)
            throw UsageError{"--reference, --analysis, --properties and --explain need a state: "
                             "give --temp and --press"};
        if (o.component && o.customConstants)
            throw UsageError{"--component takes its constants from the database; drop the "
                             "constants"};
        return;
    }
    if (o.tempRange && o.temp)
        throw UsageError{"give --temp or --temp-range, not both"};
    if (o.pressRange && o.press)
        throw UsageError{"give --press or --press-range, not both"};
    if ((!o.temp && !o.tempRange) || (!o.press && !o.pressRange))
        throw UsageError{"--temp and --press are required"};
    if (o.component && o.customConstants)
        throw UsageError{"--component takes its constants from the database; drop the constants"};
}

} // namespace

std::optional<state::AntoineCoefficients> parseAntoine(const std::string& text)
{
    std::array<float, 3> v{};
    std::size_t begin = 0;
    for (std::size_t n = 0; n < 3; ++n) {
        const std::size_t comma = text.find(',', begin);
        if ((n < 2) != (comma != std::string::npos))
            return std::nullopt; // fewer or more than three fields
        const auto x =
            state::toFloat(std::string_view(text).substr(begin, n < 2 ? comma - begin : text.npos));
        if (!x)
            return std::nullopt;
        v[n] = *x;
        begin = comma + 1;
    }
    return state::AntoineCoefficients{v[0], v[1], v[2]};
}

std::optional<int> parseTwoPhase(const std::string& text)
{
    if (text == "temperature")
        return 0;
    if (text == "pressure")
        return 1;
    return std::nullopt;
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    // Help and version answer whatever else the line holds.
    for (const std::string& a : args) {
        o.help = o.help || a == "--help";
        o.version = o.version || a == "--version";
    }
    if (o.help || o.version)
        return o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const OptionRow* row = findOption(a);
        if (row == nullptr)
            throw UsageError{"unknown option " + a};
        static const std::string kNoValue;
        if (row->value != nullptr && i + 1 >= args.size())
            throw UsageError{a + " needs a value"};
        row->apply(o, a, row->value != nullptr ? args[++i] : kNoValue);
        o.flags.push_back(a);
    }
    checkCombination(o);
    return o;
}

// What --help says after the option list.
constexpr std::string_view kHelpDetails = R"(
Output formats:
  table   the message, then one line a model with SG, Liquid, Vapor, Z and
          Density as the cells show them; * marks a value computed without an
          acentric factor, + one computed without K1 or K2.
  json    one object a state on one line: message, cells, colours, flags,
          temp, press.
  csv     one header row, then one row a state: component, temp_C, press_bar,
          two_phase, hypothetical, spherical, message_1..message_3, the four
          flags, the 39 cells.

Properties (--properties), for each of the nine models (Vir, VDW, RK, SRK, PR,
PRSV1, PRSV2, ESD, DEOS) in double precision: its parameters at T, every real
root tagged stable (lowest Gibbs energy), metastable (superheated liquid,
subcooled vapour), unstable ((dP/dV)_T > 0) or unphysical (V <= b) with the
reason, and the stable root's V, Z, density, ln phi, fugacity, the residual
H, S, G, U and A against the ideal gas at the same T and P, (dP/dT)_V,
(dP/dV)_T, beta, kappa_T, residual Cv and Cp - Cv; units in every name. A
value that is not defined (a spinodal, no stable root) is a status, never a
number.
  table   a block after the sheet, model by model.
  json    "properties": {model: {"parameters", "roots", "stable" (null when
          there is none), "status"}}; an undefined value is null, named with
          its status under "undefined".
  csv     17 columns a model: MODEL_KEY for each property of the stable
          root, empty where undefined, and MODEL_status.
--explain adds each model's choice of root step by step: a block after the
table, "explanation": {model: [steps]} in json, MODEL_explanation in csv.

Batch (--batch): a CSV file (UTF-8, "," separated, fields quoted with "..."
where needed, LF or CRLF line ends) with a header row naming its columns, in
any order:
  component                 a name from the database, or else the constants:
  mw, tc, pc, vc, omega, k1, k2, k3, antoine_a, antoine_b, antoine_c, name
  temp, press               required: the texts typed into the two boxes
  two_phase                 optional: temperature, pressure or empty
  hypothetical, spherical   optional: 1/0, true/false, yes/no or empty
--two-phase, --hypothetical and --spherical give the value for a column the
file lacks. Each row is solved on its own, exactly as a single run with the
same options, and the output keeps the input order. Every output row starts
with the row's line number (csv: columns line and error; json: "line"); a
rejected row (bad number, unknown component, rejected entry, a row longer than
65536 bytes or of more than 256 fields, a quote inside an unquoted field) gives
its line number and the message, and the run goes on at the next line. A file
without rows is an error.

Sweeps: --temp-range and --press-range (either or both) solve the grid of
states, temperature outer and pressure inner, START, START+STEP, ... up to
STOP; the step leads from START towards STOP, and the grid holds at most 10^9
states.

Units: --temp-unit, --press-unit, --volume-unit and --density-unit name the
units a run reads and writes (names as commonly written, any case: degF, K,
psi, kPa, m3/kmol, lb/ft3; gauge pressures such as psig or barg are refused,
the calculation needs absolute pressure). A typed value is turned into the C
or bar text the window's box would take; where that text cannot hold it
exactly, a note on standard error (json: "rounding") says what was taken.
Temperatures, pressures, volumes and vapour densities are written in the
units, with the same significant digits the sheet shows (the same decimals
for a temperature); SG and Z are not converted. The output then names its
units: a line under the table's headings, "[unit]" in CSV headers, a "units"
object in JSON. A batch header may name units the same way, as in the header
"temp [K],press [psia]". With --analysis, its temperatures, pressures and
volumes are converted too.

A run longer than about a second shows its progress on standard error when
that is a terminal.

Exit status:
  0  every state was solved (the sheet may still say a value is not calculable)
  1  the component database could not be opened or read
  2  a bad option, a rejected entry, an unknown component, a two-phase click
     the component cannot take, or a batch file that cannot be read or has no
     rows
  3  --batch: at least one row was rejected; the other rows were solved
  4  the output could not be written (a full disk, a closed pipe): the run
     stops at the first failed write and says why
)";

std::string helpText()
{
    std::string text = "tavrel1-cli: the Tavrel1 calculator without windows. It replays what a "
                       "user does\nin the main window (choose a component, type the "
                       "temperature and the pressure,\noptionally click a two-phase button, "
                       "tick the check boxes, press Solve) and\nprints the sheet.\n\n";
    text += kUsage;
    text += "       tavrel1-cli --batch FILE|- [--format F] [--jobs N] [--db PATH]\n"
            "       tavrel1-cli (--component NAME | constants) (--temp T | --temp-range R)\n"
            "                   (--press P | --press-range R) [--format F] [--jobs N]\n"
            "       tavrel1-cli --help | --version\n"
            "--properties and --explain go with every form that solves states.\n\n"
            "Options:\n";
    constexpr std::size_t kHelpColumn = 35;
    for (const OptionRow& row : kOptions) {
        std::string left = std::string("  ") + row.flag;
        if (row.value != nullptr)
            left += std::string(" ") + row.value;
        left.resize(std::max(left.size() + 1, kHelpColumn), ' ');
        text += left;
        appendWrapped(text, row.help, left.size(), kHelpColumn);
    }
    text += kHelpDetails;
    return text;
}

std::string versionText() { return std::string("tavrel1-cli ") + state::kVersion + "\n"; }

} // namespace cli
