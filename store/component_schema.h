#pragma once

#include "state/calc_state.h"

#include <array>
#include <string>
#include <string_view>

// The component database's schema as the program sees it: one place for the names of its
// table, views and fields, and for the eight constants with the value the calculation takes
// when a field is null. The SQL that creates it is assets/components_seed.sql.
namespace store::schema {

/// The components, one row each, keyed by kKeyField (an alias of the rowid).
inline constexpr std::string_view kCompsTable = "tblComps";
/// The Antoine sets, keyed by the component's key.
inline constexpr std::string_view kAntoineTable = "tblAntoine";
/// The main window's list: every component in list order, with its constants.
inline constexpr std::string_view kCritView = "qryCritCos";
/// Components with a complete Antoine set, by name.
inline constexpr std::string_view kAntoineView = "qryAntCos";

inline constexpr std::string_view kKeyField = "CompID";
inline constexpr std::string_view kNameField = "Component";
/// Where the row's values come from (codes of assets/CREDITS.md), or null. Files made before
/// this field existed lack it; their rows show no source and nothing adds it to them.
inline constexpr std::string_view kSourceField = "Source";

/// The Antoine coefficients of qryAntCos, ln(P / kPa) = AntA - AntB / (t / degC + AntC).
inline constexpr std::array<std::string_view, 3> kAntoineFields{"AntA", "AntB", "AntC"};

/// One of the eight constants: its field, where the calculation state keeps it, the value
/// taken when the field is null, and its unit ("" when dimensionless).
struct ConstantField {
    std::string_view name;
    float state::ComponentConstants::*member;
    float fallback;
    std::string_view unit;
};

/// The constants in field order (the editor's boxes and the command line's flags follow it).
/// The fallbacks are benzene's molar mass and critical point, and zero for the rest.
inline constexpr std::array<ConstantField, 8> kConstantFields{{
    {"MolWt", &state::ComponentConstants::MolWt, state::kMissingConstantValues.MolWt, "g/mol"},
    {"CritTemp", &state::ComponentConstants::CritTemp, state::kMissingConstantValues.CritTemp, "K"},
    {"CritPress", &state::ComponentConstants::CritPress, state::kMissingConstantValues.CritPress,
     "bar"},
    {"CritVol", &state::ComponentConstants::CritVol, state::kMissingConstantValues.CritVol,
     "cm3/mol"},
    {"AcentricF", &state::ComponentConstants::AcentricF, state::kMissingConstantValues.AcentricF,
     ""},
    {"K1", &state::ComponentConstants::K1, state::kMissingConstantValues.K1, ""},
    {"K2", &state::ComponentConstants::K2, state::kMissingConstantValues.K2, ""},
    {"K3", &state::ComponentConstants::K3, state::kMissingConstantValues.K3, ""},
}};

/// The constants editor's rows: key, name, the eight constants and, when the file has that
/// field, the source, in the main list's order. The key makes its rows writable.
inline std::string editorQuery(bool withSource)
{
    std::string sql = "SELECT " + std::string(kKeyField) + ", " + std::string(kNameField);
    for (const ConstantField& f : kConstantFields)
        sql += ", " + std::string(f.name);
    if (withSource)
        sql += ", " + std::string(kSourceField);
    const std::string name(kNameField);
    // The main list's order (the view kCritView): by name ignoring case, nameless rows last.
    return sql + " FROM " + std::string(kCompsTable) + " ORDER BY " + name + " = '', " + name +
           " COLLATE NOCASE, " + name;
}

} // namespace store::schema
