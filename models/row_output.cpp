#include "models/row_output.h"

#include "core/state/number_format.h"
#include "models/numerics.h"

#include <string>

namespace models {

using core::Col;

bool vaporWanted(const core::CalcState& s) { return s.chkStCalc || s.flags.CalcVapor; }

bool liquidWanted(const core::CalcState& s) { return s.chkStCalc || s.flags.CalcLiquid; }

void writeVaporRoot(core::ResultSheet& sheet, core::Row row, const core::CalcState& s,
                    const RootResult& root, std::optional<std::int32_t> background)
{
    if (root.converged()) {
        const double v = root.volume;
        const double rt = static_cast<double>(core::R) * s.conditions.TempK;
        // All three texts are formed before any is written: a value that is not finite
        // (T = 0 in Z, a subnormal volume in the density) turns the whole root into "NC".
        auto vap = core::formatPattern(v, core::kFmtVolumeVap);
        auto z = core::formatPattern(quot(s.conditions.PressBar * v, rt), core::kFmtZ);
        auto vd = core::formatPattern(quot(s.constants.MolWt, v) * 1000, core::kFmtDensity);
        if (vap && z && vd) {
            if (background)
                sheet.setColor(row, Col::Vap, *background);
            sheet.setText(row, Col::Vap, std::move(*vap));
            sheet.setText(row, Col::Z, std::move(*z));
            sheet.setText(row, Col::VD, std::move(*vd));
            return;
        }
    }
    sheet.setText(row, Col::Vap, std::string(core::kNotConverged));
    sheet.setText(row, Col::Z, std::string(core::kNotConverged));
}

void writeLiquidRoot(core::ResultSheet& sheet, core::Row row, const core::CalcState& s,
                     const RootResult& root)
{
    if (root.converged()) {
        auto liq = core::formatPattern(root.volume, core::kFmtVolumeLiq);
        // SG is in g/cm3, so unlike the vapour density there is no factor 1000.
        auto sg = core::formatPattern(quot(s.constants.MolWt, root.volume), core::kFmtDensity);
        if (liq && sg) {
            sheet.setText(row, Col::Liq, std::move(*liq));
            sheet.setText(row, Col::SG, std::move(*sg));
            return;
        }
    }
    sheet.setText(row, Col::Liq, std::string(core::kNotConverged));
}

void writeAboveCritical(core::ResultSheet& sheet, core::Row row)
{
    sheet.setText(row, Col::Liq, std::string(core::kAboveCritical));
}

std::int32_t acentricBackground(float acentricF)
{
    return acentricF == 0 ? core::kPaleRed : core::kWhite;
}

} // namespace models
