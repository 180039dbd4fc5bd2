// tavrel1-cli --reference, --scorecard and --data: the members and blocks they add, for a
// stored component with a reference, one without, single runs and batch rows alike.
#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "tests/store/store_test_support.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli_test::CliRun;
using cli_test::lines;
using cli_test::runCli;

std::string fixtureDb()
{
    // The shipped components in a file of the test's own: the window's database is untouched.
    static const store::test::TempDir dir;
    static const std::string path = store::test::makeShipped(dir);
    return path;
}

// What each option adds, read from the output of a real run. A member missing, a wrong
// branch (carbon dioxide at 0 °C and 50 bar is a liquid of 940.5 kg/m3, not a vapour) or a
// component without reference answered with numbers is caught here.
TEST(ReferenceOutput, MembersAndBlocks)
{
    const std::string db = fixtureDb();
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> contains;
    } rows[] = {
        {{"--component", "Carbon dioxide", "--temp", "0", "--press", "50", "--reference", "--json"},
         {"\"reference\": {\"equation\": \"Span, R. and Wagner, W. (1996)", "\"phase\": \"liquid\"",
          "\"density_kg_m3\": 940.51", "\"deviation_percent\": {\"Vir\": {\"volume\": ",
          "\"DEOS\": {\"volume\": ", "\"saturation\": {\"pressure_bar\": 34.85"}},
        {{"--component", "Water", "--temp", "100", "--press", "1.01325", "--reference"},
         {"\nReference equation of state: Wagner, W. and Pru", "(double precision): vapour\n",
          "density 0.5976122 kg/m3", "\nDeviation from the reference, %"}},
        {{"--component", "Water", "--temp", "400", "--press", "300", "--reference", "--json"},
         {"\"phase\": \"supercritical\"", "\"saturation\": null"}},
        {{"--component", "Water", "--temp", "-10", "--press", "1", "--reference", "--json"},
         {"\"phase\": null", "\"status\": \"below the triple-point temperature\""}},
        {{"--component", "Acetic acid", "--temp", "25", "--press", "1", "--reference", "--json"},
         {"\"reference\": null, \"reference_reason\": \"no reference equation of state"}},
        {{"--tc", "500", "--pc", "40", "--temp", "25", "--press", "1", "--reference", "--json"},
         {"\"reference\": null, \"reference_reason\": \"constants typed"}},
        {{"--component", "Propane", "--scorecard", "--json"},
         {"{\"component\": \"Propane\", \"scorecard\": {\"equation\": \"Lemmon",
          "\"saturation_points\": 20", "\"ranking\": [{\"model\": \"PRSV1\""}},
        {{"--component", "Propane", "--scorecard", "--format", "csv"},
         {"table,rank,model,overall_aad_percent", "\nscorecard,9,Vir,"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = row.args;
        args.insert(args.end(), {"--db", db});
        const CliRun r = runCli(args);
        SCOPED_TRACE(testing::Message() << args[1] << " " << r.err);
        EXPECT_EQ(r.status, 0);
        for (const std::string& part : row.contains)
            EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out.substr(0, 3000);
    }
}

// With --batch each solved row carries its own reference; a CSV row keeps the header's
// column count; a rejected row stays a rejected row.
TEST(ReferenceOutput, BatchRows)
{
    const std::string csv = "component,temp,press\nWater,20,1\nNo such thing,20,1\n"
                            "Methane,-100,20\n";
    const CliRun json = runCli({"--batch", "-", "--json", "--reference", "--db", fixtureDb()}, csv);
    EXPECT_EQ(json.status, 3);
    std::istringstream lines(json.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line))
        got.push_back(line);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_NE(got[0].find("\"line\": 2"), std::string::npos);
    EXPECT_NE(got[0].find("\"phase\": \"liquid\""), std::string::npos);
    EXPECT_EQ(got[1].find("\"reference\""), std::string::npos);
    EXPECT_NE(got[2].find("\"phase\": \"vapour\""), std::string::npos);

    const CliRun table =
        runCli({"--batch", "-", "--format", "csv", "--reference", "--db", fixtureDb()}, csv);
    std::istringstream rows(table.out);
    std::vector<std::size_t> commas;
    while (std::getline(rows, line))
        commas.push_back(static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')));
    ASSERT_EQ(commas.size(), 4u);
    for (const std::size_t n : commas)
        EXPECT_EQ(n, commas[0]);
}

// Measured points: a row that cannot be read is named by its line and left out, the rest are
// scored, and the reference (water's own equation) lands far closer than any cubic.
TEST(ReferenceOutput, DataFile)
{
    const std::string path = testing::TempDir() + "reference_output_points.csv";
    std::ofstream(path) << "# water, IAPWS-95 values rounded\nT [C],p [MPa],rho [kg/m3]\n"
                           "25,10,1001.4\n50,0.1,oops\n80,5,974.0\n";
    const CliRun r =
        runCli({"--component", "Water", "--data", path, "--json", "--db", fixtureDb()});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("line 4: the density is not a number"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\"points\": 2, \"rejected\": [{\"line\": 4"), std::string::npos);
    EXPECT_NE(r.out.find("\"ranking\": [{\"model\": \"reference\""), std::string::npos) << r.out;
}

} // namespace
