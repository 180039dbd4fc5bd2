#include "message_box_closer.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "store/settings.h"
#include "ui/frmCritConst1.h"
#include "ui/frmEOS1Main.h"
#include "ui/twips.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>

using ui::frmCritConst1;

namespace {

QString recordNumber(int n) { return QString("Compound record # %1").arg(n); }

const char* const kBoxes[] = {"txtCompound", "txtMW", "txtTcrit", "txtPcrit", "txtVcrit",
                              "txtAcent",    "txtK1", "txtK2",    "TxtK3",    "txtSource"};

} // namespace

class TestCritConstWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layoutAndCaptions();
    void nothingClippedOrOverlapping();
    void navigationClearOfTheBottomEdge();
    void loadShowsFirstRecord();
    void keysNavigate_data();
    void keysNavigate();
    void keysStillReachTheBox();
    void keysIgnoredWhileAdding();
    void escapeClosesInBrowseMode();
    void altLetterPressesButton();
    void closingWhileAddingStoresNothing();
    void addedComponentSolvesInMainWindow();
    void sourceShownEditedAndSaved();
    void fileWithoutSourceFieldStillEdits();

private:
    void openEditor()
    {
        // The stored path wins over the default one, which here names no file.
        m_win =
            ui::showSingle<frmCritConst1>(*m_settings, m_dir->filePath("absent.mdb").toStdString());
        QApplication::setActiveWindow(m_win);
        QVERIFY(QTest::qWaitForWindowActive(m_win));
    }
    template <class T> T* child(const char* name) { return m_win->findChild<T*>(name); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QString status() { return child<QLabel>("lblStatus")->text(); }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    int storedCount()
    {
        store::Database db = store::Database::open(m_db);
        return db.openRecordset("tblComps").recordCount();
    }
    void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<store::Settings> m_settings;
    std::string m_db;
    QPointer<frmCritConst1> m_win;
};

void TestCritConstWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = m_dir->filePath("Components.mdb").toStdString();
    store::createShippedDatabase(m_db);
    m_settings = std::make_unique<store::Settings>(m_dir->filePath("settings.ini").toStdString());
    m_settings->setDbPath(m_db);
    if (QTest::currentTestFunction() != QByteArray("addedComponentSolvesInMainWindow"))
        openEditor();
}

void TestCritConstWindow::cleanup()
{
    MessageBoxCloser closer; // a failed test may leave a box that rejects its entry
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_win = nullptr;
    m_settings.reset();
    m_dir.reset();
}

