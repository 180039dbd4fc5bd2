#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_schema.h"
#include "store/component_selection.h"
#include "store_test_support.h"
#include "ui/component_choice.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace store {
namespace {

using test::TempDir;

const std::string kEditorSql = schema::editorQuery(true);

const std::string kWaterFound = "Antoine co-efficients for Water found\r\n"
                                "in COMPONENT Database.\r\n"
                                "Can check for two-phase conditions.";

struct SelectionTest : ::testing::Test {
    TempDir dir;
    std::string path = test::makeShipped(dir);
    ComponentDatabase db = ComponentDatabase::open(path);
    VectorComponentList list;
    core::MainViewModel vm;

    void choose(const std::string& name)
    {
        ui::showComponentList(db, list, vm);
        const auto it = std::find(list.items.begin(), list.items.end(), name);
        ASSERT_NE(it, list.items.end()) << name;
        list.current = static_cast<int>(it - list.items.begin());
        ui::takeSelectedComponent(db, list, vm);
    }
};

TEST_F(SelectionTest, StartUpListsEveryComponentInStoreOrder)
{
    ui::showComponentList(db, list, vm);
    ASSERT_EQ(list.items.size(), std::size_t{test::kShippedComponents});
    EXPECT_EQ(list.items.front(), "1,1,1,2,2,3,3,4-Octafluorobutane");
    EXPECT_EQ(list.items.back(), "Zirconium tetrachloride");
    EXPECT_EQ(list.current, -1);
    EXPECT_TRUE(vm.lblStCond().empty());
}

TEST_F(SelectionTest, ChoosingLoadsConstantsAndAntoine)
{
    vm.clearOptEqState();
    vm.selectOptEqState(1);
    choose("Water");
    const state::CalcState& s = vm.state();
    EXPECT_EQ(vm.lblStCond(), kWaterFound);
    EXPECT_TRUE(s.flags.AntoineAvailable);
    EXPECT_TRUE(vm.optEqStateEnabled(0) && vm.optEqStateEnabled(1));
    EXPECT_FALSE(vm.optEqStateSelected(0) || vm.optEqStateSelected(1));
    // The values of components.csv, each rounded once to float.
    EXPECT_EQ(s.constants.MolWt, 18.015f);
    EXPECT_EQ(s.constants.CritTemp, 647.096f);
    EXPECT_EQ(s.constants.CritPress, 220.64f);
    EXPECT_EQ(s.constants.CritVol, 55.95f);
    EXPECT_EQ(s.constants.AcentricF, 0.3443f);
    EXPECT_EQ(s.constants.K1, -0.06635f);
    EXPECT_EQ(s.constants.K2, 0.0199f);
    EXPECT_EQ(s.constants.K3, 0.443f);
    EXPECT_EQ(s.antoine.AntA, 16.38437f);
    EXPECT_EQ(s.antoine.AntB, 3885.698f);
    EXPECT_EQ(s.antoine.AntC, 230.17f);
}

TEST_F(SelectionTest, WithoutAntoineKeepsThePreviousCoefficients)
{
    const std::string r227 = "R-227ea (1,1,1,2,3,3,3-heptafluoropropane)";
    choose("Water");
    choose(r227);
    const state::CalcState& s = vm.state();
    EXPECT_EQ(vm.lblStCond(), "Antoine co-efficients for " + r227 +
                                  " NOT Found\r\n"
                                  "in COMPONENT Database.\r\n"
                                  "Can NOT check for two-phase solution.");
    EXPECT_FALSE(s.flags.AntoineAvailable);
    EXPECT_FALSE(vm.optEqStateEnabled(0) || vm.optEqStateEnabled(1));
    EXPECT_EQ(s.antoine.AntA, 16.38437f) << "still water's";
    EXPECT_EQ(s.constants.CritTemp, 374.9f);
    EXPECT_EQ(s.constants.K1, 0.0f) << "empty in the store";
}

TEST_F(SelectionTest, NoSelectionChangesNothing)
{
    choose("Water");
    const std::string message = vm.lblStCond();
    ui::showComponentList(db, list, vm);
    list.current = -1;
    vm.state().constants.CritTemp = 1.0f;
    EXPECT_FALSE(ui::takeSelectedComponent(db, list, vm));
    EXPECT_EQ(vm.state().constants.CritTemp, 1.0f);
    EXPECT_EQ(vm.lblStCond(), message);
}

TEST_F(SelectionTest, RebuildKeepsTheChoiceByNameAfterEditorChanges)
{
    choose("Water");
    const int waterIndex = list.current;
    Database editor = Database::open(path);
    Recordset rs = editor.openRecordset(kEditorSql);
    rs.deleteRecord(); // the first component, before Water
    ui::showComponentList(db, list, vm);
    EXPECT_EQ(list.items.size(), std::size_t{test::kShippedComponents - 1});
    EXPECT_EQ(list.currentText(), "Water");
    EXPECT_EQ(list.current, waterIndex - 1);

    // Water itself deleted: the entry now at its position is selected.
    rs.findFirst("Component", std::string("Water"));
    rs.deleteRecord();
    ui::showComponentList(db, list, vm);
    EXPECT_EQ(list.items.size(), std::size_t{test::kShippedComponents - 2});
    EXPECT_EQ(list.current, waterIndex - 1);
    EXPECT_EQ(list.currentText(), list.items[static_cast<std::size_t>(waterIndex - 1)]);
}

// Small stores with the shipped schema, built for one case each.
struct SmallStoreCase {
    const char* name;
    const char* inserts;
    std::vector<std::string> listed;
    std::string message; // lblStCond after the rebuild
};

TEST(ComponentSelection, ListMatchesTheStore)
{
    const SmallStoreCase cases[] = {
        {"empty store",
         "",
         {},
         "COMPONENT Database holds no component.\r\nAdd one with \"EOS "
         "Constants\";\r\nthen choose it here."},
        {"empty name ends the list",
         "INSERT INTO tblComps (Component) VALUES ('B'), (''), ('A');",
         {"A", "B"},
         ""},
        {"quotes and SQL in names",
         "INSERT INTO tblComps (Component) VALUES ('O''Neil''s fluid'), "
         "('x''; DROP TABLE tblComps; --');",
         {"O'Neil's fluid", "x'; DROP TABLE tblComps; --"},
         ""},
    };
    for (const SmallStoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ComponentDatabase db = ComponentDatabase::open(test::makeDatabase(dir, c.inserts));
        VectorComponentList list;
        core::MainViewModel vm;
        ui::showComponentList(db, list, vm);
        EXPECT_EQ(list.items, c.listed);
        EXPECT_EQ(vm.lblStCond(), c.message);
    }
}

TEST(ComponentSelection, MissingConstantsTakeTheFixedValues)
{
    TempDir dir;
    ComponentDatabase db = ComponentDatabase::open(test::makeDatabase(
        dir,
        "INSERT INTO tblComps (CompID, Component, CritTemp) VALUES (1, 'O''Neil''s fluid', 300);"
        "INSERT INTO tblAntoine (CompID, AntA, AntB, AntC) VALUES (1, 10, 2000, 200);"));
    core::MainViewModel vm;
    ASSERT_TRUE(test::chooseByName(db, "O'Neil's fluid", vm));
    const state::ComponentConstants& c = vm.state().constants;
    EXPECT_EQ(c.MolWt, 78.11f);
    EXPECT_EQ(c.CritTemp, 300.0f);
    EXPECT_EQ(c.CritPress, 48.9f);
    EXPECT_EQ(c.CritVol, 259.0f);
    EXPECT_EQ(c.AcentricF, 0.0f);
    EXPECT_TRUE(vm.state().flags.AntoineAvailable) << "found although the name has quotes";
    EXPECT_EQ(vm.state().antoine.AntB, 2000.0f);
    EXPECT_FALSE(test::chooseByName(db, "o'neil's fluid", vm));
}

TEST(ComponentSelection, MoreThan32768ComponentsListsTheFirstAndSaysSo)
{
    TempDir dir;
    const std::string inserts =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32770) "
        "INSERT INTO tblComps (Component) SELECT printf('C%05d', i) FROM n;";
    ComponentDatabase db = ComponentDatabase::open(test::makeDatabase(dir, inserts));
    VectorComponentList list;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    ASSERT_EQ(list.items.size(), 32768u);
    EXPECT_EQ(list.items.back(), "C32768");
    EXPECT_EQ(vm.lblStCond(), "COMPONENT Database holds 32770 components;\r\n"
                              "only the first 32768 are listed.\r\n");
    list.current = 32767;
    EXPECT_TRUE(ui::takeSelectedComponent(db, list, vm));

