#include "../decimal_comma_locale.h"
#include "store/settings.h"
#include "store_test_support.h"
#include "ui/crit_const_editor.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace store {
namespace {

using ui::CritConstEditor;
using ui::CritConstView;
using ui::EditorBox;
using ui::EditorButton;
using ui::EditorKey;
using ui::KeyModifiers;

using test::TempDir;

struct FakeView : CritConstView {
    std::map<EditorBox, std::string> boxes;
    std::map<EditorBox, bool> readOnlyBoxes;
    std::string status;
    std::map<EditorButton, bool> visible, enabled;
    int beeps = 0;
    int focus = 0;
    int closes = 0;
    std::vector<std::string> messages;
    CritConstEditor* editor = nullptr;

    std::string boxText(EditorBox box) const override
    {
        const auto it = boxes.find(box);
        return it == boxes.end() ? "" : it->second;
    }
    void setBoxText(EditorBox box, const std::string& text) override { boxes[box] = text; }
    void setBoxReadOnly(EditorBox box, bool readOnly) override { readOnlyBoxes[box] = readOnly; }
    void setStatus(const std::string& text) override { status = text; }
    void setButtonVisible(EditorButton b, bool v) override { visible[b] = v; }
    void setButtonEnabled(EditorButton b, bool e) override { enabled[b] = e; }
    void focusCompound() override { ++focus; }
    void beep() override { ++beeps; }
    void showMessage(const std::string& prompt, const std::string& title) override
    {
        EXPECT_EQ(title, "Tavrel1");
        messages.push_back(prompt);
    }
    void closeWindow() override
    {
        ++closes;
        editor->Form_Unload();
    }
};

// Alpha, Beta, Gamma in name order.
const char* kThree = "INSERT INTO tblComps (Component, MolWt, CritTemp, CritPress, AcentricF) "
                     "VALUES ('Beta', 20, 200, 20.5, 0.212), ('Alpha', 10, 562.1, 48.9, NULL),"
                     "('Gamma', 30, 300, 30, 1e-05);";

struct EditorTest : ::testing::Test {
    TempDir dir;
    std::string path = test::makeDatabase(dir, kThree);
    Settings settings{dir.file("settings.ini")};
    FakeView view;
    CritConstEditor editor{view};

