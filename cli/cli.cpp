#include "cli/cli.h"

#include "cli/analysis_output.h"
#include "core/main_view_model.h"
#include "state/number_format.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/settings.h"
#include "store/store_errors.h"

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage: tavrel1-cli --temp TEXT --press TEXT [--mw X] [--tc X] [--pc X] [--vc X] [--omega X]\n"
    "                   [--k1 X] [--k2 X] [--k3 X] [--antoine A,B,C] [--name TEXT]\n"
    "                   [--two-phase temperature|pressure] [--hypothetical] [--spherical]\n"
    "                   [--json] [--analysis] [--db PATH] [--component NAME]\n"
    "       tavrel1-cli [--db PATH] --list\n";

struct Options {
    std::optional<std::string> temp;
    std::optional<std::string> press;
    std::array<std::optional<float>, 8> constants; // MolWt .. K3, in the store's order
    std::optional<state::AntoineCoefficients> antoine;
    std::string name = "custom";
    std::optional<int> twoPhase; // option button index
    bool hypothetical = false;
    bool spherical = false;
    bool json = false;
    bool analysis = false; // the phase-equilibrium block after the sheet
    std::optional<std::string> db;
    std::optional<std::string> component;
    bool list = false;
    bool customConstants = false; // a constant, --antoine or --name was given
};

struct UsageError {
    std::string what;
};

std::optional<state::AntoineCoefficients> parseAntoine(const std::string& text)
{
    std::array<float, 3> v{};
    std::stringstream in(text);
    std::string part;
    std::size_t n = 0;
    while (std::getline(in, part, ',')) {
        const auto x = state::toFloat(part);
        if (n == 3 || !x)
            return std::nullopt;
        v[n++] = *x;
    }
    if (n != 3)
        return std::nullopt;
    return state::AntoineCoefficients{v[0], v[1], v[2]};
}

Options parse(const std::vector<std::string>& args)
{
    static const std::map<std::string, std::size_t> kConstantFlags = {
        {"--mw", 0},    {"--tc", 1}, {"--pc", 2}, {"--vc", 3},
        {"--omega", 4}, {"--k1", 5}, {"--k2", 6}, {"--k3", 7}};
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--temp") {
            o.temp = value();
        } else if (a == "--press") {
            o.press = value();
        } else if (auto c = kConstantFlags.find(a); c != kConstantFlags.end()) {
            const auto x = state::toFloat(value());
            if (!x)
                throw UsageError{a + " takes a number"};
            o.constants[c->second] = *x;
            o.customConstants = true;
        } else if (a == "--antoine") {
            o.antoine = parseAntoine(value());
            if (!o.antoine)
                throw UsageError{"--antoine takes three numbers A,B,C"};
            o.customConstants = true;
        } else if (a == "--name") {
            o.name = value();
            o.customConstants = true;
        } else if (a == "--two-phase") {
            const std::string& v = value();
            if (v == "temperature")
                o.twoPhase = 0;
            else if (v == "pressure")
                o.twoPhase = 1;
            else
                throw UsageError{"--two-phase takes temperature or pressure"};
        } else if (a == "--hypothetical") {
            o.hypothetical = true;
        } else if (a == "--spherical") {
            o.spherical = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--analysis") {
            o.analysis = true;
        } else if (a == "--db") {
            o.db = value();
        } else if (a == "--component") {
            o.component = value();
        } else if (a == "--list") {
            o.list = true;
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
    if (o.list)
        return o;
    if (!o.temp || !o.press)
        throw UsageError{"--temp and --press are required"};
    if (o.component && o.customConstants)
        throw UsageError{"--component takes its constants from the database; drop the constants"};
    return o;
}

