// tavrel1-cli --analysis: a second block in the table, an "analysis" object in the JSON, and
// without the option not one byte of either changes.
#include "cli/cli.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string runCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    EXPECT_EQ(cli::run(args, out, err), 0) << err.str();
    return out.str();
}

// Benzene-like constants with Antoine coefficients (ln P/kPa, t in °C), at 25 °C and 1 bar.
const std::vector<std::string> kBenzene = {
    "--temp", "25",     "--press", "1", "--omega", "0.212", "--antoine", "13.8858,2788.51,220.79",
    "--name", "benzene"};

std::vector<std::string> with(std::vector<std::string> args, std::vector<std::string> more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(AnalysisOutput, TableGainsASecondBlockAndKeepsTheFirst)
{
    const std::string plain = runCli(kBenzene);
    const std::string analysed = runCli(with(kBenzene, {"--analysis"}));
    ASSERT_EQ(analysed.substr(0, plain.size()), plain);
    const std::string block = analysed.substr(plain.size());
    EXPECT_EQ(block.rfind("\nPhase-equilibrium analysis at 298.15 K and 1 bar", 0), 0u);
    EXPECT_EQ(count(block, "\n  roots: "), 9u);
    EXPECT_EQ(count(block, "\n  critical point: "), 9u);
    // The virial row: its root past the pressure maximum is listed and unstable, the gas root
    // is the stable one, and it has no phase split.
    const std::size_t virial = block.find("Virial Eq.\n  roots: ");
    ASSERT_NE(virial, std::string::npos);
    const std::string virialRoots = block.substr(virial, block.find('\n', virial + 11) - virial);
    EXPECT_NE(virialRoots.find(", unstable), "), std::string::npos) << virialRoots;
    EXPECT_NE(virialRoots.find(", stable); no phase split"), std::string::npos) << virialRoots;
    // At 1 bar benzene lies above the SRK vapour pressure (0.127 bar), so its liquid is stable;
    // SRK reproduces the Antoine value to a fraction of a percent at 25 °C.
    EXPECT_NE(block.find("98.35086 (ln phi -2.06832, stable)"), std::string::npos);
    EXPECT_NE(block.find("% from Antoine"), std::string::npos);
    EXPECT_EQ(block.find("nan"), std::string::npos);
    EXPECT_EQ(block.find("inf"), std::string::npos);
}

TEST(AnalysisOutput, JsonGainsAnAnalysisObjectKeyedByRow)
{
    const std::string plain = runCli(with(kBenzene, {"--json"}));
    const std::string analysed = runCli(with(kBenzene, {"--json", "--analysis"}));
    EXPECT_EQ(plain.find("\"analysis\""), std::string::npos);
    // Everything up to the closing brace is the same; the analysis object comes last.
    ASSERT_EQ(analysed.substr(0, plain.size() - 2), plain.substr(0, plain.size() - 2));
    const std::string tail = analysed.substr(plain.size() - 2);
    EXPECT_EQ(tail.rfind(", \"analysis\": {\"Vir\": {\"roots\": [{\"volume\": ", 0), 0u);
    for (const char* row : {"VDW", "RK", "SRK", "PR", "PRSV1", "PRSV2", "ESD", "DEOS"})
        EXPECT_NE(tail.find(std::string("\"") + row + "\": {\"roots\""), std::string::npos) << row;
    EXPECT_EQ(count(tail, "\"antoineDeviation\": null"), 1u); // the virial row only
    EXPECT_NE(tail.find("\"saturation\": {\"status\": \"no phase split\"}"), std::string::npos);
    EXPECT_EQ(tail.substr(tail.size() - 3), "}}\n");
    EXPECT_EQ(tail.find("nan"), std::string::npos);
}

TEST(AnalysisOutput, StatusesWithoutAntoineOrAboveCritical)
{
    const std::string out = runCli({"--temp", "400", "--press", "50", "--json", "--analysis"});
    EXPECT_EQ(count(out, "\"antoineDeviation\": null"), 9u);
    EXPECT_EQ(count(out, "\"status\": \"above critical\""), 8u);
}

// Where a model is singular or loops again far above its critical temperature, the table
// says what is true: ESD's root with the pole it stops at (triethanolamine, 6000 °C), and the
// PRSV2 vapour pressure of 1-octanol at 800 °C without an Antoine comparison, which has no
// meaning there.
TEST(AnalysisOutput, SingularModelAndASecondLoopSayWhatIsTrue)
{
    const std::string esd = runCli({"--tc", "772", "--pc", "27", "--vc", "446", "--omega", "1.284",
                                    "--temp", "6000", "--press", "50", "--analysis"});
    const std::size_t at = esd.find("Elliott-Suresh-Donohue\n  roots: ");
    ASSERT_NE(at, std::string::npos);
    const std::string esdRoots = esd.substr(at, esd.find('\n', at + 23) - at);
    EXPECT_NE(esdRoots.find("(ln phi "), std::string::npos) << esdRoots;
    EXPECT_NE(esdRoots.find("stable); singular at "), std::string::npos) << esdRoots;

    const std::string octanol =
        runCli({"--tc",      "652.5",  "--pc",      "27.77",
                "--vc",      "497",    "--omega",   "0.583",
                "--k1",      "0.8294", "--k2",      "2.7372",
                "--k3",      "0.543",  "--antoine", "13.59043,2935.335,131.99",
                "--temp",    "800",    "--press",   "4.94687",
                "--analysis"});
    const std::size_t prsv2 = octanol.find("PR-Stryjek-Vera 2\n  roots: ");
    ASSERT_NE(prsv2, std::string::npos);
    const std::string block = octanol.substr(prsv2, octanol.find("\n\n", prsv2) - prsv2);
    EXPECT_NE(block.find("  saturation: 4.497"), std::string::npos) << block;
    EXPECT_EQ(block.find("from Antoine"), std::string::npos) << block;
    EXPECT_NE(block.find(", stable), "), std::string::npos) << block; // the liquid-like root
}

} // namespace

