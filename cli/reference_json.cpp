#include "cli/reference_json.h"

#include <optional>

namespace cli {
namespace {

/// A number, or null for none (the writer writes null for one that is not finite).
void numberOrNull(state::JsonWriter& w, std::optional<double> x)
{
    if (x)
        w.number(*x);
    else
        w.null();
}

} // namespace

void writeReference(state::JsonWriter& w, const reference::Fluid* f, const std::string& reason,
                    const core::ReferenceAtState* r)
{
    if (f == nullptr || r == nullptr) {
        w.key("reference").null().member("reference_reason", reason);
        return;
    }
    const auto number = [&](std::string_view key, std::optional<double> x) {
        w.key(key);
        numberOrNull(w, x);
    };
    w.key("reference").beginObject().member("equation", f->citation).key("phase");
    if (r->state.status == reference::Status::Ok)
        w.string(phaseText(r->state.phase));
    else if (r->state.status == reference::Status::TwoPhase)
        w.string("two-phase");
    else
        w.null();
    number("molar_volume_cm3_mol", r->volume_cm3mol);
    number("density_kg_m3", r->density_kg_m3);
    number("Z", r->z);
    w.key("saturation");
    if (r->saturation) {
        w.beginObject();
        number("pressure_bar", r->saturation->p_Pa / reference::kPaPerBar);
        number("liquid_molar_volume_cm3_mol", 1e6 / r->saturation->rhoLiquid);
        number("vapour_molar_volume_cm3_mol", 1e6 / r->saturation->rhoVapour);
        w.endObject();
    } else {
        w.null();
    }
    w.key("deviation_percent").beginObject();
    for (const core::ModelDeviation& d : r->models) {
        w.key(state::rowKey(d.model)).beginObject();
        number("volume", d.volume);
        number("Z", d.z);
        number("density", d.density);
        w.endObject();
    }
    w.endObject().key("saturation_deviation_percent");
    if (r->saturation) {
        w.beginObject();
        for (const core::ModelDeviation& d : r->models) {
            w.key(state::rowKey(d.model)).beginObject();
            number("pressure", d.psat);
            number("liquid_volume", d.vLiquid);
            number("vapour_volume", d.vVapour);
            w.endObject();
        }
        w.endObject();
    } else {
        w.null();
    }
    w.member("status", statusText(r->state.status));
    number("temperature_K", r->t_K);
    number("pressure_bar", r->p_bar);
    w.member("source", kSource).endObject();
}

void writeScorecard(state::JsonWriter& w, const reference::Fluid* f, const std::string& reason,
                    const core::Scorecard* c)
{
    if (f == nullptr || c == nullptr) {
        w.key("scorecard").null().member("scorecard_reason", reason);
        return;
    }
    const auto number = [&](std::string_view key, std::optional<double> x) {
        w.key(key);
        numberOrNull(w, x);
    };
    w.key("scorecard").beginObject().member("equation", f->citation);
    w.key("saturation_range_K").beginArray();
    numberOrNull(w, c->tFrom);
    numberOrNull(w, c->tTo);
    w.endArray();
    number("grid_max_pressure_bar", c->gridPMax_bar);
    w.member("saturation_points", c->satPoints).member("grid_points", c->gridPoints);
    w.key("ranking").beginArray();
    for (const core::ModelScore& sc : c->ranked) {
        w.beginObject().member("model", state::rowKey(sc.model));
        number("overall_aad_percent", sc.overall);
        number("vapour_pressure_aad_percent", sc.psat);
        number("liquid_volume_aad_percent", sc.vLiquid);
        number("vapour_volume_aad_percent", sc.vVapour);
        number("grid_volume_aad_percent", sc.grid);
        w.member("saturation_points", sc.satPoints).member("grid_points", sc.gridPoints);
        w.member("missing", sc.satMissing + sc.gridMissing).key("worst_state");
        if (sc.worstState.empty())
            w.null();
        else
            w.string(sc.worstState);
        number("worst_deviation_percent", sc.worstDeviation);
        w.endObject();
    }
    w.endArray().endObject();
}

void writeData(state::JsonWriter& w, const std::string& name, const DataResult& r)
{
    w.key("data").beginObject().member("file", name);
    w.member("kind", r.data.vapourPressure ? "vapour pressure" : "pvT");
    w.key("points").integer(static_cast<std::int64_t>(r.data.points.size()));
    w.key("rejected").beginArray();
    for (const core::RejectedRow& row : r.data.rejected)
        w.beginObject().member("line", row.line).member("reason", row.reason).endObject();
    w.endArray().key("ranking").beginArray();
    for (const core::DataScore& sc : r.scores) {
        w.beginObject().member("model", sc.who).key("aad_percent");
        numberOrNull(w, sc.aad);
        w.member("points", sc.points).member("missing", sc.missing).key("worst_line");
        if (sc.points)
            w.integer(sc.worstLine);
        else
            w.null();
        w.key("worst_deviation_percent");
        numberOrNull(w, sc.worstDeviation);
        w.endObject();
    }
    w.endArray().endObject();
}

} // namespace cli
