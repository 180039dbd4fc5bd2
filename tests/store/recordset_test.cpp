#include "store/component_schema.h"
#include "store/recordset.h"
#include "store/store_errors.h"
#include "store_test_support.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace store {
namespace {

using test::makeDatabase;
using test::TempDir;

const std::string kEditorSql = schema::editorQuery(true);

// Three rows in name order A, B, C (CompIDs 1 to 3), B without Antoine coefficients.
const char* kThree = "INSERT INTO tblComps (CompID, Component, CritTemp) VALUES "
                     "(1, 'Alpha', 100), (2, 'Beta', 200), (3, 'Gamma', 300);"
                     "INSERT INTO tblAntoine VALUES (1, 1, 2, 3, NULL, NULL), (3, 4, 5, 6, 0, 9);";

std::vector<std::string> names(Recordset& rs)
{
    std::vector<std::string> out;
    if (rs.recordCount() == 0)
        return out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.push_back(rs.text("Component").value_or("<null>"));
    return out;
}

int errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const StoreException& e) {
        EXPECT_FALSE(e.description().empty());
        return e.number();
    }
    return 0;
}

TEST(Recordset, FailuresCarryTheirNumbers)
{
    TempDir dir;
    std::ofstream(dir.file("garbage.mdb")) << "This is a text file, not a database at all.\n";
    std::ofstream(dir.file("empty.mdb")).flush();
    std::filesystem::create_directory(dir.path() / "folder.mdb");
    const std::string shipped = test::makeShipped(dir, "truncated.mdb");
    std::filesystem::resize_file(shipped, 2048);

    struct Case {
        const char* name;
        std::string path;
        int expected;
    };
    const Case cases[] = {
        {"file missing", dir.file("nothing.mdb"), kErrFileNotFound},
        {"folder missing", dir.file("no-such-folder/Components.mdb"), kErrPathNotValid},
        {"empty path", "", kErrPathNotValid},
        {"text file", dir.file("garbage.mdb"), kErrNotADatabase},
        // SQLite takes an empty file for an empty database; it has no tblComps.
        {"zero-length file", dir.file("empty.mdb"), kErrNotADatabase},
        {"truncated database", shipped, kErrNotADatabase},
        {"a folder", dir.file("folder.mdb"), kErrCannotOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorNumber([&] {
                      Database db = Database::open(c.path);
                      db.openRecordset("qryCritCos").moveLast();
                  }),
                  c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("nothing.mdb"))) << "opening must not create";
}

TEST(Recordset, RequerySeesWhatAnotherConnectionWrote)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, kThree);
    Database main = Database::open(path);
    Database editor = Database::open(path);
    Recordset rstComps = main.openRecordset("qryCritCos");
    Recordset rstEdit = editor.openRecordset(kEditorSql);

    rstEdit.addNew();
    rstEdit.setField("Component", std::string("Aardvark gas"));
    rstEdit.update();
    rstEdit.moveFirst(); // Alpha
    rstEdit.moveNext();  // Beta
    rstEdit.deleteRecord();
    rstEdit.moveFirst();
    rstEdit.edit();
    rstEdit.setField("CritTemp", 150.0);
    rstEdit.update();

    EXPECT_EQ(names(rstComps), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    rstComps.requery();
    EXPECT_EQ(names(rstComps), (std::vector<std::string>{"Aardvark gas", "Alpha", "Gamma"}));
    rstComps.moveFirst();
    rstComps.moveNext();
    EXPECT_EQ(rstComps.number("CritTemp"), 150.0);
}

TEST(Recordset, AddedRecordIsLastUntilRequeried)
{
    TempDir dir;
    Database db = Database::open(makeDatabase(dir, kThree));
    Recordset rs = db.openRecordset(kEditorSql);
    rs.moveFirst();
    rs.addNew();
    rs.setField("Component", std::string("Aaa"));
    rs.setField("CritTemp", 42.0);
    rs.update();
    EXPECT_EQ(rs.absolutePosition(), 0) << "the current row does not change";
    EXPECT_EQ(rs.recordCount(), 4);
    rs.moveLast();
    EXPECT_EQ(rs.text("Component"), "Aaa");
    EXPECT_EQ(rs.number("CritTemp"), 42.0);
    EXPECT_TRUE(rs.number("MolWt") == std::nullopt) << "fields not written stay null";
    rs.requery();
    EXPECT_EQ(names(rs), (std::vector<std::string>{"Aaa", "Alpha", "Beta", "Gamma"}));
}

