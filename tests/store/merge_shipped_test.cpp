#include "store/merge_shipped.h"
#include "store/recordset.h"
#include "store/store_errors.h"
#include "store_test_support.h"

#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace store {
namespace {

// Every row of both tables as text, by key: what "nothing present changed" compares.
std::vector<std::string> dump(const std::string& path, const std::string& where = "1")
{
    Database db = Database::open(path);
    Recordset rs = db.openRecordset(
        "SELECT printf('%d|%s|%!.17g|%!.17g|%!.17g|%!.17g|%!.17g|%!.17g|%!.17g|%!.17g|%!.17g|"
        "%!.17g|%!.17g|%!.17g|%!.17g', c.CompID, c.Component, MolWt, CritTemp, CritPress, "
        "CritVol, AcentricF, K1, K2, K3, AntA, AntB, AntC, AntTmin, AntTmax) AS line "
        "FROM tblComps c LEFT JOIN tblAntoine a ON a.CompID = c.CompID WHERE " +
        where + " ORDER BY c.CompID");
    std::vector<std::string> lines;
    if (rs.recordCount() > 0)
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            lines.push_back(*rs.text("line"));
    return lines;
}

std::set<std::string> names(const std::string& path)
{
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("tblComps");
    std::set<std::string> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.insert(*rs.text("Component"));
    return out;
}

TEST(MergeShipped, PreviousFileGainsExactlyTheMissingNamesOnce)
{
    test::TempDir dir;
    const std::string path = test::makePrevious(dir);
    const std::vector<std::string> before = dump(path);
    const std::set<std::string> shipped = names(test::makeShipped(dir));

    EXPECT_EQ(mergeShippedComponents(path), test::kShippedComponents - 199);
    EXPECT_EQ(names(path), shipped);
    EXPECT_EQ(dump(path, "c.CompID <= 199"), before) << "the rows there stay as they were";
    Database db = Database::open(path);
    EXPECT_EQ(db.openRecordset("qryAntCos").recordCount(), test::kShippedAntoineSets);
    EXPECT_FALSE(db.hasCompsField("Source")) << "the file's schema stays as it was";
    db.close();

    const std::vector<std::string> merged = dump(path);
    EXPECT_EQ(mergeShippedComponents(path), 0) << "the second time";
    EXPECT_EQ(dump(path), merged);
}

TEST(MergeShipped, NamesAreComparedIgnoringCaseAndUserRowsWin)
{
    test::TempDir dir;
    const std::string path = test::makeShipped(dir);
    {
        Database db = Database::open(path);
        Recordset rs = db.openRecordset("tblComps");
        for (const char* gone : {"Water", "Benzene"}) {
            rs.findFirst("Component", std::string(gone));
            rs.deleteRecord();
        }
        rs.findFirst("Component", std::string("Methane"));
        rs.edit();
        rs.setField("Component", std::string("METHANE"));
        rs.setField("CritTemp", 191.0);
        rs.update();
    }
    const std::vector<std::string> before = dump(path);
    EXPECT_EQ(mergeShippedComponents(path), 2);
    const std::vector<std::string> after = dump(path);
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));

    Database db = Database::open(path);
    Recordset rs = db.openRecordset("qryCritCos");
    rs.findFirst("Component", std::string("Water"));
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.number("CritTemp"), 647.096);
    EXPECT_EQ(rs.text("Source"),
              "MW=formula; Tc/Pc/Vc=HEOS; w=HEOS; K1=SV1986; K2/K3=SV1986b; Ant=Poling2001");
    Recordset antoine = db.openRecordset("qryAntCos");
    for (const char* name : {"Water", "Benzene"}) {
        antoine.findFirst("Component", std::string(name));
        EXPECT_FALSE(antoine.noMatch()) << name << " comes with its Antoine set";
    }
    rs.findFirst("Component", std::string("Methane"));
    EXPECT_TRUE(rs.noMatch()) << "METHANE is there already";
}

TEST(MergeShipped, RefusesWhatIsNotAComponentDatabase)
{
    test::TempDir dir;
    try {
        mergeShippedComponents(dir.file("absent.mdb"));
        ADD_FAILURE() << "merged into a missing file";
    } catch (const StoreException& e) {
        EXPECT_EQ(e.number(), kErrFileNotFound);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("absent.mdb"))) << "no file is created";

    // A file that is not a component database is refused before anything is written.
    const std::string other = dir.file("other.mdb");
    Database::createFromScript(other, "CREATE TABLE t (x);");
    try {
        mergeShippedComponents(other);
        ADD_FAILURE() << "merged into a file without tblComps";
    } catch (const StoreException& e) {
        EXPECT_EQ(e.number(), kErrNotADatabase);
    }
}