void TestCritConstWindow::layoutAndCaptions()
{
    QCOMPARE(m_win->windowTitle(), QString("Critical Constants - Eq of State"));
    QCOMPARE(m_win->size(), ui::twipsSize(5772, 3912));
    QCOMPARE(m_win->minimumSize(), m_win->maximumSize());
    QCOMPARE(m_win->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(child<QLabel>("lblStatus")->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(child<QWidget>("picButtons") && child<QWidget>("picStatBox"));
    for (const char* name : kBoxes)
        QVERIFY2(edit(name), name);

    const std::pair<const char*, const char*> buttons[] = {
        {"cmdAdd", "&Add"},       {"cmdEdit", "&Edit"},     {"cmdUpdate", "&Update"},
        {"cmdDelete", "&Delete"}, {"cmdCancel", "&Cancel"}, {"cmdClose", "&Close"},
        {"cmdFirst", "|<<"},      {"cmdPrevious", "<"},     {"cmdNext", ">"},
        {"cmdLast", ">>|"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = child<QPushButton>(name);
        QVERIFY2(b, name);
        QCOMPARE(b->text(), QString(caption));
        const bool shownAtLoad = QByteArray(name) != "cmdUpdate" && QByteArray(name) != "cmdCancel";
        QCOMPARE(b->isVisible(), shownAtLoad);
        QVERIFY(b->isEnabled());
    }
    QStringList texts;
    for (QLabel* l : m_win->findChildren<QLabel*>())
        texts << l->text();
    for (const char* t :
         {"Compound:", "Molecular Weight (g / mol)", "Critical Constants", "Temperature (K)",
          "Pressure (bar)", "Volume (cm3/mol)", "Acentric Factor", "PRSV Constants", "(1)", "(2)",
          "(3)", "PRSV1 and 2", "PRSV2", "Source"})
        QVERIFY2(texts.contains(t), t);
    QCOMPARE(texts.count(QString(QChar(0x03BA))), 3);
    QCOMPARE(texts.count("PRSV2"), 2);
}

void TestCritConstWindow::nothingClippedOrOverlapping()
{
    for (QLabel* l : m_win->findChildren<QLabel*>()) {
        if (l->objectName() == "lblStatus")
            continue;
        const QSize need = l->sizeHint();
        QVERIFY2(need.width() <= l->width() && need.height() <= l->height(), qPrintable(l->text()));
    }
    for (QPushButton* b : m_win->findChildren<QPushButton*>()) {
        const int textWidth = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
        QVERIFY2(textWidth + 4 <= b->width(), qPrintable(b->objectName()));
    }
    const QRect client = m_win->rect();
    const QList<QWidget*> all = m_win->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : all) {
        QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
        // Design positions rounded to whole pixels may touch by one pixel, no more.
        const QRect inner = w->geometry().adjusted(1, 0, -1, 0);
        for (QWidget* other : all)
            QVERIFY2(other == w || !inner.intersects(other->geometry()),
                     qPrintable(w->objectName() + " / " + other->objectName()));
    }
}

// The navigation strip ends at the client area's bottom edge; its buttons stop short of it, so
// their frames show whole (at twice the scale too).
void TestCritConstWindow::navigationClearOfTheBottomEdge()
{
    for (const char* name : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"}) {
        auto* b = child<QPushButton>(name);
        const int bottom = b->mapTo(m_win, QPoint(0, b->height())).y();
        QVERIFY2(bottom <= m_win->height() - 2, name);
    }
}

void TestCritConstWindow::loadShowsFirstRecord()
{
    store::Database db = store::Database::open(m_db);
    store::Recordset rst = db.openRecordset("qryCritCos"); // the main list's order
    rst.moveFirst();
    QCOMPARE(edit("txtCompound")->text().toStdString(), *rst.text("Component"));
    QVERIFY(!edit("txtTcrit")->text().isEmpty());
    QCOMPARE(status(), recordNumber(1));
}

void TestCritConstWindow::keysNavigate_data()
{
    QTest::addColumn<bool>("fromLast");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected"); // record number; 0 means the last record
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Down: next") << false << int(Qt::Key_Down) << 0 << 2;
    QTest::newRow("Page Down: next") << false << int(Qt::Key_PageDown) << 0 << 2;
    QTest::newRow("Ctrl+Down: last") << false << int(Qt::Key_Down) << ctrl << 0;
    QTest::newRow("Ctrl+Page Down: last") << false << int(Qt::Key_PageDown) << ctrl << 0;
    QTest::newRow("Ctrl+Shift+Down: next, not last")
        << false << int(Qt::Key_Down) << ctrlShift << 2;
    QTest::newRow("Ctrl+Alt+Down: next")
        << false << int(Qt::Key_Down) << int(Qt::ControlModifier | Qt::AltModifier) << 2;
    QTest::newRow("Shift+Down: next") << false << int(Qt::Key_Down) << int(Qt::ShiftModifier) << 2;
    QTest::newRow("End: last") << false << int(Qt::Key_End) << 0 << 0;
    QTest::newRow("Up on the first: stays on the first") << false << int(Qt::Key_Up) << 0 << 1;
    QTest::newRow("Down on the last: stays on the last") << true << int(Qt::Key_Down) << 0 << 0;
    QTest::newRow("Up: previous") << true << int(Qt::Key_Up) << 0 << -1;
    QTest::newRow("Page Up: previous") << true << int(Qt::Key_PageUp) << 0 << -1;
    QTest::newRow("Ctrl+Up: first") << true << int(Qt::Key_Up) << ctrl << 1;
    QTest::newRow("Ctrl+Shift+Up: previous") << true << int(Qt::Key_Up) << ctrlShift << -1;
    QTest::newRow("Home: first") << true << int(Qt::Key_Home) << 0 << 1;
}

void TestCritConstWindow::keysNavigate()
{
    QFETCH(bool, fromLast);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    const int count = storedCount();
    click(fromLast ? "cmdLast" : "cmdFirst");
    QCOMPARE(status(), recordNumber(fromLast ? count : 1));

    // The keys work whichever control has the focus; a numeric box here.
    QLineEdit* box = edit("txtPcrit");
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const int number = expected == 0 ? count : expected < 0 ? count + expected : expected;
    QCOMPARE(status(), recordNumber(number));
    QVERIFY(m_win->isVisible());
}

void TestCritConstWindow::keysStillReachTheBox()
{
    QLineEdit* box = edit("txtCompound");
    box->setFocus(Qt::OtherFocusReason);
    click("cmdLast");
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key_Home);
    QCOMPARE(status(), recordNumber(1));
    // The window moved first and filled the box; then the box itself took Home.
    QCOMPARE(box->cursorPosition(), 0);
}

void TestCritConstWindow::keysIgnoredWhileAdding()
{
    click("cmdNext");
    click("cmdAdd");
    QCOMPARE(status(), QString("Add record"));
    QCOMPARE(m_win->focusWidget(), edit("txtCompound"));
    QVERIFY(!child<QPushButton>("cmdNext")->isEnabled());
    QVERIFY(child<QPushButton>("cmdUpdate")->isVisible());
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Escape, {}},
                                                              {Qt::Key_Home, {}},
                                                              {Qt::Key_End, {}},
                                                              {Qt::Key_Down, {}},
                                                              {Qt::Key_Up, {}},
                                                              {Qt::Key_PageDown, {}},
                                                              {Qt::Key_Down, Qt::ControlModifier},
                                                              {Qt::Key_PageUp, {}}};
    for (const auto& [key, mods] : keys) {
        QTest::keyClick(edit("txtCompound"), key, mods);
        QCOMPARE(status(), QString("Add record"));
        QVERIFY(m_win->isVisible());
        QVERIFY(m_win->editor().AddingRecord());
    }
    click("cmdCancel");
    QCOMPARE(status(), recordNumber(2));
}

