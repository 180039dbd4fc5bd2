#include "core/main_view_model.h"
#include "message_box_closer.h"
#include "store/component_selection.h"
#include "store/seed.h"
#include "store/settings.h"
#include "ui/frmEOS1Main.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using ui::frmEOS1Main;

namespace {

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tabOrderFromStartUp();
    void captionsFitTheirBoxes();
    void wholeUserFlow();
    void rejectedEntry_data();
    void rejectedEntry();
    void componentByKeyboardAndMouse();
    void buttonsOpenOneWindowEach();
    void closingMainLeavesOtherWindowsOpen();

private:
    template <class T> T* child(const char* name) { return m_win->findChild<T*>(name); }
    QString cell(const char* name) { return child<QLineEdit>(name)->text(); }
    void focusTo(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void type(const char* box, const char* text)
    {
        auto* edit = child<QLineEdit>(box);
        focusTo(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void chooseComponent(const QString& name)
    {
        auto* combo = child<QComboBox>("cmbComp");
        focusTo(combo);
        combo->setCurrentIndex(combo->findText(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<store::Settings> m_settings;
    frmEOS1Main* m_win = nullptr;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const std::string db = m_dir->filePath("Components.mdb").toStdString();
    store::createShippedDatabase(db);
    m_settings = std::make_unique<store::Settings>(m_dir->filePath("settings.ini").toStdString());
    m_win = new frmEOS1Main;
    m_win->setAttribute(Qt::WA_DeleteOnClose);
    m_win->Form_Load(*m_settings, db);
    m_win->show();
    QApplication::setActiveWindow(m_win);
    QVERIFY(QTest::qWaitForWindowActive(m_win));
    QApplication::processEvents();
}

void TestMainWindow::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    QApplication::processEvents();
    m_win = nullptr;
    m_settings.reset();
    m_dir.reset();
}

void TestMainWindow::tabOrderFromStartUp()
{
    auto* combo = child<QComboBox>("cmbComp");
    QCOMPARE(QApplication::focusWidget(), combo);
    QVERIFY(combo->count() > 150);
    QCOMPARE(combo->currentIndex(), -1);
    QVERIFY(child<QLabel>("lblStCond")->text().isEmpty());

    QStringList expected = {"txtTemp",      "txtPress",     "cmdSolve",    "chkStCalc",
                            "optEqState_0", "optEqState_1", "cmdDataForm", "cmdInstruct1",
                            "cmdCompList",  "cmdDiagrams"};
    for (state::CellId id : state::allCells()) {
        if (id.row == state::Row::ESD && id.col == state::Col::Vap)
            expected << "chkSphMol";
        expected << QString::fromStdString(state::cellName(id));
    }
    for (const QString& name : expected) {
        QWidget* from = QApplication::focusWidget();
        // The boxes must hold numbers for the focus to leave them.
        if (from->objectName() == "txtTemp")
            QTest::keyClicks(from, "25");
        if (from->objectName() == "txtPress")
            QTest::keyClicks(from, "1");
        QTest::keyClick(from, Qt::Key_Tab);
        QApplication::processEvents();
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

void TestMainWindow::captionsFitTheirBoxes()
{
    // The state message at its longest lines, as the solve and the temperature box write them.
    auto* stCond = child<QLabel>("lblStCond");
    stCond->setText("Single-Phase Super-heated Vapor State Conditions -\nthe CRITICAL Temperature "
                    "-> VAPOR phase\nconditions only. LIQUID Molar Volume not calculated.");
    for (QLabel* l : m_win->findChildren<QLabel*>()) {
        const int need = l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height();
        QVERIFY2(need <= l->height(), qPrintable(l->objectName()));
        if (!l->wordWrap()) {
            QVERIFY2(l->sizeHint().width() <= l->width() + 1, qPrintable(l->objectName()));
        }
    }
    for (QAbstractButton* b : m_win->findChildren<QAbstractButton*>()) {
        // Room for the check or radio indicator beside the caption.
        const int indicator = qobject_cast<QPushButton*>(b) ? 4 : 18;
        const QRect area = b->rect().adjusted(indicator, 0, 0, 0);
        const QRect text = b->fontMetrics().boundingRect(area, Qt::TextWordWrap, b->text());
        QVERIFY2(text.width() <= area.width(), qPrintable(b->objectName()));
        QVERIFY2(text.height() <= area.height(), qPrintable(b->objectName()));
    }
}

void TestMainWindow::wholeUserFlow()
{
    MessageBoxCloser closer;
    chooseComponent("Benzene");
    type("txtTemp", "25");
    type("txtPress", "1");
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(closer.seen.isEmpty());
    QCOMPARE(child<QLabel>("lblStCond")->text(),
             QString("Single-Phase Sub-cooled Liquid State Conditions -\nMolar Volume calculated "
                     "values for VAPOR\nwould be for hypothetical sub-cooled vapor."));

    // The window shows exactly what the view model computes for the same entries.
    core::MainViewModel expected;
    store::ComponentDatabase db = store::ComponentDatabase::open(m_win->database().path());
    QVERIFY(store::loadComponent(db, "Benzene", expected));
    expected.setTxtTemp("25");
    expected.txtTemp_LostFocus();
    expected.setTxtPress("1");
    expected.txtPress_LostFocus();
    const auto compareSheet = [&] {
        expected.cmdSolve_Click();
        for (state::CellId id : state::allCells()) {
            const QString name = QString::fromStdString(state::cellName(id));
            QCOMPARE(cell(name.toUtf8().constData()),
                     QString::fromStdString(expected.sheet().cell(id).text));
        }
    };
    compareSheet();
    QVERIFY(!cell("txtLiqPR").isEmpty());
    QVERIFY(cell("txtVapPR").isEmpty()); // sub-cooled: no vapour unless hypothetical

    child<QCheckBox>("chkStCalc")->click();
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    expected.setChkStCalc(true);
    compareSheet();
    QVERIFY(!cell("txtVapPR").isEmpty());

    QTest::mouseClick(child<QRadioButton>("optEqState_1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("txtTemp")->text(), QString("79.59"));
    QCOMPARE(child<QLineEdit>("txtPress")->text(), QString("1.000"));
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(
        child<QLabel>("lblStCond")->text().startsWith("Two-phase Equilibrium State Conditions -"));
    QVERIFY(child<QRadioButton>("optEqState_1")->isChecked());

    QTest::mouseClick(child<QRadioButton>("optEqState_0"), Qt::LeftButton);
    QVERIFY(child<QRadioButton>("optEqState_0")->isChecked());
    QVERIFY(!child<QRadioButton>("optEqState_1")->isChecked());
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(
        child<QLabel>("lblStCond")->text().startsWith("Two-phase Equilibrium State Conditions -"));
    QVERIFY(!cell("txtLiqSRK").isEmpty() && !cell("txtVapSRK").isEmpty());
    QVERIFY(closer.seen.isEmpty());
}

void TestMainWindow::rejectedEntry_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("message");
    QTest::newRow("temperature by Tab")
        << "txtTemp" << false << "Temperature ERROR|Invalid or Incorrect Temperature";
    QTest::newRow("temperature by Solve")
        << "txtTemp" << true << "Temperature ERROR|Invalid or Incorrect Temperature";
    QTest::newRow("pressure by Tab")
        << "txtPress" << false << "Pressure ERROR|Invalid or Incorrect Pressure";
    QTest::newRow("pressure by Solve")
        << "txtPress" << true << "Pressure ERROR|Invalid or Incorrect Pressure";
}

void TestMainWindow::rejectedEntry()
{
    QFETCH(QString, box);
    QFETCH(bool, byMouse);
    QFETCH(QString, message);
    chooseComponent("Benzene");
    type("txtTemp", "25");
    type("txtPress", "1");
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    const QString before = cell("txtLiqPR");
    const QString stCond = child<QLabel>("lblStCond")->text();
    QVERIFY(!before.isEmpty());

    MessageBoxCloser closer;
    type(box.toUtf8().constData(), "abc");
    auto* edit = child<QLineEdit>(box.toUtf8().constData());
    auto* solve = child<QPushButton>("cmdSolve");
    if (byMouse)
        QTest::mouseClick(solve, Qt::LeftButton);
    else
        QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_COMPARE(closer.seen.size(), 1);
    QTRY_COMPARE(m_win->focusWidget(), static_cast<QWidget*>(edit));
    QTest::qWait(50);
    QCOMPARE(closer.seen, QStringList{message});
    QVERIFY(edit->text().isEmpty());
    QVERIFY(!solve->isDown());
    QCOMPARE(cell("txtLiqPR"), before); // no solve ran
    QCOMPARE(child<QLabel>("lblStCond")->text(), stCond);
}

void TestMainWindow::componentByKeyboardAndMouse()
{
    auto* combo = child<QComboBox>("cmbComp");
    focusTo(combo);
    // Keyboard: type the name into the edit field and leave the list.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "Water");
    QTest::keyClick(combo, Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("txtTemp"));
    QTest::keyClicks(QApplication::focusWidget(), "25"); // so the box may be left
    QCOMPARE(combo->currentText(), QString("Water"));
    QCOMPARE(child<QLabel>("lblStCond")->text(),
             QString("Antoine co-efficients for Water found\nin COMPONENT Database.\nCan check for "
                     "two-phase conditions."));
    QCOMPARE(m_win->viewModel().state().constants.CritTemp, 647.096f);

    // Mouse: open the list, click an entry without Antoine coefficients, click elsewhere.
    focusTo(combo);
    combo->showPopup();
    QApplication::processEvents();
    const int row =
        combo->findText("R-227ea (1,1,1,2,3,3,3-heptafluoropropane)", Qt::MatchStartsWith);
    QVERIFY(row >= 0);
    QAbstractItemView* view = combo->view();
    view->scrollTo(view->model()->index(row, 0));
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QApplication::processEvents();
    QCOMPARE(combo->currentIndex(), row);
    QTest::mouseClick(child<QLineEdit>("txtTemp"), Qt::LeftButton);
    QApplication::processEvents();
    QVERIFY(child<QLabel>("lblStCond")->text().endsWith("Can NOT check for two-phase solution."));
    QVERIFY(!child<QRadioButton>("optEqState_0")->isEnabled());
}

void TestMainWindow::buttonsOpenOneWindowEach()
{
    const std::pair<const char*, const char*> buttons[] = {{"cmdDataForm", "frmInfoEOS"},
                                                           {"cmdInstruct1", "frmEOS1Instruct"},
                                                           {"cmdCompList", "frmCritConst1"},
                                                           {"cmdDiagrams", "frmDiagrams"}};
    for (const auto& [button, window] : buttons) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        QApplication::processEvents();
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            count += w->objectName() == window && w->isVisible();
        QCOMPARE(count, 1);
    }
}

void TestMainWindow::closingMainLeavesOtherWindowsOpen()
{
    QTest::mouseClick(child<QPushButton>("cmdDataForm"), Qt::LeftButton);
    QPointer<frmEOS1Main> main = m_win;
    m_win->close();
    QApplication::processEvents();
    QVERIFY(main.isNull());
    bool infoOpen = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        infoOpen |= w->objectName() == "frmInfoEOS" && w->isVisible();
    QVERIFY(infoOpen);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmEOS1Main.moc"
