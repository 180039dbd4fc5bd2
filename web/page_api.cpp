// The functions the page calls: one main window's view model held for the page's life, its
// handlers, and what the page paints (the view and the diagrams) as JSON text. Strings cross
// as UTF-8; a returned text stays valid until the next call.
#include "cli/output.h"
#include "core/model_details.h"
#include "core/reference_comparison.h"
#include "core/sheet_export.h"
#include "plots/diagram_units.h"
#include "plots/diagrams.h"
#include "state/number_format.h"
#include "state/version.h"
#include "web/listed_component.h"

#include <cmath>
#include <emscripten/emscripten.h>
#include <optional>
#include <string>

namespace {

constexpr double kZeroCelsius_K = 273.15;

struct Page {
    core::MainViewModel vm;
    std::string component;
    /// The component and state of the last Solve, so the diagrams know whether the sheet
    /// belongs to the state they draw.
    std::optional<std::pair<std::string, state::StateConditions>> solvedFor;
    std::optional<plots::AntoineRange> antoineRange;
    plots::Diagrams computed; // in K, bar and cm3/mol
    plots::DiagramUnits units;
    plots::Diagrams diagrams; // `computed` in `units`, as the page shows and exports them
    bool listed = false;      // the component is one of the shipped list's
    /// The state the diagrams were last drawn for, which the model details describe too; the
    /// texts (°C, bar, as the titles write them) are the ones the reference equation reads.
    struct DrawnState {
        state::CalcState state;
        double t_K = 0, p_bar = 0;
        std::string tempText, pressText;
    };
    std::optional<DrawnState> drawn;
    core::ModelDetails details; // the last shown, for its CSV
    std::string text;           // the last returned text
};

Page& page()
{
    static Page p;
    return p;
}

const char* keep(std::string text)
{
    page().text = std::move(text);
    return page().text.c_str();
}

std::string_view boolText(bool x) { return x ? "true" : "false"; }

void appendNumber(std::string& out, double x)
{
    out += std::isfinite(x) ? state::formatShortest(x) : "null";
}

std::string effectsJson(const core::Effects& fx)
{
    std::string out = "{\"message\": ";
    if (fx.message)
        out += "{\"prompt\": " + cli::jsonString(fx.message->prompt) +
               ", \"title\": " + cli::jsonString(fx.message->title) + "}";
    else
        out += "null";
    out += ", \"focus\": ";
    if (fx.focus)
        out += *fx.focus == core::FocusTarget::txtTemp ? "\"txtTemp\"" : "\"txtPress\"";
    else
        out += "null";
    return out + "}";
}

void appendDiagram(std::string& out, const plots::Diagram& d)
{
    const auto axis = [&](const plots::Axis& a) {
        out += "{\"title\": " + cli::jsonString(a.title) + ", \"log\": ";
        out += boolText(a.log);
        out += ", \"min\": ";
        appendNumber(out, a.min);
        out += ", \"max\": ";
        appendNumber(out, a.max);
        out += "}";
    };
    const auto row = [](const std::optional<state::Row>& r) {
        return r ? std::to_string(static_cast<int>(*r)) : std::string("null");
    };
    out += "{\"title\": " + cli::jsonString(d.title) + ", \"x\": ";
    axis(d.x);
    out += ", \"y\": ";
    axis(d.y);
    out += ", \"curves\": [";
    for (std::size_t i = 0; i < d.curves.size(); ++i) {
        const plots::Curve& c = d.curves[i];
        out += i ? ", " : "";
        out += "{\"name\": " + cli::jsonString(c.name) + ", \"model\": " + row(c.model) +
               ", \"style\": " + std::to_string(static_cast<int>(c.style)) + ", \"x\": [";
        for (std::size_t k = 0; k < c.x.size(); ++k) {
            out += k ? "," : "";
            appendNumber(out, c.x[k]);
        }
        out += "], \"y\": [";
        for (std::size_t k = 0; k < c.y.size(); ++k) {
            out += k ? "," : "";
            appendNumber(out, c.y[k]);
        }
        out += "]}";
    }
    out += "], \"markers\": [";
    for (std::size_t i = 0; i < d.markers.size(); ++i) {
        const plots::Marker& m = d.markers[i];
        out += i ? ", " : "";
        out += "{\"kind\": " + std::to_string(static_cast<int>(m.kind)) +
               ", \"model\": " + row(m.model) + ", \"x\": ";
        appendNumber(out, m.x);
        out += ", \"y\": ";
        appendNumber(out, m.y);
        out += ", \"label\": " + cli::jsonString(m.label) + "}";
    }
    out += "]}";
}

std::string diagramsJson(const plots::Diagrams& d, const plots::DiagramUnits& units)
{
    std::string out = "{\"note\": " + cli::jsonString(d.note) + ", \"pv\": ";
    appendDiagram(out, d.pv);
    out += ", \"zp\": ";
    appendDiagram(out, d.zp);
    out += ", \"pt\": ";
    appendDiagram(out, d.pt);
    out += ", \"columns\": [";
    const char* sep = "";
    for (const std::string& c : plots::tableColumns(units)) {
        out += sep + cli::jsonString(c);
        sep = ", ";
    }
    out += "], \"table\": [";
    sep = "";
    for (const plots::TableRow& row : d.table) {
        out += sep;
        out += "[";
        const char* cellSep = "";
        for (const std::string& cell : plots::tableCells(row)) {
            out += cellSep + cli::jsonString(cell);
            cellSep = ", ";
        }
        out += "]";
        sep = ", ";
    }
    return out + "]}";
}

void appendRows(std::string& out, const std::vector<core::DetailRow>& rows)
{
    out += "[";
    const char* sep = "";
    for (const core::DetailRow& r : rows) {
        out += sep;
        out += "[" + cli::jsonString(r.name) + ", " + cli::jsonString(r.value) + ", " +
               cli::jsonString(r.unit) + "]";
        sep = ", ";
    }
    out += "]";
}

std::string optionalText(const std::optional<double>& x)
{
    return x ? state::formatSignificant(*x, 6) : std::string();
}

/// The component's reference equation of state at the diagrams' state: its phase, V, Z and
/// density, and how far the model's stable root lies from them (%); null without one.
void appendReference(std::string& out, state::Row model)
{
    const Page& p = page();
    const reference::Fluid* f = p.listed ? core::referenceFor(p.component) : nullptr;
    if (f == nullptr) {
        out += "null";
        return;
    }
    const core::ReferenceAtState at =
        core::compareAtState(*f, p.drawn->state, p.drawn->tempText, p.drawn->pressText);
    const core::ModelDeviation& d = at.models[static_cast<std::size_t>(model)];
    const bool found =
        at.state.status == reference::Status::Ok || at.state.status == reference::Status::TwoPhase;
    out += "{\"citation\": " + cli::jsonString(f->citation) + ", \"status\": " +
           cli::jsonString(found ? std::string_view() : reference::statusText(at.state.status)) +
           ", \"phase\": " +
           cli::jsonString(found ? reference::phaseText(at.state.phase) : std::string_view()) +
           ", \"rows\": [";
    const std::array<
        std::tuple<const char*, const char*, std::optional<double>, std::optional<double>>, 3>
        rows = {{{"Molar volume V", "cm3/mol", at.volume_cm3mol, d.volume},
                 {"Compressibility factor Z", "", at.z, d.z},
                 {"Density", "kg/m3", at.density_kg_m3, d.density}}};
    const char* sep = "";
    for (const auto& [name, unit, value, deviation] : rows) {
        out += sep;
        out += "[" + cli::jsonString(name) + ", " + cli::jsonString(optionalText(value)) + ", " +
               cli::jsonString(unit) + ", " + cli::jsonString(optionalText(deviation)) + "]";
        sep = ", ";
    }
    out += "]}";
}

/// One model at the state the diagrams are drawn for, as the desktop's details show it.
std::string detailsJson(state::Row model)
{
    Page& p = page();
    p.details = core::modelDetails(p.drawn->state, p.drawn->t_K, p.drawn->p_bar, model);
    const core::ModelDetails& d = p.details;
    std::string out = "{\"heading\": " + cli::jsonString(d.heading) +
                      ", \"note\": " + cli::jsonString(core::kResidualNote) + ", \"parameters\": ";
    appendRows(out, d.parameters);
    out += ", \"roots\": [";
    const char* sep = "";
    for (const core::RootRow& r : d.roots) {
        out += sep;
        out += "[" + cli::jsonString(r.volume) + ", " + cli::jsonString(r.z) + ", " +
               cli::jsonString(r.lnPhi) + ", " + cli::jsonString(r.tag) + ", " +
               cli::jsonString(r.reason) + "]";
        sep = ", ";
    }
    out += "], \"stable\": " + cli::jsonString(d.stable) + ", \"properties\": ";
    appendRows(out, d.properties);
    out += ", \"steps\": [";
    sep = "";
    for (const std::string& step : d.steps) {
        out += sep + cli::jsonString(step);
        sep = ", ";
    }
    out += "], \"reference\": ";
    appendReference(out, model);
    return out + "}";
}

const plots::Diagram* diagramAt(int which)
{
    const plots::Diagrams& d = page().diagrams;
    switch (which) {
    case 0:
        return &d.pv;
    case 1:
        return &d.zp;
    case 2:
        return &d.pt;
    default:
        return nullptr;
    }
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* t1_version() { return state::kVersion; }

/// A component of the shipped list: eleven values (MolWt .. K3, AntA .. AntC; NaN where
/// missing), the Antoine set when hasAntoine, and its fitted range (NaN when unknown).
EMSCRIPTEN_KEEPALIVE void t1_choose_listed(const char* name, const double* values, int hasAntoine,
                                           double tmin_C, double tmax_C)
{
    web::ListedComponent c;
    for (std::size_t i = 0; i < c.constants.size(); ++i)
        c.constants[i] = values[i];
    if (hasAntoine)
        c.antoine = std::array<double, 3>{values[8], values[9], values[10]};
    Page& p = page();
    web::chooseListed(p.vm, name, c);
    p.component = name;
    p.listed = true;
    p.antoineRange.reset();
    if (std::isfinite(tmin_C) && std::isfinite(tmax_C) && tmin_C < tmax_C)
        p.antoineRange = plots::AntoineRange{tmin_C, tmax_C};
}

/// A custom component from eleven texts separated by '\n' (MolWt .. K3, AntA .. AntC; empty
/// where not given). Returns 0, or the 1-based position of the first text refused.
EMSCRIPTEN_KEEPALIVE int t1_choose_typed(const char* name, const char* texts)
{
    std::array<std::string_view, 11> fields;
    std::string_view rest(texts);
    for (std::string_view& f : fields) {
        const std::size_t end = rest.find('\n');
        f = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    web::TypedComponent c;
    for (std::size_t i = 0; i < 8; ++i)
        c.constants[i] = fields[i];
    for (std::size_t i = 0; i < 3; ++i)
        c.antoine[i] = fields[8 + i];
    Page& p = page();
    const int refused = web::chooseTyped(p.vm, name, c);
    if (refused == 0) {
        p.component = name;
        p.listed = false;
        p.antoineRange.reset();
    }
    return refused;
}

/// One CSV row ("\n" ended) of fields separated by '\x1f', quoted as every CSV of the program.
EMSCRIPTEN_KEEPALIVE const char* t1_csv_row(const char* fields)
{
    std::string out;
    std::string_view rest(fields);
    for (bool first = true;; first = false) {
        const std::size_t end = rest.find('\x1f');
        if (!first)
            out += ',';
        core::appendCsvField(out, rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return keep(out + "\n");
}

/// The entry boxes' numeric test, for the custom components' fields.
EMSCRIPTEN_KEEPALIVE int t1_is_numeric(const char* text) { return state::isNumeric(text) ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void t1_set_temp(const char* text) { page().vm.setTxtTemp(text); }
EMSCRIPTEN_KEEPALIVE void t1_set_press(const char* text) { page().vm.setTxtPress(text); }
EMSCRIPTEN_KEEPALIVE void t1_set_checks(int hypothetical, int spherical)
{
    page().vm.setChkStCalc(hypothetical != 0);
    page().vm.setChkSphMol(spherical != 0);
}

EMSCRIPTEN_KEEPALIVE const char* t1_temp_lost_focus()
{
    return keep(effectsJson(page().vm.txtTemp_LostFocus()));
}
EMSCRIPTEN_KEEPALIVE const char* t1_press_lost_focus()
{
    return keep(effectsJson(page().vm.txtPress_LostFocus()));
}
EMSCRIPTEN_KEEPALIVE const char* t1_opt_click(int index)
{
    return keep(effectsJson(page().vm.optEqState_Click(index)));
}

EMSCRIPTEN_KEEPALIVE void t1_solve()
{
    Page& p = page();
    p.vm.cmdSolve_Click();
    p.solvedFor.emplace(p.component, p.vm.state().conditions);
}

/// Everything the calculator shows: message lines, boxes, buttons, check boxes and the cells.
EMSCRIPTEN_KEEPALIVE const char* t1_view()
{
    const core::MainViewModel& vm = page().vm;
    std::string out = "{\"message\": [";
    const char* sep = "";
    for (std::string_view line : core::messageLines(vm.lblStCond())) {
        out += sep + cli::jsonString(line);
        sep = ", ";
    }
    out += "], \"temp\": " + cli::jsonString(vm.txtTemp()) +
           ", \"press\": " + cli::jsonString(vm.txtPress()) + ", \"optSelected\": [";
    out += boolText(vm.optEqStateSelected(0));
    out += ", ";
    out += boolText(vm.optEqStateSelected(1));
    out += "], \"optEnabled\": [";
    out += boolText(vm.optEqStateEnabled(0));
    out += ", ";
    out += boolText(vm.optEqStateEnabled(1));
    out += "], \"hypothetical\": ";
    out += boolText(vm.chkStCalc());
    out += ", \"spherical\": ";
    out += boolText(vm.chkSphMol());
    out += ", \"cells\": {";
    sep = "";
    for (state::CellId id : state::allCells()) {
        const state::Cell& c = vm.sheet().cell(id);
        out += sep + cli::jsonString(state::cellName(id)) + ": [" + cli::jsonString(c.text) + ", " +
               std::to_string(c.color) + "]";
        sep = ", ";
    }
    return keep(out + "}}");
}

/// Computes the diagrams for the state as it is now and returns them with the table, in the
/// units chosen.
EMSCRIPTEN_KEEPALIVE const char* t1_diagrams()
{
    Page& p = page();
    plots::DiagramInput in;
    in.component = p.component;
    in.state = p.vm.state();
    const state::StateConditions& now = in.state.conditions;
    if (p.solvedFor && p.solvedFor->first == p.component &&
        p.solvedFor->second.TempK == now.TempK && p.solvedFor->second.PressBar == now.PressBar)
        in.sheet = p.vm.sheet();
    in.solvedBefore = p.solvedFor.has_value();
    in.componentSolved = !in.sheet && p.solvedFor && p.solvedFor->first == p.component;
    in.antoineRange = p.antoineRange;
    // The state as the sheet shows it, as the diagrams window takes it: the boxes it was
    // solved from, or as they read now when they hold the state drawn ("5.000" on the
    // two-phase line for 5.00019).
    const auto shows = [](const std::string& text, double value) {
        const auto typed = state::toDouble(text);
        const std::size_t point = text.find('.');
        const bool plain = text.find_first_of("eE") == std::string::npos;
        const int decimals =
            point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
        const double halfStep = plain ? 0.5 * std::pow(10.0, -decimals) : 0;
        return typed && std::abs(*typed - value) <= halfStep + 1e-6 * std::abs(value);
    };
    const auto& solved = p.vm.solvedFrom();
    const bool fromSolve = in.sheet && solved;
    const std::string& tempText = fromSolve ? solved->txtTemp : p.vm.txtTemp();
    const std::string& pressText = fromSolve ? solved->txtPress : p.vm.txtPress();
    if (shows(tempText, now.TempK - kZeroCelsius_K))
        in.tempText = tempText;
    if (shows(pressText, now.PressBar))
        in.pressText = pressText;
    p.computed = plots::computeDiagrams(in);
    // The details and the reference describe the state drawn, the stand-in before any solve.
    const auto [t_K, p_bar] = plots::diagramStatePoint(in);
    p.drawn = Page::DrawnState{in.state, t_K, p_bar, p.computed.tempText, p.computed.pressText};
    p.diagrams = plots::inUnits(p.computed, p.units);
    return keep(diagramsJson(p.diagrams, p.units));
}

/// The units the diagrams offer, by quantity (temperature, pressure, molar volume): each
/// list starts with the diagrams' own unit under the symbol "".
EMSCRIPTEN_KEEPALIVE const char* t1_unit_choices()
{
    // The diagrams' own unit of each quantity: T axes in K, pressures in bar, volumes in cm3/mol.
    constexpr std::array<std::string_view, 3> kOwn = {"K", "bar", "cm3/mol"};
    std::string out = "[";
    for (std::size_t i = 0; i < plots::kDiagramQuantities.size(); ++i) {
        const state::Quantity q = plots::kDiagramQuantities[i];
        const state::Unit& own = state::unitBySymbol(kOwn[i]);
        out += i ? ", " : "";
        out += "{\"quantity\": " + cli::jsonString(state::quantityName(q)) +
               ", \"units\": [{\"symbol\": \"\", \"label\": " + cli::jsonString(own.label) + "}";
        for (const state::Unit& u : state::allUnits())
            if (u.quantity == q && &u != &own)
                out += ", {\"symbol\": " + cli::jsonString(u.symbol) +
                       ", \"label\": " + cli::jsonString(u.label) + "}";
        out += "]}";
    }
    return keep(out + "]");
}

/// Chooses the units from three symbols separated by '\n' (temperature, pressure, molar
/// volume; empty or unknown: the diagrams' own) and returns the last computed diagrams in
/// them, without computing again.
EMSCRIPTEN_KEEPALIVE const char* t1_set_units(const char* symbols)
{
    std::array<std::string, 3> s;
    std::string_view rest(symbols);
    for (std::string& one : s) {
        const std::size_t end = rest.find('\n');
        one = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    Page& p = page();
    p.units = plots::unitsFromSymbols(s);
    p.diagrams = plots::inUnits(p.computed, p.units);
    return keep(diagramsJson(p.diagrams, p.units));
}

/// One model (a row of the sheet, 0 the virial) at the diagrams' state, in K, bar and
/// cm3/mol: parameters, tagged roots, the stable root's properties, the explanation and, for a
/// listed component with one, the reference equation of state there.
EMSCRIPTEN_KEEPALIVE const char* t1_details(int row)
{
    if (row < 0 || row >= analysis::kModelCount || !page().drawn)
        return keep("null");
    return keep(detailsJson(static_cast<state::Row>(row)));
}

/// The last computed diagram's curves as CSV (0 P-V, 1 Z-P, 2 P-T; 3 the table; 4 the model
/// details last shown), with the
/// models whose bit is set in `shownModels` (bit 0 the virial row).
EMSCRIPTEN_KEEPALIVE const char* t1_diagram_csv(int which, int shownModels)
{
    if (which == 3)
        return keep(plots::tableText(page().diagrams.table, page().units, ','));
    if (which == 4)
        return keep(core::modelDetailsText(page().details, ','));
    const plots::Diagram* d = diagramAt(which);
    if (d == nullptr)
        return keep("");
    std::array<bool, plots::kModelCount> shown{};
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = ((shownModels >> i) & 1) != 0;
    return keep(plots::diagramCsv(*d, shown));
}

} // extern "C"
