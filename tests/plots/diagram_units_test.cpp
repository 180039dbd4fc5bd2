#include "plots/diagram_units.h"
#include "plots/diagrams.h"
#include "tests/support/reference_components.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using plots::DiagramUnits;
using state::unitBySymbol;

plots::Diagrams benzeneAt25C1bar()
{
    plots::DiagramInput in;
    in.component = "Benzene";
    in.state.constants = test_components::kBenzeneNoKappa;
    in.state.antoine = {14.1603f, 2948.78f, 228.16f};
    in.state.flags.AntoineAvailable = true;
    in.state.conditions = {298.15f, 1.0f};
    in.solvedBefore = true;
    return plots::computeDiagrams(in);
}

// Each diagram's axes, curves and markers move together: a value converted on one axis but
// not on the other (or a marker left in bar beside curves in psia) shows as a mismatch
// against the own-unit diagram converted point by point.
TEST(DiagramUnits, EveryPointAxisAndCaptionInTheChosenUnits)
{
    const plots::Diagrams own = benzeneAt25C1bar();
    struct Case {
        const char* name;
        DiagramUnits units;
        const char* pvX;
        const char* pvY;
        const char* ptX;
        const char* titleHas; // the state's temperature in the P-V title
        const char* noteHas;
    };
    const Case cases[] = {
        {"F psia",
         {&unitBySymbol("F"), &unitBySymbol("psia"), nullptr},
         "V (cm3/mol)",
         "P (psia)",
         "T (°F)",
         "at 77 °F",
         "at 77 °F and 14.5038 psia"},
        {"C kPa L/mol",
         {&unitBySymbol("C"), &unitBySymbol("kPa"), &unitBySymbol("L/mol")},
         "V (L/mol)",
         "P (kPa)",
         "T (°C)",
         "at 25 °C",
         "at 25 °C and 100 kPa"},
        {"R MPa ft3/lbmol",
         {&unitBySymbol("R"), &unitBySymbol("MPa"), &unitBySymbol("ft3/lbmol")},
         "V (ft3/lbmol)",
         "P (MPa)",
         "T (R)",
         "at 536.67 R",
         "at 536.67 R and 0.1 MPa"},
    };
    const auto unitOfAxis = [](const std::string& title, const DiagramUnits& u) {
        if (title.find("(bar)") != std::string::npos)
            return std::pair(&unitBySymbol("bar"), u.pressure);
        if (title.find("(cm3/mol)") != std::string::npos)
            return std::pair(&unitBySymbol("cm3/mol"), u.volume);
        if (title.find("(K)") != std::string::npos)
            return std::pair(&unitBySymbol("K"), u.temperature);
        return std::pair<const state::Unit*, const state::Unit*>(nullptr, nullptr);
    };
    const auto expected = [&](double v, const std::string& ownTitle, const DiagramUnits& u) {
        const auto [from, to] = unitOfAxis(ownTitle, u);
        return from && to ? state::convert(v, *from, *to) : v;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const plots::Diagrams d = plots::inUnits(own, c.units);
        EXPECT_EQ(d.pv.x.title, c.pvX);
        EXPECT_EQ(d.pv.y.title, c.pvY);
        EXPECT_EQ(d.pt.x.title, c.ptX);
        EXPECT_EQ(d.zp.y.title, "Z (-)");
        EXPECT_NE(d.pv.title.find(c.titleHas), std::string::npos) << d.pv.title;
        EXPECT_NE(d.note.find(c.noteHas), std::string::npos) << d.note;
        for (auto [mine, theirs] :
             {std::pair(&d.pv, &own.pv), std::pair(&d.zp, &own.zp), std::pair(&d.pt, &own.pt)}) {
            SCOPED_TRACE(theirs->title);
            ASSERT_EQ(mine->curves.size(), theirs->curves.size());
            for (std::size_t k = 0; k < mine->curves.size(); ++k)
                for (std::size_t i = 0; i < mine->curves[k].x.size(); ++i) {
                    EXPECT_DOUBLE_EQ(mine->curves[k].x[i],
                                     expected(theirs->curves[k].x[i], theirs->x.title, c.units));
                    EXPECT_DOUBLE_EQ(mine->curves[k].y[i],
                                     expected(theirs->curves[k].y[i], theirs->y.title, c.units));
                }
            for (std::size_t k = 0; k < mine->markers.size(); ++k) {
                EXPECT_DOUBLE_EQ(mine->markers[k].x,
                                 expected(theirs->markers[k].x, theirs->x.title, c.units));
                EXPECT_DOUBLE_EQ(mine->markers[k].y,
                                 expected(theirs->markers[k].y, theirs->y.title, c.units));
            }
            EXPECT_DOUBLE_EQ(mine->y.min, expected(theirs->y.min, theirs->y.title, c.units));
            EXPECT_DOUBLE_EQ(mine->x.max, expected(theirs->x.max, theirs->x.title, c.units));
        }
    }
}

