#include "cli/reference_output.h"

#include "cli/job.h"
#include "cli/output.h"
#include "cli/reference_json.h"
#include "core/reference_comparison.h"
#include "core/sheet_export.h"
#include "state/csv.h"
#include "state/json_writer.h"
#include "state/number_format.h"
#include "state/result_sheet.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>

namespace cli {
namespace {

constexpr int kDigits = 7;

std::string sig(std::optional<double> x, int digits = kDigits)
{
    return x && std::isfinite(*x) ? state::formatSignificant(*x, digits) : "-";
}
std::string csvNum(std::optional<double> x)
{
    return x && std::isfinite(*x) ? state::formatShortest(*x) : "";
}

std::string padded(std::string s, std::size_t width, bool right = true)
{
    if (s.size() >= width)
        return " " + s;
    return right ? std::string(width - s.size(), ' ') + s : s + std::string(width - s.size(), ' ');
}

} // namespace

struct ReferenceExtras::Impl {
    bool reference = false, scorecard = false;
    std::optional<std::string> dataName, dataText;
    mutable std::mutex mutex;
    mutable std::map<std::string, std::shared_ptr<const core::Scorecard>> cards;
    mutable std::map<std::string, std::shared_ptr<const DataResult>> scores;

    const reference::Fluid* fluidOf(const std::string& component, bool stored,
                                    std::string& reason) const
    {
        if (!stored) {
            reason = "constants typed on the command line have no reference equation of state";
            return nullptr;
        }
        return core::referenceFor(component, &reason);
    }

    std::shared_ptr<const core::Scorecard>
    card(const std::string& component, const reference::Fluid& f, const state::CalcState& s) const
    {
        {
            std::lock_guard lock(mutex);
            if (const auto it = cards.find(component); it != cards.end())
                return it->second;
        }
        auto c = std::make_shared<const core::Scorecard>(
            core::scorecard(f, analysis::fluidOf(s.constants, s.chkSphMol)));
        std::lock_guard lock(mutex);
        return cards.emplace(component, std::move(c)).first->second;
    }

