#include "cli/properties_output.h"

#include "analysis/root_explanation.h"
#include "core/model_details.h"
#include "core/sheet_export.h"
#include "state/number_format.h"
#include "state/result_sheet.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace cli {
namespace {

constexpr int kDigits = 7;             // significant digits in the readable table
constexpr std::size_t kWidth = 80;     // the readable table's lines, wrapped
constexpr std::size_t kNameWidth = 46; // a property's name and its blanks in the table

std::string sig(double x) { return state::formatSignificant(x, kDigits); }

// Shortest text that reads back as the same double. The analysis gives finite values or a
// status, never NaN; null only guards that promise.
std::string jsonNumber(double x) { return std::isfinite(x) ? state::formatShortest(x) : "null"; }

/// Appends words wrapped at kWidth columns, continuation lines indented to `indent`; the
/// first line starts at column `column`.
void appendWrapped(std::string& out, std::string_view words, std::size_t column, std::size_t indent)
{
    while (!words.empty()) {
        std::size_t take = words.size();
        if (column + take > kWidth) {
            const std::size_t space = words.rfind(' ', kWidth - column);
            take = space == std::string_view::npos || space == 0 ? words.find(' ') : space;
            take = std::min(take, words.size());
        }
        out += words.substr(0, take);
        words.remove_prefix(take);
        while (!words.empty() && words.front() == ' ')
            words.remove_prefix(1);
        out += '\n';
        if (!words.empty()) {
            out.append(indent, ' ');
            column = indent;
        }
    }
}

std::string withUnit(const std::string& value, std::string_view unit)
{
    return unit.empty() ? value : value + " " + core::asciiText(unit);
}

void appendPropertiesTable(std::string& out, const analysis::StateProperties& sp)
{
    out += '\n';
    appendWrapped(out,
                  "Model properties at " + sig(sp.t_K) + " K and " + sig(sp.p_bar) +
                      " bar (double precision; " + std::string(analysis::kResidualReference) + ")",
                  0, 0);
    for (const analysis::ModelProperties& m : sp.models) {
        out += "\n" + std::string(state::rowCaption(m.model)) + "\n  parameters: ";
        if (m.parameters.itemCount == 0)
            out += "undefined at this state\n";
        std::string items;
        for (int i = 0; i < m.parameters.itemCount; ++i) {
            const analysis::NamedValue& item = m.parameters.items[static_cast<std::size_t>(i)];
            const core::ParameterLabel label = core::parameterLabel(item.key);
            items += (i ? ", " : "") + core::asciiText(label.name) + " = " +
                     withUnit(sig(item.value), label.unit);
        }
        if (!items.empty())
            appendWrapped(out, items, 14, 4);
        if (m.count == 0)
            out += "  roots: " + std::string(analysis::statusText(m.status)) + "\n";
        for (int i = 0; i < m.count; ++i) {
            const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
            const std::string line = "root V = " + sig(r.v_cm3mol) + " cm3/mol, Z = " + sig(r.z) +
                                     ": " + analysis::reasonText(m, i);
            out += "  ";
            appendWrapped(out, line, 2, 4);
        }
        const auto p = m.stableProperties();
        if (!p) {
            out += "  stable root: none, " + std::string(analysis::stableStatusText(m)) + "\n";
            continue;
        }
        out += "  stable root:\n";
        const auto named = analysis::namedProperties(*p);
        for (std::size_t k = 0; k < named.size(); ++k) {
            const core::PropertyLabel& label = core::propertyLabels()[k];
            std::string line = "    " + core::asciiText(label.name);
            line.resize(std::max(line.size() + 1, kNameWidth), ' ');
            line += named[k].value ? withUnit(sig(*named[k].value), label.unit)
                                   : std::string(analysis::statusText(named[k].status));
            out += line + "\n";
        }
    }
}

void appendExplanationTable(std::string& out, const analysis::StateExplanation& e)
{
    out += "\nWhy each model's root is the one (step by step)\n";
    for (const analysis::ModelExplanation& m : e) {
        out += "\n" + std::string(state::rowCaption(m.properties.model)) + "\n";
        for (std::size_t i = 0; i < m.steps.size(); ++i) {
            const std::string number = "  " + std::to_string(i + 1) + ". ";
            out += number;
            appendWrapped(out, m.steps[i], number.size(), number.size());
        }
    }
}

void appendPropertiesJson(std::string& out, const analysis::StateProperties& sp)
{
    out += "\"properties\": {";
    for (const analysis::ModelProperties& m : sp.models) {
        if (&m != &sp.models.front())
            out += ", ";
        out += jsonString(state::rowKey(m.model)) + ": {\"parameters\": {";
        for (int i = 0; i < m.parameters.itemCount; ++i) {
            const analysis::NamedValue& item = m.parameters.items[static_cast<std::size_t>(i)];
            out += (i ? ", " : "") + jsonString(item.key) + ": " + jsonNumber(item.value);
        }
        out += "}, \"roots\": [";
        for (int i = 0; i < m.count; ++i) {
            const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
            out += std::string(i ? ", " : "") +
                   "{\"molar_volume_cm3_mol\": " + jsonNumber(r.v_cm3mol) +
                   ", \"Z\": " + jsonNumber(r.z) +
                   ", \"ln_phi\": " + (r.properties ? jsonNumber(r.properties->lnPhi) : "null") +
                   ", \"tag\": " + jsonString(analysis::tagText(r.tag)) +
                   ", \"reason\": " + jsonString(analysis::reasonText(m, i)) + "}";
        }
        out += "], \"stable\": ";
        if (const auto p = m.stableProperties()) {
            out += "{";
            std::string undefined;
            for (const analysis::NamedProperty& n : analysis::namedProperties(*p)) {
                if (n.key != analysis::kPropertyKeys.front())
                    out += ", ";
                out += jsonString(n.key) + ": " + (n.value ? jsonNumber(*n.value) : "null");
                if (!n.value)
                    undefined += (undefined.empty() ? "" : ", ") + jsonString(n.key) + ": " +
                                 jsonString(analysis::statusText(n.status));
            }
            if (!undefined.empty())
                out += ", \"undefined\": {" + undefined + "}";
            out += "}";
        } else {
            out += "null";
        }
        out += ", \"status\": " + jsonString(analysis::stableStatusText(m)) + "}";
    }
    out += "}";
}

void appendExplanationJson(std::string& out, const analysis::StateExplanation& e)
{
    out += "\"explanation\": {";
    for (const analysis::ModelExplanation& m : e) {
        if (&m != &e.front())
            out += ", ";
        out += jsonString(state::rowKey(m.properties.model)) + ": [";
        for (std::size_t i = 0; i < m.steps.size(); ++i)
            out += (i ? ", " : "") + jsonString(m.steps[i]);
        out += "]";
    }
    out += "}";
}

void appendPropertiesCsv(std::string& out, const analysis::StateProperties& sp)
{
    for (const analysis::ModelProperties& m : sp.models) {
        const auto p = m.stableProperties();
        if (p)
            for (const analysis::NamedProperty& n : analysis::namedProperties(*p)) {
                out += ',';
                if (n.value)
                    out += state::formatShortest(*n.value);
            }
        else
            out.append(analysis::kPropertyCount, ',');
        out += ',';
        // A property left empty in a row with a stable root is one at a spinodal or beyond
        // the double range: the status column says which.
        std::string status(analysis::stableStatusText(m));
        if (p)
            for (const analysis::NamedProperty& n : analysis::namedProperties(*p))
                if (!n.value)
                    status += "; " + std::string(n.key) + " " +
                              std::string(analysis::statusText(n.status));
        core::appendCsvField(out, status);
    }
}

void appendExplanationCsv(std::string& out, const analysis::StateExplanation& e)
{
    // One field a model, its steps numbered on one line: CSV rows of this program hold no
    // line breaks.
    for (const analysis::ModelExplanation& m : e) {
        std::string text;
        for (std::size_t i = 0; i < m.steps.size(); ++i)
            text += (i ? " " : "") + std::to_string(i + 1) + ". " + m.steps[i];
        out += ',';
        core::appendCsvField(out, text);
    }
}

} // namespace

