#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"
#include "tests/support/reference_components.h"

#include <ostream>
#include <string>

// Reference components and helpers shared by the model tests. The constants are the rounded
// published values of three familiar fluids, as a user would type them into the editor.
namespace testing_models {

inline state::ComponentConstants benzeneLike() { return test_components::kBenzeneNoKappa; }
inline state::ComponentConstants propaneLike() { return test_components::kPropane; }
inline state::ComponentConstants nitrogenLike() { return test_components::kNitrogen; }

/// A state with the hypothetical box ticked, so that every model attempts both roots.
inline state::CalcState hypothetical(state::ComponentConstants c, float tempK, float pressBar)
{
    state::CalcState s;
    s.constants = c;
    s.conditions = {tempK, pressBar};
    s.chkStCalc = true;
    return s;
}

/// The texts of a row in the order Vap, Z, VD, Liq, SG; a cell the row lacks reads "-".
struct RowTexts {
    std::string vap, z, vd, liq = "-", sg = "-";
    friend bool operator==(const RowTexts&, const RowTexts&) = default;
};

inline RowTexts rowTexts(const state::ResultSheet& sheet, state::Row row)
{
    using state::Col;
    RowTexts t{sheet.text(row, Col::Vap), sheet.text(row, Col::Z), sheet.text(row, Col::VD)};
    if (state::hasCell(row, Col::Liq)) {
        t.liq = sheet.text(row, Col::Liq);
        t.sg = sheet.text(row, Col::SG);
    }
    return t;
}

inline std::ostream& operator<<(std::ostream& os, const RowTexts& t)
{
    return os << "{Vap \"" << t.vap << "\", Z \"" << t.z << "\", VD \"" << t.vd << "\", Liq \""
              << t.liq << "\", SG \"" << t.sg << "\"}";
}

} // namespace testing_models
