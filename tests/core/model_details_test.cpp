// The model details as the window and its exports show them: labels whose units are the
// ones the keys carry, every root and property of the analysis with a status where there is
// no value, and a CSV export that reads back to the cells of the copied text.
#include "analysis/properties.h"
#include "core/model_details.h"
#include "tests/support/reference_components.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

state::CalcState benzene()
{
    state::CalcState s;
    s.constants = test_components::kBenzene;
    return s;
}

// Each property key ends in the unit its label must show; a label table out of step with
// the keys (a row added or moved on one side) puts J/mol beside an entropy.
TEST(ModelDetails, PropertyLabelsCarryTheUnitOfTheirKey)
{
    struct {
        std::string_view suffix, unit;
    } const kUnits[] = {
        {"_cm3_mol", "cm3/mol"}, {"_kg_m3", "kg/m3"},      {"_bar", "bar"},
        {"_J_mol", "J/mol"},     {"_J_molK", "J/(mol·K)"}, {"_bar_K", "bar/K"},
        {"_1_K", "1/K"},         {"_1_bar", "1/bar"},      {"_bar_mol_cm3", "bar·mol/cm3"}};
    const auto& labels = core::propertyLabels();
    for (std::size_t k = 0; k < labels.size(); ++k) {
        const std::string_view key = analysis::kPropertyKeys[k];
        ASSERT_EQ(labels[k].key, key);
        std::string_view expected; // the longest suffix that matches: "_J_molK" over "_K"
        for (const auto& u : kUnits)
            if (key.ends_with(u.suffix) && u.suffix.size() > expected.size())
                expected = u.suffix;
        std::string_view unit;
        for (const auto& u : kUnits)
            if (u.suffix == expected)
                unit = u.unit;
        EXPECT_EQ(labels[k].unit, unit) << key;
    }
}

TEST(ModelDetails, ParameterLabels)
{
    struct {
        std::string_view key, name, unit;
    } const kCases[] = {
        {"a_bar_cm6_mol2", "a", "bar·cm6/mol2"},
        {"B", "B = bP/(RT)", ""},                // the cubics' dimensionless B
        {"B_cm3_mol", "B", "cm3/mol"},           // the virial coefficient, not the cubics' B
        {"d2alpha_dT2_1_K2", "d²α/dT²", "1/K2"}, // 1/K2, not 1/K with a stray 2
        {"dB_dT_cm3_molK", "dB/dT", "cm3/(mol·K)"},
        {"zm", "zm", ""},
        {"new_key", "new_key", ""}, // shown as it is rather than dropped
    };
    for (const auto& c : kCases) {
        const core::ParameterLabel l = core::parameterLabel(c.key);
        EXPECT_EQ(l.name, c.name) << c.key;
        EXPECT_EQ(l.unit, c.unit) << c.key;
    }
    EXPECT_EQ(core::asciiText("d²α/dT² J/(mol·K) Gᴿ = RT ln φ"),
              "d^2alpha/dT^2 J/(mol K) G_res = RT ln phi");
}

// Every root of the analysis is a row with its tag; a model without a stable root says why
// instead of showing properties (the virial row above its pressure maximum; below zero
// kelvin no model is defined).
TEST(ModelDetails, RootsAndPropertiesFollowTheAnalysis)
{
    struct {
        double t_K, p_bar;
        state::Row model;
        std::vector<std::string> tags;
        bool stable;
    } const kCases[] = {
        {298.15, 1, state::Row::PR, {"stable", "unstable", "metastable"}, true},
        {298.15, 1, state::Row::VDW, {"metastable", "unstable", "stable"}, true},
        {298.15, 1, state::Row::Vir, {"unphysical", "unstable", "stable"}, true},
        {298.15, 100, state::Row::Vir, {"unphysical"}, false},
        {600, 10, state::Row::DEOS, {"stable"}, true},
        {-5, 1, state::Row::SRK, {}, false},
    };
    const state::CalcState s = benzene();
    for (const auto& c : kCases) {
        const core::ModelDetails d = core::modelDetails(s, c.t_K, c.p_bar, c.model);
        std::vector<std::string> tags;
        for (const core::RootRow& r : d.roots)
            tags.push_back(r.tag);
        EXPECT_EQ(tags, c.tags) << d.heading;
        if (!c.stable) {
            EXPECT_TRUE(d.properties.empty()) << d.heading;
            EXPECT_EQ(d.stable.rfind("No stable root: ", 0), 0u) << d.stable;
            continue;
        }
        ASSERT_EQ(d.properties.size(), analysis::kPropertyCount) << d.heading;
        for (const core::DetailRow& p : d.properties)
            EXPECT_TRUE(p.value.find_first_of("0123456789") != std::string::npos ||
                        p.value == "at a spinodal")
                << d.heading << ": " << p.name << " = " << p.value;
        EXPECT_FALSE(d.steps.empty());
    }
}

// Reasons hold commas: the CSV must quote them so that it reads back to
// the very cells the tab-separated copy holds.
TEST(ModelDetails, CsvReadsBackToTheCopiedCells)
{
    const auto split = [](const std::string& text, char sep) {
        std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char ch = text[i];
            if (sep == ',' && ch == '"') {
                if (quoted && i + 1 < text.size() && text[i + 1] == '"')
                    rows.back().back() += text[++i];
                else
                    quoted = !quoted;
            } else if (!quoted && ch == sep) {
                rows.back().emplace_back();
            } else if (!quoted && (ch == '\n' || ch == '\r')) {
                if (ch == '\r')
                    ++i; // CRLF
                rows.emplace_back(1);
            } else {
                rows.back().back() += ch;
            }
        }
        return rows;
    };
    for (const state::Row model : {state::Row::VDW, state::Row::ESD}) {
        const core::ModelDetails d = core::modelDetails(benzene(), 298.15, 1, model);
        const std::string tab = core::modelDetailsText(d);
        const std::string csv = core::modelDetailsText(d, ',');
        EXPECT_EQ(tab.find("\r"), std::string::npos);
        EXPECT_NE(csv.find("\"metastable, "), std::string::npos) << csv;
        EXPECT_EQ(split(csv, ','), split(tab, '\t'));
    }
}

} // namespace
