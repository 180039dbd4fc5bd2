#include "cli/properties_output.h"

#include "analysis/root_explanation.h"
#include "cli/job.h"
#include "cli/reference_output.h"
#include "cli/text_wrap.h"
#include "core/model_details.h"
#include "core/sheet_export.h"
#include "state/csv.h"
#include "state/json_writer.h"
#include "state/number_format.h"
#include "state/result_sheet.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace cli {
namespace {

/// The additions' columns extend a record already written: its line end goes first.
void dropCsvLineEnd(std::string& record)
{
    record.resize(record.size() - state::kCsvLineEnd.size());
}

constexpr int kDigits = 7;             // significant digits in the readable table
constexpr std::size_t kNameWidth = 46; // a property's name and its blanks in the table

std::string sig(double x) { return state::formatSignificant(x, kDigits); }

// Shortest text that reads back as the same double. The analysis gives finite values or a
// status, never NaN; null only guards that promise.

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

void writeProperties(state::JsonWriter& w, const analysis::StateProperties& sp)
{
    w.key("properties").beginObject();
    for (const analysis::ModelProperties& m : sp.models) {
        w.key(state::rowKey(m.model)).beginObject().key("parameters").beginObject();
        for (int i = 0; i < m.parameters.itemCount; ++i) {
            const analysis::NamedValue& item = m.parameters.items[static_cast<std::size_t>(i)];
            w.member(item.key, item.value);
        }
        w.endObject().key("roots").beginArray();
        for (int i = 0; i < m.count; ++i) {
            const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
            w.beginObject().member("molar_volume_cm3_mol", r.v_cm3mol).member("Z", r.z);
            w.key("ln_phi");
            if (r.properties)
                w.number(r.properties->lnPhi);
            else
                w.null();
            w.member("tag", analysis::tagText(r.tag)).member("reason", analysis::reasonText(m, i));
            w.endObject();
        }
        w.endArray().key("stable");
        if (const auto p = m.stableProperties()) {
            w.beginObject();
            bool anyUndefined = false;
            for (const analysis::NamedProperty& n : analysis::namedProperties(*p)) {
                w.key(n.key);
                if (n.value)
                    w.number(*n.value);
                else
                    w.null();
                anyUndefined = anyUndefined || !n.value;
            }
            if (anyUndefined) {
                w.key("undefined").beginObject();
                for (const analysis::NamedProperty& n : analysis::namedProperties(*p))
                    if (!n.value)
                        w.member(n.key, analysis::statusText(n.status));
                w.endObject();
            }
            w.endObject();
        } else {
            w.null();
        }
        w.member("status", analysis::stableStatusText(m)).endObject();
    }
    w.endObject();
}

void writeExplanation(state::JsonWriter& w, const analysis::StateExplanation& e)
{
    w.key("explanation").beginObject();
    for (const analysis::ModelExplanation& m : e) {
        w.key(state::rowKey(m.properties.model)).beginArray();
        for (const std::string& step : m.steps)
            w.string(step);
        w.endArray();
    }
    w.endObject();
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
        state::appendCsvField(out, status);
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
        state::appendCsvField(out, text);
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
    dropCsvLineEnd(header);
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
    header += state::kCsvLineEnd;
}

void appendAdditions(std::string& out, Format format, Layout layout, const Additions& a,
                     const Job& job, const core::Form& form)
{
    if (!a.any())
        return;
    const state::CalcState& s = form.state;
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
        break; // members of the state's object: writeAdditions
    case Format::Csv:
        dropCsvLineEnd(out);
        if (sp)
            appendPropertiesCsv(out, *sp);
        if (ex)
            appendExplanationCsv(out, *ex);
        out += state::kCsvLineEnd;
        break;
    }
    if (a.reference != nullptr)
        a.reference->append(out, format, layout, job, form);
}

void padRejected(std::string& out, Format format, const Additions& a)
{
    if (format != Format::Csv || !a.any())
        return;
    dropCsvLineEnd(out);
    out.append(additionColumns(a), ',');
    out += state::kCsvLineEnd;
    if (a.reference != nullptr)
        a.reference->padRejected(out, format);
}

void writeAdditions(state::JsonWriter& w, const Additions& a, const Job& job,
                    const core::Form& form)
{
    if (a.properties)
        writeProperties(w, analysis::stateProperties(form.state));
    if (a.explain)
        writeExplanation(w, analysis::explainState(form.state));
    if (a.reference != nullptr)
        a.reference->writeMembers(w, job, form);
}

} // namespace cli