    std::shared_ptr<const DataResult> data(const std::string& component, const reference::Fluid* f,
                                           const state::CalcState& s) const
    {
        {
            std::lock_guard lock(mutex);
            if (const auto it = scores.find(component); it != scores.end())
                return it->second;
        }
        auto r = std::make_shared<DataResult>();
        r->data = core::readMeasured(*dataText, s.constants.MolWt);
        r->scores = core::scoreMeasured(r->data, analysis::fluidOf(s.constants, s.chkSphMol), f);
        std::lock_guard lock(mutex);
        return scores.emplace(component, std::move(r)).first->second;
    }
};

/// What the three options say about one solved state.
struct ReferenceExtras::AtState {
    const reference::Fluid* fluid = nullptr;
    std::string reason; // why there is no fluid
    std::optional<core::ReferenceAtState> at;
    std::shared_ptr<const core::Scorecard> card;
    std::shared_ptr<const DataResult> data;
};

namespace {

void appendReferenceTable(std::string& t, const reference::Fluid* f, const std::string& reason,
                          const core::ReferenceAtState* r)
{
    t += "\nReference equation of state: ";
    if (f == nullptr || r == nullptr) {
        t += "none (" + reason + ")\n";
        return;
    }
    t += f->citation + "\n  (" + std::string(kSource) + ")\n";
    t += "  at " + sig(r->t_K) + " K and " + sig(r->p_bar) + " bar (double precision): ";
    if (r->state.status == reference::Status::Ok)
        t += std::string(phaseText(r->state.phase)) + "\n  molar volume " + sig(r->volume_cm3mol) +
             " cm3/mol, Z " + sig(r->z) + ", density " + sig(r->density_kg_m3) + " kg/m3\n";
    else
        t += std::string(statusText(r->state.status)) + "\n";
    if (r->saturation)
        t += "  saturation: " + sig(r->saturation->p_Pa / reference::kPaPerBar) + " bar, liquid " +
             sig(1e6 / r->saturation->rhoLiquid) + ", vapour " +
             sig(1e6 / r->saturation->rhoVapour) + " cm3/mol\n";
    else
        t += "  saturation: none at this temperature\n";
    if (!r->volume_cm3mol)
        return;
    t += "\nDeviation from the reference, %";
    for (const char* h : {"Volume", "Z", "Density", "P sat", "V liq", "V vap"})
        t += padded(h, 10);
    t += "\n";
    for (const core::ModelDeviation& d : r->models) {
        std::string line = padded(std::string(state::rowCaption(d.model)), 31, false);
        for (const auto& x : {d.volume, d.z, d.density, d.psat, d.vLiquid, d.vVapour})
            line += padded(sig(x, 4), 10);
        t += line + "\n";
    }
}

void appendScorecardTable(std::string& t, const std::string& component, const reference::Fluid* f,
                          const std::string& reason, const core::Scorecard* c)
{
    t += "\nScorecard for " + component + ": ";
    if (f == nullptr || c == nullptr) {
        t += "none (" + reason + ")\n";
        return;
    }
    t += "average absolute deviation from the reference, %\n  " + f->citation + "\n  saturation " +
         sig(c->tFrom, 5) + " to " + sig(c->tTo, 5) + " K (" + std::to_string(c->satPoints) +
         " points), single-phase grid up to " + sig(c->gridPMax_bar, 4) + " bar (" +
         std::to_string(c->gridPoints) + " states)\n\n";
    t += padded("Rank", 6, false) + padded("Model", 6, false);
    for (const char* h : {"Overall", "P sat", "V liq", "V vap", "Grid V"})
        t += padded(h, 9);
    t += "  Worst state\n";
    int rank = 0;
    for (const core::ModelScore& s : c->ranked) {
        std::string line = padded(std::to_string(++rank), 6, false) +
                           padded(std::string(state::rowKey(s.model)), 6, false);
        for (const auto& x : {s.overall, s.psat, s.vLiquid, s.vVapour, s.grid})
            line += padded(sig(x, 4), 9);
        if (!s.worstState.empty())
            line += "  " + s.worstState + ": " + sig(s.worstDeviation, 4) + " %";
        if (s.satMissing + s.gridMissing > 0)
            line += "; no value at " + std::to_string(s.satMissing + s.gridMissing) + " points";
        t += line + "\n";
    }
}

void appendDataTable(std::string& t, const std::string& name, const DataResult& r)
{
    t += "\nMeasured data " + name + " (" +
         (r.data.vapourPressure ? "vapour pressure" : "molar volume at T, p") + ", " +
         std::to_string(r.data.points.size()) + " points, " +
         std::to_string(r.data.rejected.size()) + " rejected): average absolute deviation, %\n";
    int rank = 0;
    for (const core::DataScore& s : r.scores) {
        std::string line = padded(std::to_string(++rank), 4, false) + padded(s.who, 10, false) +
                           padded(sig(s.aad, 4), 9);
        if (s.points > 0)
            line += "  worst line " + std::to_string(s.worstLine) + ": " +
                    sig(s.worstDeviation, 4) + " %";
        if (s.missing > 0)
            line += "; no value at " + std::to_string(s.missing) + " points";
        t += line + "\n";
    }
}

std::string shortName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ReferenceExtras::ReferenceExtras(const Options& o, std::ostream& err) : m(std::make_unique<Impl>())
{
    m->reference = o.reference;
    m->scorecard = o.scorecard;
    if (o.data) {
        std::ifstream in(*o.data, std::ios::binary);
        std::ostringstream text;
        if (!in || !(text << in.rdbuf()))
            throw InputError{"cannot read the data file " + visible(*o.data)};
        m->dataName = *o.data;
        m->dataText = text.str();
        // Checked once here with a stand-in molar mass; each component reads it again with
        // its own.
        const core::MeasuredData check = core::readMeasured(*m->dataText, 1);
        if (!check.error.empty())
            throw InputError{visible(*o.data) + ": " + check.error};
        for (const core::RejectedRow& row : check.rejected)
            err << "tavrel1-cli: " << visible(*o.data) << " line " << row.line << ": " << row.reason
                << ", row left out\n";
    }
}

ReferenceExtras::~ReferenceExtras() = default;

bool ReferenceExtras::any() const { return m->reference || m->scorecard || m->dataText; }

std::string ReferenceExtras::csvHeader() const
{
    std::string h;
    if (m->reference) {
        h += ",reference_status,reference_phase,reference_molar_volume_cm3_mol,"
             "reference_density_kg_m3,reference_Z";
        for (const analysis::Model model : analysis::kModels)
            h += ",reference_deviation_volume_" + std::string(state::rowKey(model));
    }
    if (m->scorecard)
        for (const analysis::Model model : analysis::kModels)
            h += ",scorecard_aad_" + std::string(state::rowKey(model));
    if (m->dataText) {
        for (const analysis::Model model : analysis::kModels)
            h += ",data_aad_" + std::string(state::rowKey(model));
        h += ",data_aad_reference";
    }
    return h;
}

void ReferenceExtras::padRejected(std::string& text, Format format) const
{
    if (format != Format::Csv)
        return;
    const std::string added = csvHeader();
    text.resize(text.size() - state::kCsvLineEnd.size());
    text.append(static_cast<std::size_t>(std::count(added.begin(), added.end(), ',')), ',');
    text += state::kCsvLineEnd;
}

ReferenceExtras::AtState ReferenceExtras::compute(const Job& job, const core::Form& form) const
{
    AtState a;
    a.fluid = m->fluidOf(job.component, job.chosen.index() == 0, a.reason);
    const state::CalcState& s = form.state;
    if (m->reference && a.fluid)
        a.at = core::compareAtState(*a.fluid, s, form.temp, form.press);
    if (m->scorecard && a.fluid)
        a.card = m->card(job.component, *a.fluid, s);
    if (m->dataText)
        a.data = m->data(job.component, a.fluid, s);
    return a;
}

void ReferenceExtras::writeMembers(state::JsonWriter& w, const Job& job,
                                   const core::Form& form) const
{
    const AtState a = compute(job, form);
    if (m->reference)
        writeReference(w, a.fluid, a.reason, a.at ? &*a.at : nullptr);
    if (m->scorecard)
        writeScorecard(w, a.fluid, a.reason, a.card.get());
    if (a.data)
        writeData(w, shortName(*m->dataName), *a.data);
}

void ReferenceExtras::append(std::string& text, Format format, Layout layout, const Job& job,
                             const core::Form& form) const
{
    if (format == Format::Json)
        return; // members of the state's object: writeMembers
    const AtState computed = compute(job, form);
    const reference::Fluid* f = computed.fluid;
    const std::string& reason = computed.reason;
    const std::optional<core::ReferenceAtState>& at = computed.at;
    const std::shared_ptr<const core::Scorecard>& card = computed.card;
    const std::shared_ptr<const DataResult>& data = computed.data;

    switch (format) {
    case Format::Json:
        break;
    case Format::Csv: {
        text.resize(text.size() - state::kCsvLineEnd.size());
        if (m->reference) {
            text += ',';
            if (!f)
                state::appendCsvField(text, reason);
            else
                state::appendCsvField(text, statusText(at->state.status));
            text += ',';
            if (at && at->state.status == reference::Status::Ok)
                text += phaseText(at->state.phase);
            text += "," + csvNum(at ? at->volume_cm3mol : std::nullopt) + "," +
                    csvNum(at ? at->density_kg_m3 : std::nullopt) + "," +
                    csvNum(at ? at->z : std::nullopt);
            for (std::size_t i = 0; i < analysis::kModels.size(); ++i)
                text += "," + csvNum(at ? at->models[i].volume : std::nullopt);
        }
        if (m->scorecard)
            for (const analysis::Model model : analysis::kModels) {
                std::optional<double> x;
                if (card)
                    for (const core::ModelScore& sc : card->ranked)
                        if (sc.model == model)
                            x = sc.overall;
                text += "," + csvNum(x);
            }
        if (data) {
            const auto aadOf = [&](std::string_view who) -> std::optional<double> {
                for (const core::DataScore& d : data->scores)
                    if (d.who == who)
                        return d.aad;
                return std::nullopt;
            };
            for (const analysis::Model model : analysis::kModels)
                text += "," + csvNum(aadOf(state::rowKey(model)));
            text += "," + csvNum(aadOf("reference"));
        }
        text += state::kCsvLineEnd;
        break;
    }
    case Format::Table: {
        // A batch or sweep state ends with a blank line: the blocks go before it.
        const bool blank = layout != Layout::Single;
        if (blank)
            text.pop_back();
        if (m->reference)
            appendReferenceTable(text, f, reason, at ? &*at : nullptr);
        if (m->scorecard)
            appendScorecardTable(text, job.component, f, reason, card.get());
        if (data)
            appendDataTable(text, shortName(*m->dataName), *data);
        if (blank)
            text += "\n";
        break;
    }
    }
}

std::string ReferenceExtras::report(Format format, const std::string& component,
                                    const state::CalcState& s, bool stored) const
{
    std::string reason;
    const reference::Fluid* f = m->fluidOf(component, stored, reason);
    std::shared_ptr<const core::Scorecard> card;
    if (m->scorecard && f)
        card = m->card(component, *f, s);
    std::shared_ptr<const DataResult> data;
    if (m->dataText)
        data = m->data(component, f, s);
    std::string out;
    switch (format) {
    case Format::Json: {
        state::JsonWriter w(out);
        w.beginObject().member("component", component);
        if (m->scorecard)
            writeScorecard(w, f, reason, card.get());
        if (data)
            writeData(w, shortName(*m->dataName), *data);
        w.endObject();
        return out + "\n";
    }
    case Format::Table:
        if (m->scorecard)
            appendScorecardTable(out, component, f, reason, card.get());
        if (data)
            appendDataTable(out, shortName(*m->dataName), *data);
        return out.substr(1); // no blank line before the first block
    case Format::Csv:
        break;
    }
    out = "table,rank,model,overall_aad_percent,vapour_pressure_aad_percent,"
          "liquid_volume_aad_percent,vapour_volume_aad_percent,grid_volume_aad_percent,points,"
          "missing,worst,worst_deviation_percent\n";
    if (card) {
        int rank = 0;
        for (const core::ModelScore& sc : card->ranked) {
            out += "scorecard," + std::to_string(++rank) + "," +
                   std::string(state::rowKey(sc.model)) + "," + csvNum(sc.overall) + "," +
                   csvNum(sc.psat) + "," + csvNum(sc.vLiquid) + "," + csvNum(sc.vVapour) + "," +
                   csvNum(sc.grid) + "," + std::to_string(sc.satPoints + sc.gridPoints) + "," +
                   std::to_string(sc.satMissing + sc.gridMissing) + ",";
            state::appendCsvField(out, sc.worstState);
            out += "," + csvNum(sc.worstDeviation) + "\n";
        }
    } else if (m->scorecard) {
        out += "scorecard,,,,,,,,,,";
        state::appendCsvField(out, reason);
        out += ",\n";
    }
    if (data) {
        int rank = 0;
        for (const core::DataScore& d : data->scores)
            out += "data," + std::to_string(++rank) + "," + d.who + "," + csvNum(d.aad) + ",,,,," +
                   std::to_string(d.points) + "," + std::to_string(d.missing) + "," +
                   (d.points ? "line " + std::to_string(d.worstLine) : "") + "," +
                   csvNum(d.points ? std::optional(d.worstDeviation) : std::nullopt) + "\n";
    }
    return out;
}

} // namespace cli
