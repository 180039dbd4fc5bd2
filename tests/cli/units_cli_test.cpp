#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "tests/store/store_test_support.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using cli_test::CliRun;
using cli_test::lines;
using cli_test::runCli;

/// The message and the cells of each JSON line: the sheet, whatever units the echo is in.
std::vector<std::string> sheets(const std::string& json)
{
    std::vector<std::string> out;
    std::istringstream lines(json);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t from = line.find("\"message\"");
        out.push_back(line.substr(from, line.find("\"colors\"") - from));
    }
    return out;
}

std::string member(const std::string& json, const std::string& key)
{
    const std::size_t at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos)
        return "(missing " + key + ")";
    const std::size_t from = at + key.size() + 5;
    return json.substr(from, json.find('"', from) - from);
}

class Units : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new store::test::TempDir;
        s_db = store::test::makeShipped(*s_dir);
    }
    static void TearDownTestSuite() { delete s_dir; }
    CliRun benzene(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--db", s_db, "--component", "Benzene"});
        return runCli(args);
    }
    static store::test::TempDir* s_dir;
    static std::string s_db;
};
store::test::TempDir* Units::s_dir = nullptr;
std::string Units::s_db;

// A value typed in another unit solves the sheet of the °C/bar text the note names, and
// the echo keeps what was typed. Catches a conversion that drifts (77 F solving 24.99999 °C),
// a note that names a text other than the one solved, and an echo in the wrong unit.
TEST_F(Units, TypedInUnitsSolvesTheSheetOfTheCalculationText)
{
    struct Case {
        std::vector<std::string> typed;
        std::string temp_C, press_bar; // "" : take it from the rounding note
        const char* echoTemp;
    };
    const Case cases[] = {
        {{"--temp", "77", "--temp-unit", "F", "--press", "14.5037738", "--press-unit", "psia"},
         "25",
         "1",
         "77"},
        {{"--temp", "300", "--temp-unit", "K", "--press", "101.325", "--press-unit", "kPa"},
         "26.85",
         "1.01325",
         "300"},
        {{"--temp", "100", "--temp-unit", "degF", "--press", "1", "--press-unit", "ATM"},
         "",
         "1.01325",
         "100"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.typed;
        args.push_back("--json");
        const CliRun typed = benzene(args);
        SCOPED_TRACE(typed.out + typed.err);
        ASSERT_EQ(typed.status, 0);
        std::string temp = c.temp_C;
        if (temp.empty()) { // "100 F = 37.777... C; taken as 37.77778 C (...)"
            const std::string note = member(typed.out, "rounding");
            const std::size_t at = note.find("taken as ") + 9;
            temp = note.substr(at, note.find(' ', at) - at);
            EXPECT_NE(typed.err.find("note: " + note), std::string::npos);
        }
        const CliRun plain = benzene({"--temp", temp, "--press", c.press_bar, "--json"});
        EXPECT_EQ(sheets(typed.out), sheets(plain.out));
        EXPECT_EQ(member(typed.out, "temp"), c.echoTemp);
        EXPECT_NE(typed.out.find("\"units\": {\"temp\": \""), std::string::npos);
    }
}

// Converted cells keep the sheet's significant digits, and every place that names a unit
// names the one the numbers are in: a header saying L/mol above cm3/mol numbers, or a box
// line captioned F showing the °C text a two-phase click wrote, is caught here.
TEST_F(Units, OutputIsConvertedWhereverItNamesItsUnit)
{
    const CliRun json =
        benzene({"--temp", "25", "--press", "1", "--volume-unit", "L/mol", "--json"});
    EXPECT_EQ(member(json.out, "txtLiqPR"), "0.087024");
    EXPECT_EQ(member(json.out, "txtSGPR"), "0.90"); // a specific gravity stays

    const CliRun csv = benzene({"--temp", "77", "--temp-unit", "F", "--press", "1", "--volume-unit",
                                "m3/kmol", "--format", "csv"});
    const std::string header = csv.out.substr(0, csv.out.find('\n'));
    EXPECT_NE(header.find(",temp [F],press [bar],"), std::string::npos) << header;
    EXPECT_NE(header.find(",txtLiqPR [m3/kmol],txtVapPR [m3/kmol],txtZPR,txtVDPR [kg/m3],"),
              std::string::npos);
    EXPECT_NE(csv.out.find("\nBenzene,77,1,"), std::string::npos);

    const CliRun table = benzene({"--temp", "25", "--press", "1", "--two-phase", "pressure",
                                  "--temp-unit", "F", "--density-unit", "lb/ft3"});
    // The click sets 79.59 °C, shown with its two decimals in °F.
    EXPECT_NE(table.out.find("Temperature  (F): 175.26\nPressure  (bar): 1.000\n"),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("g/cm3    cm3/mol    cm3/mol        -     lb/ft3\n"),
              std::string::npos);
    EXPECT_NE(table.out.find("vapour density in lb/ft3"), std::string::npos);

    const CliRun vapour = benzene({"--temp", "200", "--press", "1", "--json"});
    const CliRun vapourLb =
        benzene({"--temp", "200", "--press", "1", "--density-unit", "lb/ft3", "--json"});
    const double kgm3 = std::stod(member(vapour.out, "txtVDPR"));
    const double lbft3 = std::stod(member(vapourLb.out, "txtVDPR"));
    // 1 lb/ft3 = 0.45359237 kg / 0.028316846592 m3; the text keeps three or more digits.
    EXPECT_NEAR(lbft3, kgm3 * 0.028316846592 / 0.45359237, 5e-3 * lbft3);
}

// A batch whose header names units gives the rows of the same states typed in °C and bar.
TEST_F(Units, BatchHeaderUnitsGiveTheSameRows)
{
    const CliRun inUnits =
        runCli({"--db", s_db, "--batch", "-", "--json"}, "component,temp [K],press [psia]\n"
                                                         "Benzene,298.15,14.5037738\n"
                                                         "Water,373.15,29.0075476\n"
                                                         "Propane,473.15,145.037738\n");
    const CliRun plain = runCli({"--db", s_db, "--batch", "-", "--json"}, "component,temp,press\n"
                                                                          "Benzene,25,1\n"
                                                                          "Water,100,2\n"
                                                                          "Propane,200,10\n");
    ASSERT_EQ(inUnits.status, 0) << inUnits.err;
    EXPECT_EQ(sheets(inUnits.out), sheets(plain.out));
    EXPECT_EQ(sheets(inUnits.out).size(), 3u);
    EXPECT_NE(inUnits.out.find("\"units\": {\"temp\": \"K\", \"press\": \"psia\""),
              std::string::npos);
}

// Refused before anything is solved, with the reason, exit 2 and nothing on standard output.
TEST_F(Units, UnknownGaugeAndMismatchedUnitsAreRefused)
{
    struct Case {
        std::vector<std::string> args;
        std::string batch;
        const char* errHas;
    };
    const Case cases[] = {
        {{"--temp-unit", "furlong"}, "", "unknown temperature unit 'furlong'"},
        {{"--press-unit", "psig"}, "", "'psig' is a gauge pressure"},
        {{"--press-unit", "barg"}, "", "'barg' is a gauge pressure"},
        {{"--temp-unit", "bar"}, "", "'bar' is a unit of pressure, not of temperature"},
        {{"--volume-unit", "kg/m3"}, "", "is a unit of density, not of molar volume"},
        {{}, "temp [K],press [psig]\n25,1\n", "gauge pressure"},
        {{}, "temp,press,mw [g/mol]\n25,1,78\n", "only the columns temp and press take a unit"},
        {{"--temp-unit", "F"}, "temp [K],press\n300,1\n", "temperature in K, the option in F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.errHas);
        std::vector<std::string> args = c.args;
        if (c.batch.empty())
            args.insert(args.end(), {"--temp", "25", "--press", "1"});
        else
            args.insert(args.end(), {"--batch", "-"});
        const CliRun r = runCli(args, c.batch);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