TEST(Recordset, DeleteKeepsThePositionAndBookmarksFollowRows)
{
    TempDir dir;
    Database db = Database::open(makeDatabase(dir, kThree));
    Recordset rs = db.openRecordset("qryCritCos");
    rs.moveLast();
    const Bookmark gamma = rs.bookmark();
    rs.moveFirst();
    rs.moveNext();
    const Bookmark beta = rs.bookmark();
    rs.deleteRecord();
    EXPECT_EQ(errorNumber([&] { rs.field("Component"); }), kErrNoCurrentRecord);
    rs.moveNext();
    EXPECT_EQ(rs.text("Component"), "Gamma") << "MoveNext after Delete reaches the next row";
    EXPECT_EQ(rs.absolutePosition(), 1);
    EXPECT_EQ(rs.recordCount(), 2);

    rs.moveFirst();
    rs.setBookmark(gamma);
    EXPECT_EQ(rs.text("Component"), "Gamma");
    EXPECT_EQ(errorNumber([&] { rs.setBookmark(beta); }), kErrBadBookmark);

    // Deleting the last row: MoveNext reaches EOF, MoveLast the new last row.
    rs.deleteRecord();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.moveLast();
    EXPECT_EQ(rs.text("Component"), "Alpha");

    // Deleting the only row: nothing to move to.
    rs.deleteRecord();
    rs.moveNext();
    EXPECT_TRUE(rs.bof() && rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveLast(); }), kErrNoCurrentRecord);
    rs.requery();
    EXPECT_EQ(rs.recordCount(), 0);
}

TEST(Recordset, NavigationPastTheEndsFails)
{
    TempDir dir;
    Database db = Database::open(makeDatabase(dir, kThree));
    Recordset rs = db.openRecordset("qryCritCos");
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_EQ(errorNumber([&] { rs.movePrevious(); }), kErrNoCurrentRecord);
    rs.moveFirst();
    rs.move(2);
    EXPECT_EQ(rs.text("Component"), "Gamma");
    rs.move(5);
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveNext(); }), kErrNoCurrentRecord);

    Recordset none = db.openRecordset("SELECT * FROM tblComps WHERE 0");
    EXPECT_TRUE(none.bof() && none.eof());
    EXPECT_EQ(errorNumber([&] { none.moveFirst(); }), kErrNoCurrentRecord);
}

TEST(Recordset, NamesAreFoundExactlyAndNeverRunAsSql)
{
    const std::string quoted = "O'Neil's fluid";
    const std::string injection = "x'; DROP TABLE tblComps; --";
    TempDir dir;
    Database db = Database::open(makeDatabase(dir, kThree));
    Recordset rs = db.openRecordset(kEditorSql);
    for (const std::string& name : {quoted, injection}) {
        rs.addNew();
        rs.setField("Component", name);
        rs.update();
    }
    Recordset comps = db.openRecordset("qryCritCos");
    struct Case {
        std::string name;
        bool found;
    };
    const Case cases[] = {{quoted, true},
                          {injection, true},
                          {"o'neil's fluid", false},
                          {"Alpha ", false},
                          {"' OR '1'='1", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        comps.findFirst("Component", c.name);
        EXPECT_EQ(!comps.noMatch(), c.found);
        if (c.found) {
            EXPECT_EQ(comps.text("Component"), c.name);
        }
    }
    comps.requery();
    EXPECT_EQ(comps.recordCount(), 5) << "the table is still there";
}

TEST(Recordset, WritesThroughAViewGoToTblComps)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, kThree);
    Database db = Database::open(path);
    Recordset comps = db.openRecordset("qryCritCos");
    comps.moveLast();
    comps.edit();
    comps.setField("CritPress", 12.5);
    comps.update();
    Database second = Database::open(path);
    Recordset check = second.openRecordset("SELECT CritPress FROM tblComps WHERE CompID = 3");
    EXPECT_EQ(check.number("CritPress"), 12.5);

    Recordset ant = db.openRecordset("qryAntCos");
    ant.edit();
    EXPECT_EQ(errorNumber([&] { ant.setField("AntA", 1.0); }), kErrNotUpdatable);
    ant.cancelUpdate();
}

TEST(Recordset, RefusedUpdateKeepsThePendingRecord)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, kThree);
    Database db = Database::open(path);
    Recordset rs = db.openRecordset(kEditorSql);
    rs.addNew();
    rs.setField("Component", std::string("Beta"));
    rs.setField("CritTemp", 7.0);
    EXPECT_EQ(errorNumber([&] { rs.update(); }), kErrRefused) << "names are unique";
    EXPECT_EQ(rs.editMode(), Recordset::EditMode::Adding);
    rs.setField("Component", std::string("Delta"));
    rs.update();
    rs.moveLast();
    EXPECT_EQ(rs.number("CritTemp"), 7.0);

    // An edit of a row another connection deleted meanwhile is refused, not lost silently.
    Database otherDb = Database::open(path);
    Recordset other = otherDb.openRecordset(kEditorSql);
    rs.moveFirst();
    rs.edit();
    rs.setField("CritTemp", 1.0);
    other.moveFirst();
    other.deleteRecord();
    EXPECT_EQ(errorNumber([&] { rs.update(); }), kErrRecordGone);
    EXPECT_EQ(rs.editMode(), Recordset::EditMode::Editing);
}

TEST(Recordset, ClosingDropsAPendingAddition)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, kThree);
    Database db = Database::open(path);
    Recordset rs = db.openRecordset(kEditorSql);
    rs.addNew();
    rs.setField("Component", std::string("Never stored"));
    rs.close();
    EXPECT_EQ(errorNumber([&] { rs.moveFirst(); }), kErrClosed);
    EXPECT_EQ(db.openRecordset(kEditorSql).recordCount(), 3);
    db.close();
    EXPECT_EQ(errorNumber([&] { db.openRecordset(kEditorSql); }), kErrClosed);
}

} // namespace
} // namespace store