    void SetUp() override
    {
        view.editor = &editor;
        settings.setDbPath(path);
        editor.Form_Load(settings, dir.file("unused.mdb"));
    }
    std::string box(EditorBox b) { return view.boxText(b); }
    int storedCount()
    {
        Database db = Database::open(path);
        return db.openRecordset("tblComps").recordCount();
    }
    void typeRecord(const std::string& name, const std::string& temp)
    {
        view.boxes[EditorBox::txtCompound] = name;
        view.boxes[EditorBox::txtTcrit] = temp;
    }
};

TEST_F(EditorTest, LoadShowsTheFirstRecordInShortForm)
{
    EXPECT_EQ(box(EditorBox::txtCompound), "Alpha");
    EXPECT_EQ(box(EditorBox::txtTcrit), "562.1");
    EXPECT_EQ(box(EditorBox::txtPcrit), "48.9");
    EXPECT_EQ(box(EditorBox::txtAcent), "") << "null";
    EXPECT_EQ(view.status, "Compound record # 1") << "the record shown is numbered from the start";
    EXPECT_FALSE(view.visible[EditorButton::cmdUpdate] || view.visible[EditorButton::cmdCancel]);
    EXPECT_TRUE(view.visible[EditorButton::cmdAdd] && view.enabled[EditorButton::cmdNext]);
    editor.cmdNext_Click();
    EXPECT_EQ(box(EditorBox::txtAcent), "0.212");
    editor.cmdLast_Click();
    EXPECT_EQ(box(EditorBox::txtAcent), "1e-05");
}

TEST_F(EditorTest, NavigationBeepsAtBothEnds)
{
    struct Step {
        const char* name;
        std::function<void()> act;
        std::string compound;
        std::string status;
        int beeps;
    };
    const Step steps[] = {
        {"Previous on the first", [&] { editor.cmdPrevious_Click(); }, "Alpha",
         "Compound record # 1", 1},
        {"Next", [&] { editor.cmdNext_Click(); }, "Beta", "Compound record # 2", 1},
        {"Last", [&] { editor.cmdLast_Click(); }, "Gamma", "Compound record # 3", 1},
        {"Next on the last", [&] { editor.cmdNext_Click(); }, "Gamma", "Compound record # 3", 2},
        {"First", [&] { editor.cmdFirst_Click(); }, "Alpha", "Compound record # 1", 2},
        {"Down", [&] { editor.Form_KeyDown(EditorKey::Down, {}); }, "Beta", "Compound record # 2",
         2},
        {"Ctrl+Down",
         [&] {
             editor.Form_KeyDown(EditorKey::Down, {false, true, false});
         },
         "Gamma", "Compound record # 3", 2},
        {"Ctrl+Up",
         [&] {
             editor.Form_KeyDown(EditorKey::PageUp, {false, true, false});
         },
         "Alpha", "Compound record # 1", 2},
        {"Ctrl+Shift+Down is Next",
         [&] {
             editor.Form_KeyDown(EditorKey::Down, {true, true, false});
         },
         "Beta", "Compound record # 2", 2},
        {"Ctrl+Alt+Up is Previous",
         [&] {
             editor.Form_KeyDown(EditorKey::Up, {false, true, true});
         },
         "Alpha", "Compound record # 1", 2},
        {"End", [&] { editor.Form_KeyDown(EditorKey::End, {}); }, "Gamma", "Compound record # 3",
         2},
        {"Home", [&] { editor.Form_KeyDown(EditorKey::Home, {}); }, "Alpha", "Compound record # 1",
         2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(box(EditorBox::txtCompound), s.compound);
        EXPECT_EQ(view.status, s.status);
        EXPECT_EQ(view.beeps, s.beeps);
    }
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(EditorTest, KeysAreIgnoredWhileAddingOrEditing)
{
    for (bool adding : {true, false}) {
        SCOPED_TRACE(adding ? "adding" : "editing");
        editor.cmdFirst_Click();
        adding ? editor.cmdAdd_Click() : editor.cmdEdit_Click();
        EXPECT_FALSE(view.enabled[EditorButton::cmdNext]);
        EXPECT_TRUE(view.visible[EditorButton::cmdUpdate]);
        const std::string status = view.status;
        for (EditorKey k : {EditorKey::Escape, EditorKey::Home, EditorKey::End, EditorKey::Up,
                            EditorKey::Down, EditorKey::PageDown})
            editor.Form_KeyDown(k, {});
        EXPECT_EQ(view.status, status);
        EXPECT_EQ(view.closes, 0);
        editor.cmdCancel_Click();
    }
}

TEST_F(EditorTest, AddWithANonNumericFieldStoresNull)
{
    editor.cmdNext_Click();
    editor.cmdAdd_Click();
    EXPECT_EQ(view.status, "Add record");
    EXPECT_EQ(view.focus, 1);
    EXPECT_EQ(box(EditorBox::txtCompound), "");
    typeRecord("Delta", "hot");
    view.boxes[EditorBox::txtPcrit] = "12.5";
    editor.cmdUpdate_Click();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.status, "'hot' is not a number: stored empty");
    EXPECT_EQ(box(EditorBox::txtTcrit), "") << "the box shows the null that was stored";
    EXPECT_EQ(box(EditorBox::txtPcrit), "12.5");
    EXPECT_FALSE(editor.AddingRecord());

    Database db = Database::open(path);
    Recordset rs = db.openRecordset("SELECT * FROM tblComps WHERE Component = 'Delta'");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.number("CritTemp"), std::nullopt);
    EXPECT_EQ(rs.number("CritPress"), 12.5);
}

TEST_F(EditorTest, AddThenCancelReturnsToThePreviousRecord)
{
    editor.cmdNext_Click();
    editor.cmdAdd_Click();
    typeRecord("Never", "1");
    editor.cmdCancel_Click();
    EXPECT_EQ(box(EditorBox::txtCompound), "Beta");
    EXPECT_EQ(view.status, "Compound record # 2");
    EXPECT_EQ(storedCount(), 3);
}

TEST_F(EditorTest, EditChangesOnlyTheTypedFields)
{
    editor.cmdNext_Click(); // Beta
    editor.cmdEdit_Click();
    EXPECT_EQ(view.status, "Edit record");
    view.boxes[EditorBox::txtPcrit] = "21.25";
    view.boxes[EditorBox::txtTcrit] = ""; // cleared: keeps 200
    editor.cmdUpdate_Click();
    EXPECT_EQ(view.status, "Compound record # 2");
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("SELECT * FROM tblComps WHERE Component = 'Beta'");
    EXPECT_EQ(rs.number("CritPress"), 21.25);
    EXPECT_EQ(rs.number("CritTemp"), 200.0);
}

// On a German desktop, Edit then Update with no box touched once wrote 562.1 back as 562: the
// boxes show "." and the write path must read it so.
TEST_F(EditorTest, UpdateUnderADecimalCommaLocaleKeepsEveryDigit)
{
    ::test::DecimalCommaLocale german;
    if (!german.active())
        GTEST_SKIP() << ::test::DecimalCommaLocale::kSkipMessage;
    editor.cmdEdit_Click(); // Alpha
    view.boxes[EditorBox::txtK1] = "-0.00984";
    editor.cmdUpdate_Click();
    EXPECT_EQ(view.status, "Compound record # 1");
    EXPECT_EQ(box(EditorBox::txtTcrit), "562.1");
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("SELECT * FROM tblComps WHERE Component = 'Alpha'");
    EXPECT_EQ(rs.number("CritTemp"), 562.1);
    EXPECT_EQ(rs.number("CritPress"), 48.9);
    EXPECT_EQ(rs.number("K1"), -0.00984);
}

TEST_F(EditorTest, RefusedUpdateKeepsTheRecordPending)
{
    editor.cmdAdd_Click();
    typeRecord("Beta", "7"); // the name exists: refused
    editor.cmdUpdate_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "A compound named \"Beta\" is already in the database.\n"
                                "Enter another name and click Update again.");
    EXPECT_TRUE(editor.AddingRecord());
    EXPECT_TRUE(view.visible[EditorButton::cmdUpdate]);
    typeRecord("Epsilon", ""); // corrected, and the temperature cleared again
    editor.cmdUpdate_Click();
    EXPECT_FALSE(editor.AddingRecord());
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("SELECT * FROM tblComps WHERE Component = 'Epsilon'");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.number("CritTemp"), std::nullopt) << "not the 7 of the refused attempt";
}

