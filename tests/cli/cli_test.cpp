#include "cli/cli.h"
#include "store/recordset.h"
#include "store/seed.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, ExitStatusAndStreams)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* errContains;
    };
    const Case cases[] = {
        {"rejected temperature",
         {"--temp", "abc", "--press", "1"},
         2,
         "Invalid or Incorrect Temperature\n"},
        {"rejected pressure",
         {"--temp", "25", "--press", ""},
         2,
         "Invalid or Incorrect Pressure\n"},
        {"missing pressure", {"--temp", "25"}, 2, "usage: tavrel1-cli"},
        {"unknown option",
         {"--temp", "25", "--press", "1", "--colour"},
         2,
         "unknown option --colour"},
        {"constant not a number", {"--temp", "25", "--press", "1", "--tc", "hot"}, 2, "usage:"},
        {"two Antoine numbers", {"--temp", "25", "--press", "1", "--antoine", "1,2"}, 2, "usage:"},
        {"bad two-phase", {"--temp", "25", "--press", "1", "--two-phase", "volume"}, 2, "usage:"},
        {"value missing at the end", {"--temp", "25", "--press"}, 2, "--press needs a value"},
        {"solve below the floor still succeeds", {"--temp", "-200", "--press", "1"}, 0, ""},
        {"zero pressure is refused by the solve, not an error",
         {"--temp", "25", "--press", "0"},
         0,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "");
        }
    }
}

TEST(Cli, JsonIsOneLineWithEveryCell)
{
    const CliRun r = runCli({"--temp", "25", "--press", "1", "--json", "--name", "Odd \"name\"",
                             "--antoine", "13.7815,2726.813,217.572"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1);
    EXPECT_NE(r.out.find("\"message\": \"Single-Phase Sub-cooled Liquid State Conditions -\\r\\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"txtVDDEOS\": 16777215"), std::string::npos);
    EXPECT_NE(r.out.find("\"flags\": {\"AntoineAvailable\": true, \"CalcLiquid\": true, "
                         "\"CalcVapor\": false, \"AboveCritical\": false}"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"temp\": \"25\", \"press\": \"1\"}"), std::string::npos);
}

TEST(Cli, SelectionMessageNamesTheComponent)
{
    const CliRun found = runCli({"--temp", "1000", "--press", "1", "--json", "--name",
                                 "Odd \"name\"", "--antoine", "1,2,3"});
    // Above Tc the solve writes its own message; the name shows in the temperature-only run.
    const CliRun chosen =
        runCli({"--temp", "25", "--press", "1", "--json", "--name", "Odd \"name\""});
    EXPECT_NE(chosen.out.find("Antoine co-efficients for Odd \\\"name\\\" NOT Found"),
              std::string::npos)
        << chosen.out;
    EXPECT_NE(found.out.find("Single-Phase Vapor State Conditions -"), std::string::npos);
}

TEST(Cli, TwoPhaseShowsTheBoxesFinalTexts)
{
    const CliRun r = runCli({"--temp", "25", "--press", "1", "--antoine",
                             "13.7815,2726.813,217.572", "--two-phase", "pressure"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Temperature  (C): 79.59\nPressure  (bar): 1.000\n"), std::string::npos);
    EXPECT_NE(r.out.find("Two-phase Equilibrium State Conditions -\n"), std::string::npos);
}

} // namespace

namespace {

TEST(Cli, ComponentsFromTheDatabase)
{
    const std::string dir = testing::TempDir() + "tavrel1_cli_db";
    std::filesystem::create_directories(dir);
    const std::string db = dir + "/Components.mdb";
    std::filesystem::remove(db);
    store::createShippedDatabase(db);

    const CliRun list = runCli({"--db", db, "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 199);
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "1,1-Dichloroethane");

    const CliRun benzene =
        runCli({"--db", db, "--component", "Benzene", "--temp", "25", "--press", "1", "--json"});
    EXPECT_EQ(benzene.status, 0);
    EXPECT_NE(benzene.out.find("\"AntoineAvailable\": true"), std::string::npos);
    EXPECT_NE(benzene.out.find("\"txtLiqPR\": \"87.024\""), std::string::npos) << benzene.out;

    const CliRun unknown =
        runCli({"--db", db, "--component", "benzene", "--temp", "25", "--press", "1"});
    EXPECT_EQ(unknown.status, 2); // names are compared exactly
    const CliRun mixed = runCli(
        {"--db", db, "--component", "Benzene", "--tc", "500", "--temp", "25", "--press", "1"});
    EXPECT_EQ(mixed.status, 2);
    const CliRun missing = runCli({"--db", dir + "/nowhere/Components.mdb", "--list"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("3044"), std::string::npos);
}

TEST(Cli, ListCapIsSaidAndEveryStoredNameCanBeChosen)
{
    const std::string dir = testing::TempDir() + "tavrel1_cli_cap";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string db = dir + "/Components.mdb";
    const std::string_view seed = store::componentSeedSql();
    store::Database::createFromScript(
        db, std::string(seed.substr(0, seed.find("INSERT"))) +
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32770) "
                "INSERT INTO tblComps (Component) SELECT printf('C%05d', i) FROM n;");

    const CliRun list = runCli({"--db", db, "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 32768);
    EXPECT_EQ(list.err, "COMPONENT Database holds 32770 components;\n"
                        "only the first 32768 are listed.\n");

    const CliRun last =
        runCli({"--db", db, "--component", "C32770", "--temp", "25", "--press", "1", "--json"});
    EXPECT_EQ(last.status, 0) << last.err;
    EXPECT_NE(last.out.find("Antoine co-efficients for C32770 NOT Found"), std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
