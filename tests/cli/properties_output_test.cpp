// tavrel1-cli --properties and --explain: they add to every form of output without changing
// a byte of what was there, and what they add is consistent in itself.
#include "cli/cli.h"
#include "cli/csv_reader.h"
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli_test::CliRun;
using cli_test::lines;
using cli_test::readCsv;
using cli_test::runCli;

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Benzene's constants, so no database is needed.
const std::vector<std::string> kBenzene = {
    "--mw",  "78.11", "--tc",    "562.1", "--pc",   "48.9", "--vc",  "259",    "--omega",
    "0.212", "--k1",  "0.07019", "--k2",  "0.7939", "--k3", "0.523", "--name", "benzene"};
const std::string kBatch = "tc,pc,vc,omega,mw,temp,press\n"
                           "562.1,48.9,259,0.212,78.11,25,1\n"
                           "562.1,48.9,259,0.212,78.11,abc,1\n" // rejected
                           "562.1,48.9,259,0.212,78.11,300,30\n";

struct Form {
    const char* what;
    std::vector<std::string> args;
    std::string input;
    int states; // solved
};

std::vector<Form> forms()
{
    return {
        {"one state, table", with(kBenzene, {"--temp", "25", "--press", "1"}), "", 1},
        {"one state, json", with(kBenzene, {"--temp", "25", "--press", "1", "--json"}), "", 1},
        {"one state, csv", with(kBenzene, {"--temp", "25", "--press", "1", "--format", "csv"}), "",
         1},
        {"analysis and json",
         with(kBenzene, {"--temp", "25", "--press", "1", "--json", "--analysis"}), "", 1},
        {"sweep, table", with(kBenzene, {"--temp-range", "0:100:50", "--press", "1"}), "", 3},
        {"sweep, csv",
         with(kBenzene, {"--temp", "25", "--press-range", "1:3:1", "--format", "csv"}), "", 3},
        {"batch, table", {"--batch", "-"}, kBatch, 2},
        {"batch, json", {"--batch", "-", "--json"}, kBatch, 2},
        {"batch, csv", {"--batch", "-", "--format", "csv"}, kBatch, 2},
    };
}

// What was printed stays, byte for byte, where it was: the sheet's table before the new
// block, every JSON member before the new ones, every CSV field before the new columns, and
// a rejected CSV row as wide as the header. Each solved state gets its additions.
TEST(PropertiesOutput, AddToEveryFormWithoutChangingWhatWasThere)
{
    for (const Form& f : forms()) {
        SCOPED_TRACE(f.what);
        const CliRun plain = runCli(f.args, f.input);
        const CliRun more = runCli(with(f.args, {"--properties", "--explain"}), f.input);
        ASSERT_EQ(more.status, plain.status);
        const bool json = std::find(f.args.begin(), f.args.end(), "--json") != f.args.end();
        const bool csv = std::find(f.args.begin(), f.args.end(), "csv") != f.args.end();
        if (json) {
            const auto a = lines(plain.out), b = lines(more.out);
            ASSERT_EQ(a.size(), b.size());
            int added = 0;
            for (std::size_t i = 0; i < a.size(); ++i) {
                ASSERT_EQ(b[i].substr(0, a[i].size() - 1), a[i].substr(0, a[i].size() - 1));
                const nlohmann::json j = nlohmann::json::parse(b[i]);
                added += j.contains("properties") && j.contains("explanation");
            }
            EXPECT_EQ(added, f.states);
        } else if (csv) {
            const auto a = readCsv(plain.out), b = readCsv(more.out);
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                ASSERT_EQ(b[i].size(), b[0].size()) << "row " << i;
                ASSERT_EQ(std::vector(b[i].begin(),
                                      b[i].begin() + static_cast<std::ptrdiff_t>(a[i].size())),
                          a[i]);
            }
            EXPECT_EQ(b[0].size() - a[0].size(), 9u * 17u + 9u);
        } else {
            // Each state's sheet is followed by its two blocks, the explanation's last model
            // last; cut out, they leave the old text.
            std::string stripped = more.out;
            int blocks = 0;
            for (std::size_t at;
                 (at = stripped.find("\nModel properties at ")) != std::string::npos; ++blocks) {
                std::size_t end = stripped.find("\nDieterici EOS\n  1. ",
                                                stripped.find("\nWhy each model's root", at));
                ASSERT_NE(end, std::string::npos);
                end = stripped.find('\n', end + 1) + 1;
                while (stripped.compare(end, 2, "  ") == 0)
                    end = stripped.find('\n', end) + 1;
                stripped.erase(at, end - at);
            }
            EXPECT_EQ(blocks, f.states);
            EXPECT_EQ(stripped, plain.out);
        }
    }
}