std::size_t additionColumns(const Additions& a)
{
    constexpr std::size_t kPerModel = analysis::kPropertyCount + 1; // and the status
    return (a.properties ? analysis::kModelCount * kPerModel : 0) +
           (a.explain ? analysis::kModelCount : std::size_t{0});
}

void extendHeader(std::string& header, Format format, const Additions& a)
{
    if (format != Format::Csv || !a.any() || header.empty())
        return;
    header.pop_back(); // the line end
    for (const analysis::Model m : analysis::kModels) {
        const std::string prefix = std::string(state::rowKey(m)) + "_";
        if (a.properties) {
            for (std::string_view key : analysis::kPropertyKeys)
                header += "," + prefix + std::string(key);
            header += "," + prefix + "status";
        }
    }
    if (a.explain)
        for (const analysis::Model m : analysis::kModels)
            header += "," + std::string(state::rowKey(m)) + "_explanation";
    header += '\n';
}

void appendAdditions(std::string& out, Format format, Layout layout, const Additions& a,
                     const state::CalcState& s)
{
    if (!a.any())
        return;
    std::optional<analysis::StateProperties> sp;
    std::optional<analysis::StateExplanation> ex;
    if (a.properties)
        sp = analysis::stateProperties(s);
    if (a.explain)
        ex = analysis::explainState(s);
    switch (format) {
    case Format::Table: {
        // A batch row or a sweep state ends with a blank line that parts it from the next.
        const bool parted = layout != Layout::Single && !out.empty() && out.back() == '\n';
        if (parted)
            out.pop_back();
        if (sp)
            appendPropertiesTable(out, *sp);
        if (ex)
            appendExplanationTable(out, *ex);
        if (parted)
            out += '\n';
        break;
    }
    case Format::Json:
        out.erase(out.size() - 2); // "}\n": the additions join the object as its last members
        if (sp) {
            out += ", ";
            appendPropertiesJson(out, *sp);
        }
        if (ex) {
            out += ", ";
            appendExplanationJson(out, *ex);
        }
        out += "}\n";
        break;
    case Format::Csv:
        out.pop_back();
        if (sp)
            appendPropertiesCsv(out, *sp);
        if (ex)
            appendExplanationCsv(out, *ex);
        out += '\n';
        break;
    }
}

void padRejected(std::string& out, Format format, const Additions& a)
{
    if (format != Format::Csv || !a.any())
        return;
    out.pop_back();
    out.append(additionColumns(a), ',');
    out += '\n';
}

} // namespace cli