namespace {

// Constants far outside any fluid: whatever is not finite is a status in both forms, never a
// number, and no saturation is called converged at a pressure or volume of zero.
TEST(AnalysisOutput, NonFiniteResultsAreStatusesNotNumbers)
{
    const std::vector<std::vector<std::string>> extremes = {
        {"--tc", "1e30", "--pc", "1e-30"},
        {"--tc", "1e-30", "--pc", "1e30"},
        {"--tc", "600", "--pc", "40", "--omega", "50"},
        {"--tc", "600", "--pc", "1e-300"},
    };
    for (const auto& constants : extremes) {
        std::vector<std::string> args = {"--temp",    "25",          "--press",   "1",
                                         "--antoine", "14,3000,220", "--analysis"};
        args.insert(args.end(), constants.begin(), constants.end());
        SCOPED_TRACE(constants[1] + " " + constants[3]);
        const std::string table = runCli(args);
        args.push_back("--json");
        const std::string json = runCli(args);
        EXPECT_EQ(count(table, "ln phi 0,") + count(table, "ln phi 0)"),
                  count(json, "\"lnPhi\": 0,") + count(json, "\"lnPhi\": 0}"));
        EXPECT_GE(count(table, "not finite"), count(json, "\"lnPhi\": null"));
        for (const char* zero : {"saturation: 0 bar", "liquid 0,", "vapour 0;"})
            EXPECT_EQ(table.find(zero), std::string::npos) << zero;
        for (const char* zero : {"\"pressure\": 0,", "Volume\": 0,", "Volume\": 0}"})
            EXPECT_EQ(json.find(zero), std::string::npos) << zero;
        for (const std::string& text : {table, json})
            for (const char* bad : {"nan", "inf"})
                EXPECT_EQ(text.find(bad), std::string::npos) << bad;
    }
}

} // namespace
