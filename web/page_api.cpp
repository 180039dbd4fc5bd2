// The functions the page calls: one main window's view model held for the page's life, its
// handlers, and what the page paints (the view and the diagrams) as JSON text. Strings cross
// as UTF-8; a returned text stays valid until the next call.
#include "cli/output.h"
#include "core/model_details.h"
#include "core/reference_comparison.h"
#include "core/sheet_export.h"
#include "plots/diagram_units.h"
#include "plots/diagrams.h"
#include "state/csv.h"
#include "state/json_writer.h"
#include "state/number_format.h"
#include "state/version.h"
#include "web/listed_component.h"

#include <cmath>
#include <emscripten/emscripten.h>
#include <optional>
#include <string>

namespace {

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

std::string effectsJson(const core::Effects& fx)
{
    std::string out;
    state::JsonWriter w(out);
    w.beginObject().key("message");
    if (fx.message)
        w.beginObject()
            .member("prompt", fx.message->prompt)
            .member("title", fx.message->title)
            .endObject();
    else
        w.null();
    w.key("focus");
    if (fx.focus)
        w.string(*fx.focus == core::FocusTarget::txtTemp ? "txtTemp" : "txtPress");
    else
        w.null();
    w.endObject();
    return out;
}

void writeAxis(state::JsonWriter& w, const plots::Axis& a)
{
    w.beginObject().member("title", a.title).member("log", a.log);
    w.member("min", a.min).member("max", a.max).endObject();
}

void writeRow(state::JsonWriter& w, const std::optional<state::Row>& r)
{
    if (r)
        w.integer(static_cast<int>(*r));
    else
        w.null();
}

void writeNumbers(state::JsonWriter& w, const std::vector<double>& xs)
{
    w.beginArray();
    for (const double x : xs)
        w.number(x);
    w.endArray();
}

void writeDiagram(state::JsonWriter& w, const plots::Diagram& d)
{
    w.beginObject().member("title", d.title);
    w.key("x");
    writeAxis(w, d.x);
    w.key("y");
    writeAxis(w, d.y);
    w.key("curves").beginArray();
    for (const plots::Curve& c : d.curves) {
        w.beginObject().member("name", c.name).key("model");
        writeRow(w, c.model);
        w.member("style", static_cast<int>(c.style)).key("x");
        writeNumbers(w, c.x);
        w.key("y");
        writeNumbers(w, c.y);
        w.endObject();
    }
    w.endArray().key("markers").beginArray();
    for (const plots::Marker& m : d.markers) {
        w.beginObject().member("kind", static_cast<int>(m.kind)).key("model");
        writeRow(w, m.model);
        w.member("x", m.x).member("y", m.y).member("label", m.label).endObject();
    }
    w.endArray().endObject();
}

std::string diagramsJson(const plots::Diagrams& d, const plots::DiagramUnits& units)
{
    std::string out;
    state::JsonWriter w(out);
    w.beginObject().member("note", d.note);
    w.key("pv");
    writeDiagram(w, d.pv);
    w.key("zp");
    writeDiagram(w, d.zp);
    w.key("pt");
    writeDiagram(w, d.pt);
    w.key("columns").beginArray();
    for (const std::string& c : plots::tableColumns(units))
        w.string(c);
    w.endArray().key("table").beginArray();
    for (const plots::TableRow& row : d.table) {
        w.beginArray();
        for (const std::string& cell : plots::tableCells(row))
            w.string(cell);
        w.endArray();
    }
    w.endArray().endObject();
    return out;
}

void writeRows(state::JsonWriter& w, const std::vector<core::DetailRow>& rows)
{
    w.beginArray();
    for (const core::DetailRow& r : rows)
        w.beginArray().string(r.name).string(r.value).string(r.unit).endArray();
    w.endArray();
}

std::string optionalText(const std::optional<double>& x)
{
    return x ? state::formatSignificant(*x, 6) : std::string();
}

/// The component's reference equation of state at the diagrams' state: its phase, V, Z and
/// density, and how far the model's stable root lies from them (%); null without one.
void writeReference(state::JsonWriter& w, state::Row model)
{
    const Page& p = page();
    const reference::Fluid* f = p.listed ? core::referenceFor(p.component) : nullptr;
    if (f == nullptr) {
        w.null();
        return;
    }
    const core::ReferenceAtState at =
        core::compareAtState(*f, p.drawn->state, p.drawn->tempText, p.drawn->pressText);
    const core::ModelDeviation& d = at.models[static_cast<std::size_t>(model)];
    const bool found =
        at.state.status == reference::Status::Ok || at.state.status == reference::Status::TwoPhase;
    w.beginObject().member("citation", f->citation);
    w.member("status", found ? std::string_view() : reference::statusText(at.state.status));
    w.member("phase", found ? reference::phaseText(at.state.phase) : std::string_view());
    const std::array<
        std::tuple<const char*, const char*, std::optional<double>, std::optional<double>>, 3>
        rows = {{{"Molar volume V", "cm3/mol", at.volume_cm3mol, d.volume},
                 {"Compressibility factor Z", "", at.z, d.z},
                 {"Density", "kg/m3", at.density_kg_m3, d.density}}};
    w.key("rows").beginArray();
    for (const auto& [name, unit, value, deviation] : rows)
        w.beginArray()
            .string(name)
            .string(optionalText(value))
            .string(unit)
            .string(optionalText(deviation))
            .endArray();
    w.endArray().endObject();
}

/// One model at the state the diagrams are drawn for, as the desktop's details show it.
std::string detailsJson(state::Row model)
{
    Page& p = page();
    p.details = core::modelDetails(p.drawn->state, p.drawn->t_K, p.drawn->p_bar, model);
    const core::ModelDetails& d = p.details;
    std::string out;
    state::JsonWriter w(out);
    w.beginObject().member("heading", d.heading).member("note", core::kResidualNote);
    w.key("parameters");
    writeRows(w, d.parameters);
    w.key("roots").beginArray();
    for (const core::RootRow& r : d.roots) {
        w.beginArray().string(r.volume).string(r.z).string(r.lnPhi).string(r.tag);
        w.string(r.reason).endArray();
    }
    w.endArray().member("stable", d.stable).key("properties");
    writeRows(w, d.properties);
    w.key("steps").beginArray();
    for (const std::string& step : d.steps)
        w.string(step);
    w.endArray().key("reference");
    writeReference(w, model);
    w.endObject();
    return out;
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
        state::appendCsvField(out, rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    out += state::kCsvLineEnd;
    return keep(std::move(out));
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
    std::string out;
    state::JsonWriter w(out);
    w.beginObject().key("message").beginArray();
    for (std::string_view line : core::messageLines(vm.lblStCond()))
        w.string(line);
    w.endArray().member("temp", vm.txtTemp()).member("press", vm.txtPress());
    w.key("optSelected").beginArray().boolean(vm.optEqStateSelected(0));
    w.boolean(vm.optEqStateSelected(1)).endArray();
    w.key("optEnabled").beginArray().boolean(vm.optEqStateEnabled(0));
    w.boolean(vm.optEqStateEnabled(1)).endArray();
    w.member("hypothetical", vm.chkStCalc()).member("spherical", vm.chkSphMol());
    w.key("cells").beginObject();
    for (state::CellId id : state::allCells()) {
        const state::Cell& c = vm.sheet().cell(id);
        w.key(state::cellName(id)).beginArray().string(c.text).integer(c.color).endArray();
    }
    w.endObject().endObject();
    return keep(std::move(out));
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
    // The state as the sheet shows it, as the diagrams window takes it.
    const auto& solved = p.vm.solvedFrom();
    const bool fromSolve = in.sheet && solved;
    const std::string& tempText = fromSolve ? solved->txtTemp : p.vm.txtTemp();
    const std::string& pressText = fromSolve ? solved->txtPress : p.vm.txtPress();
    plots::takeShownTexts(in, tempText, pressText);
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
    std::string out;
    state::JsonWriter w(out);
    w.beginArray();
    for (std::size_t i = 0; i < plots::kDiagramQuantities.size(); ++i) {
        const state::Quantity q = plots::kDiagramQuantities[i];
        const state::Unit& own = state::unitBySymbol(kOwn[i]);
        w.beginObject().member("quantity", state::quantityName(q)).key("units").beginArray();
        w.beginObject().member("symbol", "").member("label", own.label).endObject();
        for (const state::Unit& u : state::allUnits())
            if (u.quantity == q && &u != &own)
                w.beginObject().member("symbol", u.symbol).member("label", u.label).endObject();
        w.endArray().endObject();
    }
    w.endArray();
    return keep(std::move(out));
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