// The table and its exports: a header naming psia over numbers still in bar (or the reverse)
// is the fault a reader of the CSV cannot see.
TEST(DiagramUnits, TableCellsAndCaptionsAgree)
{
    const plots::Diagrams own = benzeneAt25C1bar();
    const DiagramUnits units{&unitBySymbol("F"), &unitBySymbol("psia"), &unitBySymbol("L/mol")};
    const plots::Diagrams d = plots::inUnits(own, units);
    const auto columns = plots::tableColumns(units);
    EXPECT_EQ(columns[1], "Roots V (L/mol)");
    EXPECT_EQ(columns[4], "Model Psat (psia)");
    EXPECT_EQ(columns[2], "ln phi of the roots");
    const std::size_t pr = static_cast<std::size_t>(state::Row::PR);
    const auto value = [](const std::string& s) { return std::stod(s.substr(0, s.find(' '))); };
    EXPECT_NEAR(value(d.table[pr].psat), value(own.table[pr].psat) * 14.503773773, 1e-4);
    EXPECT_NEAR(value(d.table[pr].stableRoot), value(own.table[pr].stableRoot) / 1000, 1e-9);
    EXPECT_EQ(d.table[pr].lnPhi, own.table[pr].lnPhi);
    EXPECT_EQ(d.table[pr].antoineDev, own.table[pr].antoineDev);
    EXPECT_NE(d.table[pr].critical.find(" °F, "), std::string::npos) << d.table[pr].critical;
    EXPECT_NE(d.table[pr].critical.find(" psia, "), std::string::npos);
    EXPECT_NE(d.table[pr].critical.find(" L/mol"), std::string::npos);
    // A root marked unstable keeps its mark after the number.
    EXPECT_EQ(d.table[pr].roots.find("(unstable)") != std::string::npos,
              own.table[pr].roots.find("(unstable)") != std::string::npos);

    const std::string csv = plots::tableText(d.table, units, ',');
    EXPECT_EQ(csv.substr(0, csv.find("\n")).find("(cm3/mol)"), std::string::npos);
    const std::array<bool, plots::kModelCount> all{true, true, true, true, true,
                                                   true, true, true, true};
    const std::string pt = plots::diagramCsv(d.pt, all);
    EXPECT_EQ(pt.substr(0, pt.find(',')), "T (°F)");
    EXPECT_NE(pt.substr(0, pt.find("\n")).find("PR Psat (psia)"), std::string::npos);
}

// The setting round trip, and no choice leaves the diagrams exactly as computed.
TEST(DiagramUnits, SettingsSymbolsAndTheOwnUnits)
{
    const DiagramUnits chosen{&unitBySymbol("F"), nullptr, &unitBySymbol("m3/kmol")};
    EXPECT_EQ(plots::unitsFromSymbols(plots::symbolsOf(chosen)), chosen);
    EXPECT_EQ(plots::unitsFromSymbols({"furlong", "psig", ""}), DiagramUnits{});
    const plots::Diagrams own = benzeneAt25C1bar();
    const plots::Diagrams same = plots::inUnits(own, DiagramUnits{});
    EXPECT_EQ(same.pv.x.title, own.pv.x.title);
    EXPECT_EQ(same.note, own.note);
    EXPECT_EQ(same.pt.curves.front().x, own.pt.curves.front().x);
}

} // namespace
