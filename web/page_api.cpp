// The functions the page calls: one main window's view model held for the page's life, its
// handlers, and what the page paints (the view and the diagrams) as JSON text. Strings cross
// as UTF-8; a returned text stays valid until the next call.
#include "cli/output.h"
#include "core/sheet_export.h"
#include "plots/diagrams.h"
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
    plots::Diagrams diagrams;
    std::string text; // the last returned text
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

/// Computes the diagrams for the state as it is now and returns them with the table.
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
    in.antoineRange = p.antoineRange;
    p.diagrams = plots::computeDiagrams(in);
    std::string out = "{\"note\": " + cli::jsonString(p.diagrams.note) + ", \"pv\": ";
    appendDiagram(out, p.diagrams.pv);
    out += ", \"zp\": ";
    appendDiagram(out, p.diagrams.zp);
    out += ", \"pt\": ";
    appendDiagram(out, p.diagrams.pt);
    out += ", \"columns\": [";
    const char* sep = "";
    for (const std::string& c : plots::tableColumns()) {
        out += sep + cli::jsonString(c);
        sep = ", ";
    }
    out += "], \"table\": [";
    sep = "";
    for (const plots::TableRow& row : p.diagrams.table) {
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
    return keep(out + "]}");
}

/// The last computed diagram's curves as CSV (0 P-V, 1 Z-P, 2 P-T; 3 the table), with the
/// models whose bit is set in `shownModels` (bit 0 the virial row).
EMSCRIPTEN_KEEPALIVE const char* t1_diagram_csv(int which, int shownModels)
{
    if (which == 3)
        return keep(plots::tableText(page().diagrams.table, ','));
    const plots::Diagram* d = diagramAt(which);
    if (d == nullptr)
        return keep("");
    std::array<bool, plots::kModelCount> shown{};
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = ((shownModels >> i) & 1) != 0;
    return keep(plots::diagramCsv(*d, shown));
}

} // extern "C"
