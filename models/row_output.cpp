#include "models/row_output.h"

#include "models/numerics.h"
#include "state/number_format.h"

namespace models {

using state::Col;

namespace {
constexpr int kVolumeVapDecimals = state::decimalsOf(state::kFmtVolumeVap);
constexpr int kVolumeLiqDecimals = state::decimalsOf(state::kFmtVolumeLiq);
constexpr int kDensityDecimals = state::decimalsOf(state::kFmtDensity);
constexpr int kZDecimals = state::decimalsOf(state::kFmtZ);
} // namespace

bool vaporWanted(const state::CalcState& s) { return s.chkStCalc || s.flags.CalcVapor; }

bool liquidWanted(const state::CalcState& s) { return s.chkStCalc || s.flags.CalcLiquid; }

void writeVaporRoot(state::ResultSheet& sheet, state::Row row, const state::CalcState& s,
                    const RootResult& root, std::optional<std::int32_t> background)
{
    if (root.converged()) {
        const double v = root.volume;
        const double rt = static_cast<double>(state::R) * s.conditions.TempK;
        // All three texts are formed before any is written: a value that is not finite
        // (T = 0 in Z, a subnormal volume in the density) turns the whole root into "NC".
        state::NumberText vap, z, vd;
        if (state::formatFixed(v, kVolumeVapDecimals, vap) &&
            state::formatFixed(quot(s.conditions.PressBar * v, rt), kZDecimals, z) &&
            state::formatFixed(quot(s.constants.MolWt, v) * 1000, kDensityDecimals, vd)) {
            if (background)
                sheet.setColor(row, Col::Vap, *background);
            sheet.setText(row, Col::Vap, vap.view());
            sheet.setText(row, Col::Z, z.view());
            sheet.setText(row, Col::VD, vd.view());
            return;
        }
    }
    sheet.setText(row, Col::Vap, state::kNotConverged);
    sheet.setText(row, Col::Z, state::kNotConverged);
}

void writeLiquidRoot(state::ResultSheet& sheet, state::Row row, const state::CalcState& s,
                     const RootResult& root)
{
    if (root.converged()) {
        // SG is in g/cm3, so unlike the vapour density there is no factor 1000.
        state::NumberText liq, sg;
        if (state::formatFixed(root.volume, kVolumeLiqDecimals, liq) &&
            state::formatFixed(quot(s.constants.MolWt, root.volume), kDensityDecimals, sg)) {
            sheet.setText(row, Col::Liq, liq.view());
            sheet.setText(row, Col::SG, sg.view());
            return;
        }
    }
    sheet.setText(row, Col::Liq, state::kNotConverged);
}

void writeAboveCritical(state::ResultSheet& sheet, state::Row row)
{
    sheet.setText(row, Col::Liq, state::kAboveCritical);
}

std::int32_t acentricBackground(float acentricF)
{
    return acentricF == 0 ? state::kPaleRed : state::kWhite;
}

} // namespace models