// Benzene at 25 °C and 1 bar: every model's roots tagged, the stable root's properties
// under the keys scripts read, consistent among themselves (a key attached to the wrong
// value breaks G = H − T·S or G = RT ln φ).
TEST(PropertiesOutput, JsonPropertiesAreConsistentPerModel)
{
    const CliRun r =
        runCli(with(kBenzene, {"--temp", "25", "--press", "1", "--json", "--properties"}));
    ASSERT_EQ(r.status, 0);
    const nlohmann::json all = nlohmann::json::parse(r.out).at("properties");
    const double t = 298.15, rJ = 8.314;
    for (const char* model : {"Vir", "VDW", "RK", "SRK", "PR", "PRSV1", "PRSV2", "ESD", "DEOS"}) {
        SCOPED_TRACE(model);
        const nlohmann::json& m = all.at(model);
        EXPECT_FALSE(m.at("parameters").empty());
        const nlohmann::json& stable = m.at("stable");
        ASSERT_TRUE(stable.is_object()) << m.at("status");
        int stableTags = 0;
        for (const nlohmann::json& root : m.at("roots")) {
            const std::string tag = root.at("tag");
            EXPECT_EQ(root.at("reason").get<std::string>().rfind(tag, 0), 0u);
            if (tag == "stable") {
                ++stableTags;
                EXPECT_EQ(root.at("molar_volume_cm3_mol"), stable.at("molar_volume_cm3_mol"));
            }
        }
        EXPECT_EQ(stableTags, 1);
        const double h = stable.at("H_res_J_mol"), s = stable.at("S_res_J_molK"),
                     g = stable.at("G_res_J_mol"), lnPhi = stable.at("ln_phi");
        EXPECT_NEAR(h - t * s, g, 1e-6 * std::abs(h) + 1e-9);
        EXPECT_NEAR(rJ * t * lnPhi, g, 1e-4 * std::abs(g) + 1e-9);
        EXPECT_NEAR(stable.at("fugacity_bar").get<double>(), std::exp(lnPhi), 1e-12);
        EXPECT_GT(stable.at("beta_1_K").get<double>(), 0);
        EXPECT_GT(stable.at("kappa_T_1_bar").get<double>(), 0);
        for (const char* key :
             {"U_res_J_mol", "A_res_J_mol", "dPdT_V_bar_K", "Cv_res_J_molK", "Cp_minus_Cv_J_molK"})
            EXPECT_TRUE(stable.at(key).is_number()) << key;
    }
    // Peng-Robinson: liquid, unstable middle and vapour; the liquid is the stable one.
    const nlohmann::json& pr = all.at("PR").at("roots");
    ASSERT_EQ(pr.size(), 3u);
    EXPECT_EQ(pr[0].at("tag"), "stable");
    EXPECT_EQ(pr[1].at("tag"), "unstable");
    EXPECT_EQ(pr[2].at("tag"), "metastable");
}

// The Peng-Robinson explanation in each format: A and B, the cubic, its three roots and the
// reason the liquid is chosen.
TEST(PropertiesOutput, ExplanationOfPengRobinsonInEveryFormat)
{
    const auto args = with(kBenzene, {"--temp", "25", "--press", "1", "--explain"});
    std::vector<std::string> texts;
    const std::string table = runCli(args).out;
    texts.push_back(table.substr(table.find("\nPeng-Robinson\n  1. ")));
    texts.back().erase(texts.back().find("\nPR-Stryjek-Vera 1\n"));
    const nlohmann::json json = nlohmann::json::parse(runCli(with(args, {"--json"})).out);
    std::string steps;
    for (const auto& s : json.at("explanation").at("PR"))
        steps += s.get<std::string>() + " ";
    texts.push_back(steps);
    const auto csv = readCsv(runCli(with(args, {"--format", "csv"})).out);
    ASSERT_EQ(csv.size(), 2u);
    const auto column = std::find(csv[0].begin(), csv[0].end(), "PR_explanation");
    ASSERT_NE(column, csv[0].end());
    texts.push_back(csv[1][static_cast<std::size_t>(column - csv[0].begin())]);
    for (std::string text : texts) {
        // The table wraps its lines: read it as one.
        for (std::size_t at; (at = text.find("\n    ")) != std::string::npos;)
            text.replace(at, text.find_first_not_of(' ', at + 1) - at, " ");
        SCOPED_TRACE(text.substr(0, 300));
        EXPECT_NE(text.find("A = aP/(RT)^2 = 0.0468"), std::string::npos);
        EXPECT_NE(text.find("B = bP/(RT) = 0.002999"), std::string::npos);
        EXPECT_NE(text.find(": Z^3 - 0.997"), std::string::npos); // the cubic with numbers
        const std::size_t roots = text.find("Real roots: Z = 0.00");
        ASSERT_NE(roots, std::string::npos);
        const std::string sentence = text.substr(roots, text.find(").", roots) - roots);
        EXPECT_EQ(sentence.find("Z = ", sentence.find("Z = ", sentence.find("Z = ") + 1) + 1) !=
                      std::string::npos,
                  true)
            << sentence;
        EXPECT_NE(text.find("so its liquid root is the stable one"), std::string::npos);
    }
}

TEST(PropertiesOutput, OptionCombinations)
{
    struct {
        std::vector<std::string> args;
        int status;
    } const kCases[] = {
        {{"--batch", "-", "--properties", "--format", "csv"}, 0},
        {{"--batch", "-", "--explain", "--json"}, 0},
        {with(kBenzene, {"--temp-range", "0:10:10", "--press", "1", "--properties"}), 0},
        {{"--batch", "-", "--analysis"}, 2}, // the analysis stays one state's
        {{"--list", "--properties"}, 2},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(runCli(c.args, "tc,pc,temp,press\n562.1,48.9,25,1\n").status, c.status)
            << c.args[0] << " " << c.args[1] << " " << c.args[2];
}

} // namespace