state::ComponentConstants constantsOf(const Options& o)
{
    const state::ComponentConstants& d = state::kMissingConstantValues;
    const auto v = [&](std::size_t i, float fallback) { return o.constants[i].value_or(fallback); };
    return {v(0, d.MolWt),     v(1, d.CritTemp), v(2, d.CritPress), v(3, d.CritVol),
            v(4, d.AcentricF), v(5, d.K1),       v(6, d.K2),        v(7, d.K3)};
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (const char ch : s) {
        const auto u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

void printJson(const core::MainViewModel& vm, std::ostream& out, bool analysis)
{
    const auto& sheet = vm.sheet();
    const auto& f = vm.state().flags;
    const auto b = [](bool x) { return x ? "true" : "false"; };
    out << "{\"message\": " << jsonString(vm.lblStCond()) << ", \"cells\": {";
    const char* sep = "";
    for (state::CellId id : state::allCells()) {
        out << sep << jsonString(state::cellName(id)) << ": " << jsonString(sheet.cell(id).text);
        sep = ", ";
    }
    out << "}, \"colors\": {";
    sep = "";
    for (state::CellId id : state::allCells()) {
        out << sep << jsonString(state::cellName(id)) << ": " << sheet.cell(id).color;
        sep = ", ";
    }
    out << "}, \"flags\": {\"AntoineAvailable\": " << b(f.AntoineAvailable)
        << ", \"CalcLiquid\": " << b(f.CalcLiquid) << ", \"CalcVapor\": " << b(f.CalcVapor)
        << ", \"AboveCritical\": " << b(f.AboveCritical)
        << "}, \"temp\": " << jsonString(vm.txtTemp())
        << ", \"press\": " << jsonString(vm.txtPress());
    if (analysis)
        out << ", " << analysisJson(vm.state());
    out << "}\n";
}

// The readable table: message, then one line a model with the five columns as the cells show
// them; a tinted cell carries a mark after its text.
void printTable(const core::MainViewModel& vm, bool showBoxes, std::ostream& out)
{
    for (const char ch : vm.lblStCond())
        if (ch != '\r')
            out << ch;
    out << "\n";
    if (showBoxes)
        out << "Temperature  (C): " << vm.txtTemp() << "\nPressure  (bar): " << vm.txtPress()
            << "\n";
    out << "\n";
    constexpr std::array<int, 5> kWidths = {8, 11, 11, 9, 11};
    char line[160];
    std::snprintf(line, sizeof line, "%-24s%*s%*s%*s%*s%*s\n", "Model", kWidths[0], "SG",
                  kWidths[1], "Liquid", kWidths[2], "Vapor", kWidths[3], "Z", kWidths[4],
                  "Density");
    out << line;
    bool paleRed = false, lightPink = false;
    for (int r = 0; r < state::kRowCount; ++r) {
        const auto row = static_cast<state::Row>(r);
        std::string text = std::string(state::rowCaption(row));
        text.resize(24, ' ');
        for (int c = 0; c < state::kColCount; ++c) {
            const auto col = static_cast<state::Col>(c);
            std::string cell;
            if (state::hasCell(row, col)) {
                const auto& ce = vm.sheet().cell({row, col});
                cell = ce.text;
                if (!cell.empty() && ce.color == state::kPaleRed) {
                    cell += "*";
                    paleRed = true;
                } else if (!cell.empty() && ce.color == state::kLightPink) {
                    cell += "+";
                    lightPink = true;
                }
            }
            const auto width = static_cast<std::size_t>(kWidths[static_cast<std::size_t>(c)]);
            text += std::string(width > cell.size() ? width - cell.size() : 1, ' ') + cell;
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    }
    out << "\nSG in g/cm3, volumes in cm3/mol, vapour density in kg/m3.\n";
    if (paleRed)
        out << "* computed with a missing acentric factor taken as zero\n";
    if (lightPink)
        out << "+ computed with a missing Stryjek-Vera constant K1 or K2 taken as zero\n";
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options o;
    try {
        o = parse(args);
    } catch (const UsageError& e) {
        err << "tavrel1-cli: " << e.what << "\n" << kUsage;
        return kExitUsage;
    }

    core::MainViewModel vm;
    if (o.list || o.component) {
        try {
            store::ComponentDatabase db;
            if (o.db) {
                db = store::ComponentDatabase::open(*o.db);
            } else {
                store::Settings settings = store::Settings::forUser();
                db = store::openConfiguredDatabase(settings, store::defaultDatabasePath());
            }
            if (o.list) {
                for (const std::string& name : store::listComponentNames(db, vm))
                    out << name << "\n";
                return kExitOk;
            }
            if (!store::loadComponent(db, *o.component, vm)) {
                err << "tavrel1-cli: no component named \"" << *o.component
                    << "\" in the database\n";
                return kExitUsage;
            }
        } catch (const store::StoreException& e) {
            err << "tavrel1-cli: " << e.what() << "\n";
            return kExitStore;
        }
    } else {
        vm.componentChosen(o.name, constantsOf(o), o.antoine);
    }

    vm.setTxtTemp(*o.temp);
    if (const core::Effects fx = vm.txtTemp_LostFocus(); fx.message) {
        err << fx.message->prompt << "\n";
        return kExitUsage;
    }
    vm.setTxtPress(*o.press);
    if (const core::Effects fx = vm.txtPress_LostFocus(); fx.message) {
        err << fx.message->prompt << "\n";
        return kExitUsage;
    }
    if (o.twoPhase) {
        vm.selectOptEqState(*o.twoPhase);
        vm.optEqState_Click(*o.twoPhase);
    }
    vm.setChkStCalc(o.hypothetical);
    vm.setChkSphMol(o.spherical);
    vm.cmdSolve_Click();

    if (o.json) {
        printJson(vm, out, o.analysis);
    } else {
        printTable(vm, o.twoPhase.has_value(), out);
        if (o.analysis)
            printAnalysisTable(vm.state(), out);
    }
    return kExitOk;
}

} // namespace cli
