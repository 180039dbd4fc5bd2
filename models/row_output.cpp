#include "models/row_output.h"

#include "models/numerics.h"
#include "state/number_format.h"

#include <string>

namespace models {

using state::Col;

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
        auto vap = state::formatPattern(v, state::kFmtVolumeVap);
        auto z = state::formatPattern(quot(s.conditions.PressBar * v, rt), state::kFmtZ);
        auto vd = state::formatPattern(quot(s.constants.MolWt, v) * 1000, state::kFmtDensity);
        if (vap && z && vd) {
            if (background)
                sheet.setColor(row, Col::Vap, *background);
            sheet.setText(row, Col::Vap, std::move(*vap));
            sheet.setText(row, Col::Z, std::move(*z));
            sheet.setText(row, Col::VD, std::move(*vd));
            return;
        }
    }
    sheet.setText(row, Col::Vap, std::string(state::kNotConverged));
    sheet.setText(row, Col::Z, std::string(state::kNotConverged));
}

void writeLiquidRoot(state::ResultSheet& sheet, state::Row row, const state::CalcState& s,
                     const RootResult& root)
{
    if (root.converged()) {
        auto liq = state::formatPattern(root.volume, state::kFmtVolumeLiq);
        // SG is in g/cm3, so unlike the vapour density there is no factor 1000.
        auto sg = state::formatPattern(quot(s.constants.MolWt, root.volume), state::kFmtDensity);
        if (liq && sg) {
            sheet.setText(row, Col::Liq, std::move(*liq));
            sheet.setText(row, Col::SG, std::move(*sg));
            return;
        }
    }
    sheet.setText(row, Col::Liq, std::string(state::kNotConverged));
}

void writeAboveCritical(state::ResultSheet& sheet, state::Row row)
{
    sheet.setText(row, Col::Liq, std::string(state::kAboveCritical));
}

std::int32_t acentricBackground(float acentricF)
{
    return acentricF == 0 ? state::kPaleRed : state::kWhite;
}

} // namespace models