void TestCritConstWindow::escapeClosesInBrowseMode()
{
    QTest::keyClick(edit("txtMW"), Qt::Key_Escape);
    QApplication::processEvents();
    QVERIFY(!m_win || !m_win->isVisible());
    QCOMPARE(ui::openSingle<frmCritConst1>(), nullptr);
}

void TestCritConstWindow::altLetterPressesButton()
{
    // A shortcut presses the button as a click would, which lands a moment later.
    QTest::keyClick(edit("txtMW"), Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(status(), QString("Edit record"));
    QVERIFY(m_win->editor().EditingRecord());
    // Cancel and Close share their letter; only the visible one answers.
    QTest::keyClick(edit("txtMW"), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!m_win->editor().EditingRecord());
    QTest::qWait(200);
    QVERIFY(m_win && m_win->isVisible());
    QCOMPARE(status(), recordNumber(1));
}

void TestCritConstWindow::closingWhileAddingStoresNothing()
{
    const int count = storedCount();
    click("cmdAdd");
    typeInto(edit("txtCompound"), "Ghostium");
    typeInto(edit("txtTcrit"), "400");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_win->close();
    QApplication::processEvents();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(storedCount(), count);
    store::Database db = store::Database::open(m_db);
    store::Recordset rst =
        db.openRecordset("SELECT Component FROM tblComps WHERE Component = 'Ghostium'");
    QCOMPARE(rst.recordCount(), 0);
}

void TestCritConstWindow::addedComponentSolvesInMainWindow()
{
    MessageBoxCloser closer;
    auto* main = new ui::frmEOS1Main;
    main->setAttribute(Qt::WA_DeleteOnClose);
    // The editor opened from the main window follows its settings and default path.
    store::Settings mainSettings(m_dir->filePath("main.ini").toStdString());
    main->Form_Load(mainSettings, m_db);
    main->show();
    QApplication::setActiveWindow(main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    auto* combo = main->findChild<QComboBox*>("cmbComp");
    const auto focusMain = [&](QWidget* w) {
        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    };
    const auto choose = [&](const QString& name) {
        focusMain(combo);
        const int i = combo->findText(name);
        QVERIFY2(i >= 0, qPrintable(name));
        combo->setCurrentIndex(i);
    };
    const auto mainBox = [&](const char* name) { return main->findChild<QLineEdit*>(name); };
    const auto typeMain = [&](const char* name, const char* text) {
        focusMain(mainBox(name));
        mainBox(name)->selectAll();
        QTest::keyClicks(mainBox(name), text);
    };
    // The entry boxes hold numbers, so the focus may leave them for the editor's button.
    choose("Benzene");
    typeMain("txtTemp", "25");
    typeMain("txtPress", "1");
    QCOMPARE(combo->currentText(), QString("Benzene"));

    QTest::mouseClick(main->findChild<QPushButton*>("cmdCompList"), Qt::LeftButton);
    m_win = ui::openSingle<frmCritConst1>();
    QVERIFY(m_win);
    QApplication::setActiveWindow(m_win);
    QVERIFY(QTest::qWaitForWindowActive(m_win));
    const int count = storedCount();
    click("cmdAdd");
    const std::pair<const char*, const char*> entries[] = {
        {"txtCompound", "Testium"}, {"txtMW", "72.15"},  {"txtTcrit", "469.7"},
        {"txtPcrit", "33.7"},       {"txtVcrit", "311"}, {"txtAcent", "0.252"},
        {"txtK1", "0.04"}};
    for (const auto& [box, text] : entries)
        typeInto(edit(box), text);
    click("cmdUpdate");
    QCOMPARE(status(), recordNumber(count + 1)); // the new record is the last
    QCOMPARE(storedCount(), count + 1);

    // The main window sees the new component when its list gets the focus.
    choose("Testium");
    typeMain("txtTemp", "25");
    typeMain("txtPress", "1");
    focusMain(main->findChild<QPushButton*>("cmdSolve"));
    QTest::mouseClick(main->findChild<QPushButton*>("cmdSolve"), Qt::LeftButton);
    QCOMPARE(main->viewModel().state().constants.CritTemp, 469.7f);
    QVERIFY(!mainBox("txtZPR")->text().isEmpty());
    QVERIFY(!mainBox("txtZSRK")->text().isEmpty());
    QVERIFY(closer.seen.isEmpty());

    choose("Benzene");
    focusMain(mainBox("txtTemp"));

    // Delete Testium in the editor.
    QApplication::setActiveWindow(m_win);
    QVERIFY(QTest::qWaitForWindowActive(m_win));
    click("cmdFirst");
    for (int i = 0; i <= count && edit("txtCompound")->text() != "Testium"; ++i)
        click("cmdNext");
    QCOMPARE(edit("txtCompound")->text(), QString("Testium"));
    click("cmdDelete");
    QCOMPARE(storedCount(), count);
    QVERIFY(closer.seen.isEmpty());

    focusMain(combo);
    QCOMPARE(combo->findText("Testium"), -1);
    QCOMPARE(combo->currentText(), QString("Benzene"));
}

void TestCritConstWindow::sourceShownEditedAndSaved()
{
    const auto storedSource = [&](const char* name) -> std::optional<std::string> {
        store::Database db = store::Database::open(m_db);
        store::Recordset rst = db.openRecordset(
            std::string("SELECT Source FROM tblComps WHERE Component = '") + name + "'");
        return rst.text("Source");
    };
    QLineEdit* source = edit("txtSource");
    QVERIFY(!source->isReadOnly());
    QCOMPARE(edit("txtCompound")->text(), QString("1,1,1,2,2,3,3,4-Octafluorobutane"));
    QCOMPARE(source->text(), QString("MW=formula; Tc/Pc/Vc=IUPAC; w=PSRK"));
    QCOMPARE(source->toolTip(), source->text());
    QCOMPARE(source->cursorPosition(), 0); // the box shows the start of a long source

    click("cmdEdit");
    typeInto(source, "Tc=own measurement");
    click("cmdUpdate");
    QCOMPARE(storedSource("1,1,1,2,2,3,3,4-Octafluorobutane"), "Tc=own measurement");

    click("cmdAdd");
    QVERIFY(source->text().isEmpty());
    typeInto(edit("txtCompound"), "Testium");
    click("cmdUpdate");
    QCOMPARE(storedSource("Testium"), std::nullopt); // an empty box stores no source

    click("cmdFirst");
    click("cmdEdit");
    typeInto(source, "   ");
    click("cmdUpdate");
    QCOMPARE(storedSource("1,1,1,2,2,3,3,4-Octafluorobutane"), std::nullopt);
}

// A file made before the Source field existed opens and edits as before; its box stays empty
// and takes no typing.
void TestCritConstWindow::fileWithoutSourceFieldStillEdits()
{
    m_win->close();
    QApplication::processEvents();
    const std::string old = m_dir->filePath("Previous.mdb").toStdString();
    QFile fixture(QStringLiteral(TAVREL1_STORE_FIXTURES "/components_seed_previous.sql"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    store::Database::createFromScript(old, fixture.readAll().toStdString());
    m_settings->setDbPath(old);
    openEditor();
    QCOMPARE(edit("txtCompound")->text(), QString("1,1-Dichloroethane"));
    QVERIFY(edit("txtSource")->isReadOnly());
    QVERIFY(edit("txtSource")->text().isEmpty());
    click("cmdEdit");
    typeInto(edit("txtTcrit"), "524");
    click("cmdUpdate");
    store::Database db = store::Database::open(old);
    QCOMPARE(db.openRecordset("tblComps").number("CritTemp"), 524.0);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestCritConstWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmCritConst1.moc"
