#include "cli/cli.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "tests/store/store_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

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

// A new copy of the shipped database in the folder, replacing an earlier one.
std::string freshShippedDatabase(const std::string& dir)
{
    std::filesystem::create_directories(dir);
    const std::string db = dir + "/Components.mdb";
    std::filesystem::remove(db);
    store::createShippedDatabase(db);
    return db;
}

TEST(Cli, ComponentsFromTheDatabase)
{
    const std::string dir = testing::TempDir() + "tavrel1_cli_db";
    const std::string db = freshShippedDatabase(dir);

    const CliRun list = runCli({"--db", db, "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 742);
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "1,1,1,2,2,3,3,4-Octafluorobutane");

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

TEST(Cli, MergeShippedAddsTheMissingComponentsAndSaysHowMany)
{
    const std::string dir = testing::TempDir() + "tavrel1_cli_merge";
    const std::string db = freshShippedDatabase(dir);
    {
        store::Database d = store::Database::open(db);
        store::Recordset rs = d.openRecordset("tblComps");
        rs.findFirst("Component", std::string("Water"));
        rs.deleteRecord();
    }
    const CliRun first = runCli({"--db", db, "--merge-shipped"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "Added 1 shipped component to " + db + ".\n");
    const CliRun second = runCli({"--db", db, "--merge-shipped"});
    EXPECT_EQ(second.out, "Added 0 shipped components to " + db + ".\n");
    const CliRun water =
        runCli({"--db", db, "--component", "Water", "--temp", "25", "--press", "1"});
    EXPECT_EQ(water.status, 0);

    const CliRun missing = runCli({"--db", dir + "/absent.mdb", "--merge-shipped"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Could not find file"), std::string::npos) << missing.err;
}

} // namespace

namespace {

// Faults of the command line found under attack: each case failed before the fix.
TEST(Cli, TwoPhaseNeedsAntoineCoefficients)
{
    store::test::TempDir dir;
    const std::string db = store::test::makeShipped(dir);
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const std::string noAntoine = "R-1234yf (2,3,3,3-tetrafluoropropene)";
    const std::vector<std::string> at25 = {"--temp", "25", "--press", "1"};
    const auto plus = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Case cases[] = {
        {"custom constants, temperature",
         plus(at25, {"--tc", "500", "--two-phase", "temperature"})},
        {"custom constants, pressure", plus(at25, {"--tc", "500", "--two-phase", "pressure"})},
        {"stored without Antoine, temperature",
         plus(at25, {"--db", db, "--component", noAntoine, "--two-phase", "temperature"})},
        {"stored without Antoine, pressure",
         plus(at25, {"--db", db, "--component", noAntoine, "--two-phase", "pressure"})},
        {"sweep", {"--temp-range", "0:10:5", "--press", "1", "--two-phase", "pressure"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("need the Antoine co-efficients"), std::string::npos) << r.err;
    }
    // The same component with the coefficients solves on the line, exit 0.
    EXPECT_EQ(runCli({"--db", db, "--component", "Propane", "--temp", "25", "--press", "1",
                      "--two-phase", "pressure"})
                  .status,
              0);
}

TEST(Cli, JsonIsValidUtf8ForAnyName)
{
    struct Case {
        const char* name;
        std::string component;
        std::string expected; // the name as the JSON message shows it
    };
    const Case cases[] = {
        {"valid two-byte and four-byte sequences pass", "Caf\xc3\xa9 \xf0\x9f\x92\xa7",
         "Caf\xc3\xa9 \xf0\x9f\x92\xa7"},
        {"stray continuation and lead bytes", "a\x80z\xff", "a\\ufffdz\\ufffd"},
        {"truncated sequence at the end", "x\xe2\x82", "x\\ufffd\\ufffd"},
        {"overlong slash and a surrogate", "\xc0\xaf|\xed\xa0\x80",
         "\\ufffd\\ufffd|\\ufffd\\ufffd\\ufffd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runCli({"--temp", "25", "--press", "1", "--json", "--name", c.component});
        ASSERT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Antoine co-efficients for " + c.expected + " NOT Found"),
                  std::string::npos)
            << r.out;
    }
}

TEST(Cli, ControlCharactersInNamesAreVisible)
{
    const CliRun table = runCli({"--temp", "25", "--press", "1", "--name", "a\nb\rc\x1b"});
    ASSERT_EQ(table.status, 0);
    EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
              "Antoine co-efficients for a\\nb\\rc\\x1b NOT Found");
    const CliRun plain = runCli({"--temp", "25", "--press", "1", "--name", "abc"});
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'),
              std::count(plain.out.begin(), plain.out.end(), '\n'));

    store::test::TempDir dir;
    const std::string db = store::test::makeDatabase(
        dir, "INSERT INTO tblComps VALUES (1, 'line' || char(10) || 'feed', 78.11, 562.1, 48.9, "
             "259, 0.2, NULL, NULL, NULL, NULL);\n"
             "INSERT INTO tblComps VALUES (2, 'nul' || char(13) || 'cr', 78.11, 562.1, 48.9, "
             "259, 0.2, NULL, NULL, NULL, NULL);\n");
    const CliRun list = runCli({"--db", db, "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "line\\nfeed\nnul\\rcr\n");
}

TEST(Cli, AntoineTakesExactlyThreeFields)
{
    const struct {
        const char* text;
        int status;
    } cases[] = {{"1,2,3", 0}, {"1,2,3,", 2}, {"1,2,3,,", 2},  {",1,2,3", 2},
                 {"1,2", 2},   {"1,,3", 2},   {" 1, 2 ,3 ", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(runCli({"--temp", "25", "--press", "1", "--antoine", c.text}).status, c.status);
    }
}

TEST(Cli, VersionAndHelp)
{
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tavrel1-cli ") + TAVREL1_VERSION + "\n");

    const CliRun help = runCli({"--help", "--temp"}); // help wins over anything else
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"--format table|json|csv", "--batch FILE", "--temp-range",
                             "--press-range", "--jobs N", "--version", "Exit status:", "  3  "})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    // An 80-column terminal shows every line whole; the usage names every mode.
    std::istringstream helpLines(help.out);
    for (std::string line; std::getline(helpLines, line);)
        EXPECT_LE(line.size(), 80u) << line;
    for (const char* mode : {"[--analysis]", "--merge-shipped\n"})
        EXPECT_NE(help.out.substr(0, help.out.find("Options:")).find(mode), std::string::npos)
            << mode;
    // Every option the short usage names is explained.
    const CliRun usage = runCli({"--bogus"});
    for (std::size_t at = usage.err.find("[--"); at != std::string::npos;
         at = usage.err.find("[--", at + 1)) {
        const std::string flag =
            usage.err.substr(at + 1, usage.err.find_first_of(" ]", at) - at - 1);
        EXPECT_NE(help.out.find("  " + flag), std::string::npos) << flag;
    }
}

TEST(Cli, FormatsAgreeWithTheOldSwitches)
{
    const std::vector<std::string> state = {"--temp", "25",        "--press",
                                            "1",      "--antoine", "13.7815,2726.813,217.572"};
    const auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> a = state;
        a.insert(a.end(), extra.begin(), extra.end());
        return runCli(a);
    };
    EXPECT_EQ(with({"--format", "json"}).out, with({"--json"}).out);
    EXPECT_EQ(with({"--format", "table"}).out, with({}).out);
    const CliRun csv = with({"--format", "csv", "--name", "Odd, \"quoted\" name"});
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 2);
    EXPECT_EQ(csv.out.substr(0, 30), "component,temp_C,press_bar,two");
    const std::string row = csv.out.substr(csv.out.find('\n') + 1);
    EXPECT_EQ(row.substr(0, 40), "\"Odd, \"\"quoted\"\" name\",25,1,,false,false");
    EXPECT_EQ(runCli({"--temp", "25", "--press", "1", "--format", "xml"}).status, 2);
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

namespace {

// The man page explains every option --help lists.
TEST(Cli, ManPageNamesEveryOption)
{
    std::ifstream file(TAVREL1_MAN_PAGE);
    ASSERT_TRUE(file.good());
    const std::string man((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string help = runCli({"--help"}).out;
    int options = 0;
    for (std::size_t at = help.find("\n  --"); at != std::string::npos;
         at = help.find("\n  --", at + 1)) {
        const std::string flag = help.substr(at + 5, help.find_first_of(" \n", at + 5) - at - 5);
        std::string troff = "\\-\\-";
        for (char c : flag)
            troff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(man.find(troff), std::string::npos) << flag;
        ++options;
    }
    EXPECT_GE(options, 25);
}

} // namespace

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct ProcessRun {
    int status;
    std::string err;
};

// The real program with its standard output sent where the shell redirection says.
ProcessRun runRedirected(const std::string& args, const std::string& target,
                         const std::string& errFile)
{
    const std::string command =
        std::string(TAVREL1_CLI) + " " + args + " >" + target + " 2> " + errFile;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(errFile)};
}

TEST(Cli, FailedWritesStopWithTheReasonAndStatus4)
{
    // A directory of this process alone: a filesystem is mounted under it.
    const std::string dir = testing::TempDir() + "tavrel1_cli_full_" + std::to_string(getpid());
    const std::string db = freshShippedDatabase(dir);
    std::ofstream(dir + "/batch.csv") << "temp,press\n25,1\n30,1\n";
    const std::string sweep = "--tc 562 --pc 49 --temp-range 0:100:1 --press-range 1:100:1";
    const std::string cases[] = {
        "--temp 25 --press 1",
        "--temp 25 --press 1 --json --analysis --antoine 14,3000,220",
        "--db " + db + " --list",
        "--db " + db + " --merge-shipped",
        "--batch " + dir + "/batch.csv",
        sweep + " --format csv",
    };
    for (const std::string& args : cases) {
        SCOPED_TRACE(args);
        const ProcessRun r = runRedirected(args, "/dev/full", dir + "/err");
        EXPECT_EQ(r.status, cli::kExitWrite);
        EXPECT_EQ(r.err, "tavrel1-cli: writing output: No space left on device\n");
    }
    // Standard output closed: a failure too, never status 0.
    const ProcessRun closed = runRedirected("--temp 25 --press 1", "&-", dir + "/err");
    EXPECT_EQ(closed.status, cli::kExitWrite) << closed.err;

    // A small filesystem that fills: the sweep stops at the first failed write, and what
    // reached the file is the start of the full output, nothing out of order or skipped.
    const std::string small = dir + "/small";
    std::filesystem::create_directories(small);
    if (std::system(("mount -t tmpfs -o size=64k tmpfs " + small + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no tmpfs mount here; /dev/full covered the failure";
    const ProcessRun full =
        runRedirected(sweep + " --format csv", small + "/out.csv", dir + "/err");
    const ProcessRun whole =
        runRedirected(sweep + " --format csv", dir + "/whole.csv", dir + "/err2");
    const std::string part = slurp(small + "/out.csv");
    const std::string all = slurp(dir + "/whole.csv");
    EXPECT_EQ(std::system(("umount " + small).c_str()), 0);
    EXPECT_EQ(full.status, cli::kExitWrite);
    EXPECT_EQ(full.err, "tavrel1-cli: writing output: No space left on device\n");
    EXPECT_EQ(whole.status, 0);
    EXPECT_GT(all.size(), 64u * 1024u);
    EXPECT_GT(part.size(), 0u);
    EXPECT_LE(part.size(), 64u * 1024u);
    EXPECT_EQ(all.substr(0, part.size()), part);
}

// Each option either does what it asks or the combination is refused, the same way.
TEST(Cli, CombinationsAndRangesAreRefusedNotIgnored)
{
    const std::string dir = testing::TempDir() + "tavrel1_cli_combos";
    const std::string db = freshShippedDatabase(dir);
    std::ofstream(dir + "/batch.csv") << "temp,press\n25,1\n";
    std::ofstream(dir + "/:memory:") << "not a database\n";
    const std::vector<std::string> sweep = {"--tc", "562", "--pc", "49", "--press", "1"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = sweep;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* errContains;
    };
    const Case cases[] = {
        {"--list with a state", {"--db", db, "--list", "--temp", "1"}, 2, "--list takes no"},
        {"--merge-shipped with a state", {"--db", db, "--merge-shipped", "--json"}, 2, "drop"},
        {"--batch with --analysis", {"--batch", dir + "/batch.csv", "--analysis"}, 2, "--analysis"},
        {"step away from the stop, small", with({"--temp-range", "0:-0.5:1"}), 2, "--temp-range"},
        {"step away from the stop, whole", with({"--temp-range", "0:-1:1"}), 2, "--temp-range"},
        {"step towards the stop", with({"--temp-range", "1:0:-0.5"}), 0, ""},
        {"grid beyond the limit",
         {"--tc", "562", "--pc", "49", "--temp-range", "0:1e-4:1e4", "--press-range", "1:1e-4:1e4"},
         2,
         "range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "");
        }
    }
    // A path is a path: a file named ":memory:" in the working folder is opened, not an
    // empty database in memory.
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const CliRun memory = runCli({"--db", ":memory:", "--list"});
    std::filesystem::current_path(was);
    EXPECT_EQ(memory.status, 1);
    EXPECT_NE(memory.err.find("file is not a database"), std::string::npos) << memory.err;
}

} // namespace