TEST_F(EditorTest, BlankNameIsRefusedAndTheRecordStaysPending)
{
    for (const char* blank : {"", "   ", "\t"}) {
        SCOPED_TRACE(testing::Message() << "name \"" << blank << "\"");
        view.messages.clear();
        editor.cmdAdd_Click();
        typeRecord(blank, "300");
        editor.cmdUpdate_Click();
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0], "Enter the name of the compound: a record without a name "
                                    "cannot be stored.");
        EXPECT_TRUE(editor.AddingRecord());
        EXPECT_EQ(box(EditorBox::txtTcrit), "300") << "the pending record keeps its boxes";
        EXPECT_EQ(storedCount(), 3);
        editor.cmdCancel_Click();
    }
    editor.cmdEdit_Click(); // clearing the name of a stored record is refused the same way
    view.boxes[EditorBox::txtCompound] = " ";
    editor.cmdUpdate_Click();
    EXPECT_TRUE(editor.EditingRecord());
    editor.cmdCancel_Click();
    Database db = Database::open(path);
    EXPECT_EQ(db.openRecordset("SELECT * FROM tblComps WHERE trim(Component) = ''").recordCount(),
              0);
}

TEST_F(EditorTest, DeleteTheLastThenTheOnlyRecord)
{
    editor.cmdLast_Click();
    editor.cmdDelete_Click();
    EXPECT_EQ(box(EditorBox::txtCompound), "Beta");
    EXPECT_EQ(view.status, "Compound record # 2");
    editor.cmdFirst_Click();
    editor.cmdDelete_Click();
    EXPECT_EQ(box(EditorBox::txtCompound), "Beta");
    EXPECT_TRUE(view.messages.empty());

    editor.cmdDelete_Click(); // the only record
    EXPECT_EQ(view.messages.size(), 1u) << "the failure to move to a record";
    EXPECT_EQ(box(EditorBox::txtCompound), "Beta") << "boxes as they were";
    EXPECT_EQ(storedCount(), 0);

    // The empty table still takes a new record.
    editor.cmdAdd_Click();
    typeRecord("Zeta", "5");
    editor.cmdUpdate_Click();
    EXPECT_EQ(view.status, "Compound record # 1");
    EXPECT_EQ(storedCount(), 1);
}