// Antoine sets by component name, as the window finds them.
std::map<std::string, std::string> antoineByName(const std::string& path)
{
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("SELECT Component, printf('%!.17g|%!.17g|%!.17g', AntA, "
                                    "AntB, AntC) AS set_ FROM qryAntCos");
    std::map<std::string, std::string> out;
    if (rs.recordCount() > 0)
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out[*rs.text("Component")] = *rs.text("set_");
    return out;
}

void execRaw(const std::string& path, const std::string& sql)
{
    // A plain connection as any SQLite tool opens it: foreign keys off, so a deleted
    // component's Antoine row stays behind.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(raw);
}

TEST(MergeShipped, NewComponentsNeverTakeAKeyStillInUse)
{
    struct Case {
        const char* name;
        bool previous; // the older file, else the shipped one
        std::string damage;
        int added; // -1: refused, nothing written
    };
    // Components whose keys reach past the last Antoine row, deleted with their sets left.
    const std::string dropTail =
        "DELETE FROM tblComps WHERE CompID >= (SELECT max(CompID) FROM tblAntoine);";
    const Case cases[] = {
        {"older file, last components deleted, Antoine rows left", true, dropTail, -2},
        {"shipped file, last components deleted, Antoine rows left", false, dropTail, -2},
        {"Antoine row of no component beyond every key", false,
         "INSERT INTO tblAntoine VALUES (100000, 1, 2, 3, 0, 1);"
         "DELETE FROM tblComps WHERE Component = 'Water';",
         1},
        {"key not an INTEGER PRIMARY KEY", false,
         "CREATE TABLE t2 AS SELECT * FROM tblComps; DROP VIEW qryCritCos; DROP VIEW qryAntCos;"
         "DROP TABLE tblComps; ALTER TABLE t2 RENAME TO tblComps;"
         "DELETE FROM tblComps WHERE Component = 'Water';",
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = c.previous ? test::makePrevious(dir) : test::makeShipped(dir);
        const std::map<std::string, std::string> shipped =
            antoineByName(test::makeShipped(dir, "s"));
        execRaw(path, c.damage);
        const std::set<std::string> before = names(path);
        const std::vector<std::string> rowsBefore = dump(path);
        if (c.added == -1) {
            try {
                mergeShippedComponents(path);
                ADD_FAILURE() << "merged into a file whose keys are not row ids";
            } catch (const StoreException& e) {
                EXPECT_EQ(e.number(), kErrRefused);
                EXPECT_NE(e.description().find("INTEGER PRIMARY KEY"), std::string::npos);
            }
            EXPECT_EQ(dump(path), rowsBefore) << "nothing written";
            continue;
        }
        const int added = mergeShippedComponents(path);
        if (c.added >= 0) {
            EXPECT_EQ(added, c.added);
        }
        EXPECT_GT(added, 0);
        // Each added component has exactly its own shipped Antoine set, or none when the
        // shipped data has none.
        const std::map<std::string, std::string> merged = antoineByName(path);
        for (const std::string& name : names(path)) {
            if (before.count(name))
                continue;
            const auto want = shipped.find(name);
            const auto got = merged.find(name);
            EXPECT_EQ(got == merged.end() ? "none" : got->second,
                      want == shipped.end() ? "none" : want->second)
                << name;
        }
    }
}

TEST(MergeShipped, KilledMergeLeavesAllOrNone)
{
    test::TempDir dir;
    const std::string path = test::makePrevious(dir);
    const std::vector<std::string> before = dump(path);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Everything is written, the commit not yet done: the process dies here.
        try {
            mergeShippedComponents(path, [] { raise(SIGKILL); });
        } catch (...) {
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the merge ended by itself";

    EXPECT_EQ(test::integrityCheck(path), "ok");
    EXPECT_EQ(dump(path), before) << "none of the rows";
    EXPECT_EQ(mergeShippedComponents(path), test::kShippedComponents - 199) << "then all of them";
}

} // namespace
} // namespace store
