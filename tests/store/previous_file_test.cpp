#include "core/main_view_model.h"
#include "state/result_sheet.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/settings.h"
#include "store_test_support.h"
#include "ui/component_choice.h"
#include "ui/crit_const_editor.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

// A file made by the previous seed (no Source field, 199 components) keeps working as before.
namespace store {
namespace {

using ui::CritConstEditor;
using ui::CritConstView;
using ui::EditorBox;
using ui::EditorButton;
using ui::EditorKey;
using ui::KeyModifiers;

std::vector<std::string> solvedCells(const std::string& path, const std::string& name)
{
    ComponentDatabase db = ComponentDatabase::open(path);
    core::MainViewModel vm;
    EXPECT_TRUE(test::chooseByName(db, name, vm)) << name;
    vm.setTxtTemp("25");
    vm.txtTemp_LostFocus();
    vm.setTxtPress("1");
    vm.txtPress_LostFocus();
    vm.cmdSolve_Click();
    std::vector<std::string> cells;
    for (state::CellId id : state::allCells())
        cells.push_back(vm.sheet().cell(id).text);
    return cells;
}

TEST(PreviousFile, OpensListsWithoutSourcesAndSolvesAsTheShippedOne)
{
    test::TempDir dir;
    const std::string previous = test::makePrevious(dir);
    ComponentDatabase db = ComponentDatabase::open(previous);
    EXPECT_EQ(db.rstComps()->recordCount(), 199);
    EXPECT_EQ(db.rstAntCos()->recordCount(), 195);
    VectorComponentList list;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    EXPECT_EQ(list.items.size(), 199u);
    EXPECT_EQ(list.items.front(), "1,1-Dichloroethane");
    EXPECT_TRUE(list.sources.empty()) << "no source is shown for any entry";
    EXPECT_TRUE(vm.lblStCond().empty());

    // The 199 rows are the same in both files, so every cell of a solve is too.
    const std::string shipped = test::makeShipped(dir);
    for (const char* name : {"Water", "Benzene", "Carbon dioxide"}) {
        SCOPED_TRACE(name);
        const std::vector<std::string> cells = solvedCells(previous, name);
        EXPECT_EQ(cells, solvedCells(shipped, name));
        EXPECT_GT(std::count_if(cells.begin(), cells.end(), [](auto& t) { return !t.empty(); }),
                  10);
    }
}

struct NullView : CritConstView {
    std::map<EditorBox, std::string> boxes;
    std::map<EditorBox, bool> readOnly;
    std::vector<std::string> messages;
    std::string boxText(EditorBox box) const override
    {
        const auto it = boxes.find(box);
        return it == boxes.end() ? "" : it->second;
    }
    void setBoxText(EditorBox box, const std::string& text) override { boxes[box] = text; }
    void setBoxReadOnly(EditorBox box, bool r) override { readOnly[box] = r; }
    void setStatus(const std::string&) override {}
    void setButtonVisible(EditorButton, bool) override {}
    void setButtonEnabled(EditorButton, bool) override {}
    void focusCompound() override {}
    void beep() override {}
    void showMessage(const std::string& prompt, const std::string&) override
    {
        messages.push_back(prompt);
    }
    void closeWindow() override {}
};

TEST(PreviousFile, EditorEditsAndAddsWithoutASourceBox)
{
    test::TempDir dir;
    const std::string path = test::makePrevious(dir);
    Settings settings(dir.file("settings.ini"));
    settings.setDbPath(path);
    NullView view;
    CritConstEditor editor(view);
    editor.Form_Load(settings, dir.file("unused.mdb"));
    ASSERT_TRUE(editor.isOpen());
    EXPECT_TRUE(view.readOnly[EditorBox::txtSource]);
    EXPECT_EQ(view.boxes[EditorBox::txtCompound], "1,1-Dichloroethane");
    EXPECT_EQ(view.boxes[EditorBox::txtSource], "");

    editor.cmdEdit_Click();
    view.boxes[EditorBox::txtTcrit] = "524";
    view.boxes[EditorBox::txtSource] = "typed anyway"; // read-only in the window; not stored
    editor.cmdUpdate_Click();
    editor.cmdAdd_Click();
    view.boxes[EditorBox::txtCompound] = "Testium";
    view.boxes[EditorBox::txtTcrit] = "400";
    editor.cmdUpdate_Click();
    EXPECT_TRUE(view.messages.empty()) << view.messages.front();
    editor.Form_Unload();

    Database db = Database::open(path);
    EXPECT_FALSE(db.hasCompsField("Source")) << "the file's schema stays as it was";
    Recordset rs = db.openRecordset("SELECT Component, CritTemp FROM tblComps ORDER BY CompID");
    rs.moveFirst();
    EXPECT_EQ(rs.number("CritTemp"), 524.0);
    rs.moveLast();
    EXPECT_EQ(rs.text("Component"), "Testium");
    EXPECT_EQ(rs.recordCount(), 200);
}

} // namespace
} // namespace store