// A name equal to a stored one apart from blanks and letter case would be listed as a second
// component beside it: refused with the program's own message, nothing stored, the record kept
// pending; the record's own name in another case is no clash.
TEST_F(EditorTest, NearDuplicateNamesAreRefused)
{
    struct Case {
        const char* name;
        bool editing; // editing Alpha rather than adding
        const char* typed;
        const char* clash; // the stored name the message quotes; null when stored
        const char* stored;
    };
    const Case cases[] = {
        {"other case", false, "BETA", "Beta", nullptr},
        {"blanks around", false, "  beta \t", "Beta", nullptr},
        {"new name, trimmed", false, "  Delta ", nullptr, "Delta"},
        {"edit to another's name", true, "gamma", "Gamma", nullptr},
        {"edit to its own name in capitals", true, "ALPHA ", nullptr, "ALPHA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.messages.clear();
        editor.cmdFirst_Click();
        c.editing ? editor.cmdEdit_Click() : editor.cmdAdd_Click();
        typeRecord(c.typed, "300");
        editor.cmdUpdate_Click();
        if (c.clash) {
            ASSERT_EQ(view.messages.size(), 1u);
            EXPECT_EQ(view.messages[0], std::string("A compound named \"") + c.clash +
                                            "\" is already in the database.\nEnter another "
                                            "name and click Update again.");
            EXPECT_TRUE(editor.AddingRecord() || editor.EditingRecord());
            EXPECT_EQ(box(EditorBox::txtCompound), c.typed) << "the pending record keeps its boxes";
            editor.cmdCancel_Click();
        } else {
            EXPECT_TRUE(view.messages.empty());
            EXPECT_EQ(box(EditorBox::txtCompound), c.stored);
        }
    }
    Database db = Database::open(path);
    std::vector<std::string> names;
    for (Recordset rs = db.openRecordset("SELECT Component FROM tblComps ORDER BY CompID");
         !rs.eof(); rs.moveNext())
        names.push_back(*rs.text("Component"));
    EXPECT_EQ(names, (std::vector<std::string>{"Beta", "ALPHA", "Gamma", "Delta"}));
}

TEST_F(EditorTest, EditKeepsAConstantThatIsNotANumberAndSaysSo)
{
    editor.cmdEdit_Click(); // Alpha, 562.1 K
    view.boxes[EditorBox::txtTcrit] = "abc";
    view.boxes[EditorBox::txtPcrit] = "4x";
    editor.cmdUpdate_Click();
    EXPECT_EQ(view.status, "'abc' and 1 more are not numbers: left as stored");
    EXPECT_EQ(box(EditorBox::txtTcrit), "562.1");
}

// One order for the editor and the main list: by name ignoring case, so the names starting with
// a small letter sit among the others instead of after "Z".
TEST(CritConstEditor, NamesInTheMainListsOrder)
{
    TempDir dir;
    const std::string path = test::makeDatabase(
        dir, "INSERT INTO tblComps (Component) VALUES ('Zinc'), ('m-Xylene'), ('Argon');");
    Settings settings(dir.file("settings.ini"));
    settings.setDbPath(path);
    FakeView view;
    CritConstEditor editor(view);
    view.editor = &editor;
    editor.Form_Load(settings, path);
    std::vector<std::string> shown{view.boxText(EditorBox::txtCompound)};
    for (int i = 0; i < 2; ++i) {
        editor.cmdNext_Click();
        shown.push_back(view.boxText(EditorBox::txtCompound));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Argon", "m-Xylene", "Zinc"}));
    Database db = Database::open(path);
    std::vector<std::string> listed;
    for (Recordset rs = db.openRecordset("qryCritCos"); !rs.eof(); rs.moveNext())
        listed.push_back(*rs.text("Component"));
    EXPECT_EQ(listed, shown);
}

TEST_F(EditorTest, ClosingWhileAddingStoresNothing)
{
    editor.cmdAdd_Click();
    typeRecord("Never", "1");
    editor.Form_Unload(); // the window's close box
    EXPECT_EQ(storedCount(), 3);
    EXPECT_FALSE(editor.isOpen());
    editor.cmdUpdate_Click(); // a late click after unload does nothing
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(EditorTest, EscapeCloses)
{
    editor.Form_KeyDown(EditorKey::Escape, {});
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(editor.isOpen());
}

TEST(CritConstEditor, MissingDatabaseLeavesAnEditorThatOnlyCloses)
{
    TempDir dir;
    Settings settings(dir.file("settings.ini"));
    FakeView view;
    CritConstEditor editor(view);
    view.editor = &editor;
    editor.Form_Load(settings, dir.file("missing.mdb"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Error 3024: "), std::string::npos);
    EXPECT_FALSE(view.visible[EditorButton::cmdAdd]);
    EXPECT_FALSE(view.enabled[EditorButton::cmdNext]);
    for (auto click : {&CritConstEditor::cmdAdd_Click, &CritConstEditor::cmdNext_Click,
                       &CritConstEditor::cmdDelete_Click, &CritConstEditor::cmdUpdate_Click})
        (editor.*click)();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mdb")));
}

TEST(CritConstEditor, EmptyTableSaysSo)
{
    TempDir dir;
    Settings settings(dir.file("settings.ini"));
    FakeView view;
    CritConstEditor editor(view);
    view.editor = &editor;
    editor.Form_Load(settings, test::makeDatabase(dir, ""));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.status, "No compound records: press Add");
    editor.cmdAdd_Click();
    view.boxes[EditorBox::txtCompound] = "First";
    editor.cmdCancel_Click();
    EXPECT_EQ(view.boxes[EditorBox::txtCompound], "");
}

} // namespace
} // namespace store