    // The command line lists the same names and says the same; a name beyond the cap is the
    // list control's limit, not the store's, so it can still be chosen by name.
    const ListedComponents listed = listComponentNames(db);
    EXPECT_EQ(listed.names, list.items);
    EXPECT_TRUE(listed.capped);
    EXPECT_EQ(listed.held, 32770);
    ASSERT_TRUE(test::chooseByName(db, "C32770", vm));
    EXPECT_EQ(vm.lblStCond(), "Antoine co-efficients for C32770 NOT Found\r\n"
                              "in COMPONENT Database.\r\n"
                              "Can NOT check for two-phase solution.");
}

TEST(ComponentSelection, StoreFailureDuringTheRebuildIsReportedNotAnEmptyList)
{
    TempDir dir;
    const std::string path = test::makeShipped(dir);
    ComponentDatabase db = ComponentDatabase::open(path, OpenOptions{100});
    core::MainViewModel vm;
    // Another program changes the file and keeps it locked past the busy timeout, so the
    // re-query inside the rebuild fails.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "UPDATE tblComps SET CritTemp = 1 WHERE CompID = 1; BEGIN EXCLUSIVE",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const auto number = [](const auto& call) {
        try {
            call();
        } catch (const StoreException& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { listComponentNames(db); }), kErrBusy);
    EXPECT_EQ(number([&] { test::chooseByName(db, "Water", vm); }), kErrBusy);
    VectorComponentList list;
    const ListRebuild rebuilt = ui::showComponentList(db, list, vm);
    ASSERT_TRUE(rebuilt.error);
    EXPECT_EQ(rebuilt.error->number, kErrBusy);
    EXPECT_NE(vm.lblStCond().find("Error 3502: database is locked"), std::string::npos)
        << "the window says it in lblStCond";
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(listComponentNames(db).names.size(),
              static_cast<std::size_t>(test::kShippedComponents));
}

TEST(ComponentSelection, UnopenedStoreDoesNothingHarmful)
{
    ComponentDatabase db; // LoadDatabase failed: every handle unset
    VectorComponentList list;
    list.items = {"stale"};
    list.current = 0;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.current, -1);
    list.items = {"typed"};
    list.current = 0;
    EXPECT_FALSE(ui::takeSelectedComponent(db, list, vm));
    EXPECT_EQ(vm.state().constants.CritTemp, 0.0f);
    EXPECT_FALSE(vm.state().flags.AntoineAvailable);
    EXPECT_FALSE(vm.lblStCond().empty());
}

} // namespace
} // namespace store
