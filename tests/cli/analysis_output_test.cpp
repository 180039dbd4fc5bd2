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

TEST(CliAnalysis, TableGainsASecondBlockAndKeepsTheFirst)
{
    const std::string plain = runCli(kBenzene);
    const std::string analysed = runCli(with(kBenzene, {"--analysis"}));
    ASSERT_EQ(analysed.substr(0, plain.size()), plain);
    const std::string block = analysed.substr(plain.size());
    EXPECT_EQ(block.rfind("\nPhase-equilibrium analysis at 298.15 K and 1 bar", 0), 0u);
    EXPECT_EQ(count(block, "\n  roots: "), 9u);
    EXPECT_EQ(count(block, "\n  critical point: "), 9u);
    EXPECT_NE(block.find("one root, no phase split"), std::string::npos);
    // At 1 bar benzene lies above the SRK vapour pressure (0.127 bar), so its liquid is stable;
    // SRK reproduces the Antoine value to a fraction of a percent at 25 °C.
    EXPECT_NE(block.find("98.35086 (ln phi -2.06832, stable)"), std::string::npos);
    EXPECT_NE(block.find("% from Antoine"), std::string::npos);
    EXPECT_EQ(block.find("nan"), std::string::npos);
    EXPECT_EQ(block.find("inf"), std::string::npos);
}

TEST(CliAnalysis, JsonGainsAnAnalysisObjectKeyedByRow)
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

TEST(CliAnalysis, StatusesWithoutAntoineOrAboveCritical)
{
    const std::string out = runCli({"--temp", "400", "--press", "50", "--json", "--analysis"});
    EXPECT_EQ(count(out, "\"antoineDeviation\": null"), 9u);
    EXPECT_EQ(count(out, "\"status\": \"above critical\""), 8u);
}

} // namespace
