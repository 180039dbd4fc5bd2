#include "core/main_view_model.h"
#include "main_window_fixture.h"
#include "message_box_closer.h"
#include "store/component_selection.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "store/settings.h"
#include "ui/assets.h"
#include "ui/frmCritConst1.h"
#include "ui/frmEOS1Main.h"
#include "ui/result_cell.h"
#include "ui/window_registry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringListModel>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QtTest>

#include <memory>

using ui::frmEOS1Main;

namespace {

// The widest texts each column's format can produce at the largest magnitudes a real state
// reaches, negative roots, and the markers. Liquid volumes "##0.000" cm3/mol; vapour volumes
// "###0.0" cm3/mol (24787990.0 is propane at 25 C and 0.001 bar); Z "0.0000"; SG and vapour
// density "##0.00" (1708.50 kg/m3 is sulfur hexafluoride at 60 C and 300 bar).
struct ColumnTexts {
    state::Col col;
    QStringList texts;
};
const ColumnTexts kWidestTexts[] = {
    {state::Col::SG, {"-99.99", "999.99", "NC"}},
    {state::Col::Liq, {"-9999.999", "99999.999", "NA->Tc", "NC"}},
    {state::Col::Vap, {"99999999.9", "-9999999.9", "NC"}},
    {state::Col::Z, {"-9.9999", "99.9999", "NC"}},
    {state::Col::VD, {"9999.99", "-999.99"}},
};

/// The box QLineEdit lays its text into: the style's contents rectangle less QLineEdit's
/// two-pixel side margins.
QRect contentsRect(const QLineEdit* cell)
{
    QStyleOptionFrame opt;
    opt.initFrom(cell);
    opt.rect = cell->rect();
    opt.lineWidth = cell->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, cell);
    return cell->style()
        ->subElementRect(QStyle::SE_LineEditContents, &opt, cell)
        .adjusted(2, 0, -2, 0);
}

/// Left and right ink columns (device pixels) of dark text pixels inside area (logical).
std::pair<int, int> inkColumns(QWidget* w, const QRect& area)
{
    const QPixmap pix = w->grab();
    const QImage img = pix.toImage();
    const qreal dpr = pix.devicePixelRatio();
    const QRect dev = QRectF(QPointF(area.topLeft()) * dpr, QSizeF(area.size()) * dpr).toRect();
    int left = img.width();
    int right = -1;
    for (int y = dev.top(); y <= dev.bottom(); ++y)
        for (int x = dev.left(); x <= dev.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {qRound(left / dpr), qRound(right / dpr)};
}

using Table = QList<QStringList>;

// Readers of their own for the three formats, so the test does not trust the writers.
Table splitTsv(const QString& text)
{
    Table t;
    for (const QString& line : text.split('\n', Qt::KeepEmptyParts))
        t << line.split('\t');
    t.removeLast(); // after the final line end
    return t;
}

Table parseCsv(const QString& text)
{
    Table t(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            field += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == '\n')) {
            t.last() << field;
            field.clear();
            if (c == '\n')
                t << QStringList();
        } else {
            field += c;
        }
    }
    t.removeLast();
    return t;
}

// A tinted cell reads as its text followed by "|#rrggbb", its background.
Table parseHtml(const QString& html)
{
    Table t;
    static const QRegularExpression row("<tr>(.*?)</tr>"),
        cell("<td(?: style=\"background-color: (#[0-9a-f]{6})\")?>(.*?)</td>");
    for (const auto& r : row.globalMatch(html)) {
        QStringList fields;
        for (const auto& c : cell.globalMatch(r.captured(1)))
            fields << c.captured(2)
                              .replace("&lt;", "<")
                              .replace("&gt;", ">")
                              .replace("&quot;", "\"")
                              .replace("&amp;", "&") +
                          (c.captured(1).isEmpty() ? QString() : "|" + c.captured(1));
        t << fields;
    }
    return t;
}

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
    void sourceIsTheEntryTooltip();
    void buttonsOpenOneWindowEach();
    void closingMainLeavesOtherWindowsOpen();
    void resultCellsShowTheirWholeText();
    void oversizedTextIsCutAtTheRight();
    void completerOffersEveryNameContainingTheText();
    void typedName_data();
    void typedName();
    void longNamesShowInFull();
    void checkBoxesBlockedByRejectedEntry_data();
    void checkBoxesBlockedByRejectedEntry();
    void exponentSitsInItsGap();
    void backgroundClearOfCaptions();
    void editorOpensTheWindowsOwnDatabase();
    void copyAndSaveGiveTheSheet();
    void resultsKeepTheStateTheyWereSolvedAt_data();
    void resultsKeepTheStateTheyWereSolvedAt();
    void namesShowAsPlainText();
    void ctrlCKeepsItsMeaningInASelection();
    void resultAreaMenu();
    void deletingWithFocusInsideReachesNoHandler();

private:
    template <class T> T* child(const char* name) { return m_win->findChild<T*>(name); }
    QString cell(const char* name) { return child<QLineEdit>(name)->text(); }
    void focusTo(QWidget* w)
    {
        // The offscreen platform activates every window it shows, popups too, and leaves a
        // closed popup active; a real desktop gives the activation back to the window.
        QApplication::setActiveWindow(w->window());
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
    // Keys go where the user's keys go: to an open popup (the completer's list grabs the
    // keyboard and passes on what it does not use), else to the widget.
    static QWidget* keyTarget(QWidget* w)
    {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : w;
    }
    static void typeKeys(QWidget* w, const QString& text)
    {
        for (QChar c : text)
            QTest::keyClicks(keyTarget(w), QString(c));
    }
    static void pressKey(QWidget* w, Qt::Key key)
    {
        QTest::keyClick(keyTarget(w), key);
        QApplication::processEvents();
    }
    void chooseComponent(const QString& name)
    {
        auto* combo = child<QComboBox>("cmbComp");
        focusTo(combo);
        combo->setCurrentIndex(combo->findText(name));
    }

    MainWindowFixture m_fixture;
    frmEOS1Main* m_win = nullptr;
};

void TestMainWindow::init()
{
    m_win = m_fixture.open();
    QVERIFY(QTest::qWaitForWindowActive(m_win));
    QApplication::processEvents();
}

void TestMainWindow::cleanup()
{
    MessageBoxCloser closer; // a failed test may leave a box that rejects its entry
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    QApplication::processEvents();
    m_win = nullptr;
    m_fixture = {};
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
    const std::optional<state::Component> benzene = store::findComponent(db, "Benzene");
    QVERIFY(benzene);
    expected.componentChosen(*benzene);
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
    typeKeys(combo->lineEdit(), "Water");
    pressKey(combo, Qt::Key_Tab);
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

void TestMainWindow::sourceIsTheEntryTooltip()
{
    auto* combo = child<QComboBox>("cmbComp");
    focusTo(combo);
    const int water = combo->findText("Water");
    QVERIFY(water >= 0);
    QCOMPARE(combo->itemData(water, Qt::ToolTipRole).toString(),
             QString("MW=formula; Tc/Pc/Vc=HEOS; w=HEOS; K1=SV1986; K2/K3=SV1986b; "
                     "Ant=Poling2001"));
    // The popup's entry shows the same text when the pointer rests on it.
    const QModelIndex index = combo->view()->model()->index(water, 0);
    QCOMPARE(index.data(Qt::ToolTipRole), combo->itemData(water, Qt::ToolTipRole));
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

void TestMainWindow::resultCellsShowTheirWholeText()
{
    for (const ColumnTexts& column : kWidestTexts) {
        for (int r = 0; r < state::kRowCount; ++r) {
            const state::CellId id{static_cast<state::Row>(r), column.col};
            const QString name = QString::fromStdString(state::cellName(id));
            auto* cell = child<QLineEdit>(name.toUtf8().constData());
            if (cell == nullptr)
                continue; // the virial row has no liquid cells
            // Focus first: leaving the list repaints the sheet from the view model.
            QTest::mouseClick(cell, Qt::LeftButton);
            for (const QString& text : column.texts) {
                const QString where = name + " \"" + text + "\"";
                cell->setText(text);
                const QRect area = contentsRect(cell);
                const qreal need = QFontMetricsF(cell->font()).horizontalAdvance(text);
                QVERIFY2(need <= area.width(), qPrintable(where));
                QVERIFY2(cell->toolTip().isEmpty(), qPrintable(where));
                // A click at the right end must not scroll: the ink still starts at the left
                // and spans the whole text.
                QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(cell->width() - 3, 5));
                const auto [left, right] = inkColumns(cell, area);
                QVERIFY2(left <= area.left() + 2, qPrintable(where));
                QVERIFY2(std::abs((right - left + 1) - need) <= 2.5, qPrintable(where));
            }
        }
    }
}

void TestMainWindow::oversizedTextIsCutAtTheRight()
{
    auto* cell = m_win->findChild<ui::ResultCell*>("txtVapPR");
    const QString text = "123456789012345678.9";
    cell->setText(text);
    const ui::FittedText shown = cell->fitted();
    QVERIFY(shown.elided);
    QVERIFY(shown.text.startsWith("1234"));
    QVERIFY(shown.text.endsWith(QChar(0x2026)));
    QCOMPARE(cell->toolTip(), text);
    QVERIFY(shown.font.pixelSize() >= 8); // never below a legible face
    QVERIFY(QFontMetricsF(shown.font).horizontalAdvance(shown.text) <= cell->textArea().width());
    cell->setText("1.5");
    QVERIFY(cell->toolTip().isEmpty());
}

void TestMainWindow::completerOffersEveryNameContainingTheText()
{
    auto* combo = child<QComboBox>("cmbComp");
    focusTo(combo);
    combo->lineEdit()->selectAll();
    typeKeys(combo->lineEdit(), "hex");
    QStringList expected;
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).contains("hex", Qt::CaseInsensitive))
            expected << combo->itemText(i);
    QVERIFY(expected.size() >= 10); // hexane, cyclohexane, sulfur hexafluoride, ...
    QCompleter* completer = combo->findChild<QCompleter*>();
    QVERIFY(completer->popup()->isVisible());
    QStringList offered;
    for (int i = 0; i < completer->completionModel()->rowCount(); ++i)
        offered << completer->completionModel()->index(i, 0).data().toString();
    QCOMPARE(offered, expected);
    pressKey(combo, Qt::Key_Escape);
}

void TestMainWindow::typedName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("selected");
    QTest::newRow("other case + Tab") << "propane" << int(Qt::Key_Tab) << "Propane";
    QTest::newRow("other case + Enter") << "PROPANE" << int(Qt::Key_Return) << "Propane";
    QTest::newRow("single match + Tab")
        << "hexafluorid" << int(Qt::Key_Tab) << "Sulfur hexafluoride";
    QTest::newRow("no match + Tab") << "zzz" << int(Qt::Key_Tab) << "Benzene";
    QTest::newRow("several matches + Enter") << "hex" << int(Qt::Key_Return) << "Benzene";
}

void TestMainWindow::typedName()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, selected);
    MessageBoxCloser closer;
    chooseComponent("Benzene");
    type("txtTemp", "25"); // Benzene is now in use
    auto* combo = child<QComboBox>("cmbComp");
    focusTo(combo);
    combo->lineEdit()->selectAll();
    typeKeys(combo->lineEdit(), typed);
    pressKey(combo, static_cast<Qt::Key>(key));
    if (key == Qt::Key_Return)
        focusTo(child<QLineEdit>("txtPress")); // leaving the list takes the choice in
    QCOMPARE(combo->currentText(), selected);
    QCOMPARE(combo->lineEdit()->text(), selected);
    QVERIFY(child<QLabel>("lblStCond")->text().startsWith("Antoine co-efficients for " + selected));
    QVERIFY(closer.seen.isEmpty());
}

void TestMainWindow::longNamesShowInFull()
{
    auto* combo = child<QComboBox>("cmbComp");
    const QString name = "R-227ea (1,1,1,2,3,3,3-heptafluoropropane)";
    chooseComponent(name);
    QCOMPARE(combo->lineEdit()->text(), name);
    QCOMPARE(combo->lineEdit()->cursorPosition(), 0); // the field shows the start
    QCOMPARE(combo->toolTip(), name);

    int widest = 0;
    const QFontMetrics fm(combo->view()->font());
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(combo->itemText(i)));
    combo->showPopup();
    QApplication::processEvents();
    QVERIFY2(combo->view()->viewport()->width() >= widest,
             qPrintable(QString("%1 < %2").arg(combo->view()->viewport()->width()).arg(widest)));
    QVERIFY(combo->view()->textElideMode() != Qt::ElideMiddle);
    combo->hidePopup();
    QVERIFY(combo->findChild<QCompleter*>()->popup()->minimumWidth() >= widest);
}

void TestMainWindow::checkBoxesBlockedByRejectedEntry_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("hypothetical volumes") << "chkStCalc";
    QTest::newRow("spherical molecule") << "chkSphMol";
}

void TestMainWindow::checkBoxesBlockedByRejectedEntry()
{
    QFETCH(QString, box);
    chooseComponent("Benzene");
    MessageBoxCloser closer;
    type("txtTemp", "abc");
    auto* check = child<QCheckBox>(box.toUtf8().constData());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    QTRY_COMPARE(closer.seen.size(), 1);
    QTRY_COMPARE(m_win->focusWidget(), static_cast<QWidget*>(child<QLineEdit>("txtTemp")));
    QVERIFY(!check->isChecked());
    QVERIFY(!m_win->viewModel().chkStCalc() && !m_win->viewModel().chkSphMol());
}

void TestMainWindow::exponentSitsInItsGap()
{
    auto* caption = child<QLabel>("Label16");
    auto* exponent = child<QLabel>("Label11");
    const QFontMetrics fm(caption->font());
    const int gap = static_cast<int>(caption->text().indexOf("  "));
    const int gapLeft = caption->x() + fm.horizontalAdvance(caption->text().left(gap));
    const int gapRight = gapLeft + fm.horizontalAdvance("  ");
    const int glyph = QFontMetrics(exponent->font()).horizontalAdvance("3");
    QVERIFY2(exponent->x() >= gapLeft && exponent->x() + glyph <= gapRight,
             qPrintable(QString("3 at %1..%2, gap %3..%4")
                            .arg(exponent->x())
                            .arg(exponent->x() + glyph)
                            .arg(gapLeft)
                            .arg(gapRight)));
}

void TestMainWindow::backgroundClearOfCaptions()
{
    // The window as drawn with its controls hidden: under the text of every caption, and
    // under the whole state message, only the plain ground of the background picture.
    const QRgb ground = ui::renderSvgAsset("background.svg", {800, 600}).toImage().pixel(0, 0);
    QList<QWidget*> controls;
    for (QWidget* w : m_win->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            controls << w;
    for (QWidget* w : controls)
        w->hide();
    const QPixmap pix = m_win->grab();
    const QImage shown = pix.toImage();
    const qreal dpr = pix.devicePixelRatio();
    for (QLabel* l : m_win->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect text =
            l->wordWrap() ? l->geometry()
                          : l->fontMetrics()
                                .boundingRect(l->contentsRect(), int(l->alignment()), l->text())
                                .translated(l->pos());
        const QRect dev =
            QRectF(QPointF(text.topLeft()) * dpr, QSizeF(text.size()) * dpr).toRect() &
            shown.rect();
        int touched = 0;
        for (int y = dev.top(); y <= dev.bottom(); ++y)
            for (int x = dev.left(); x <= dev.right(); ++x)
                touched += shown.pixel(x, y) != ground;
        QVERIFY2(touched == 0,
                 qPrintable(QString("%1: %2 pixels").arg(l->objectName()).arg(touched)));
    }
    for (QWidget* w : controls)
        w->show();
}

void TestMainWindow::editorOpensTheWindowsOwnDatabase()
{
    // A second main window over another database: each window's editor opens its own.
    MessageBoxCloser closer;
    QTemporaryDir otherDir;
    const std::string other = otherDir.filePath("Other.mdb").toStdString();
    store::Database::createFromScript(
        other,
        std::string(store::componentSeedSql().substr(0, store::componentSeedSql().find("INSERT"))) +
            "INSERT INTO tblComps (Component, CritTemp, CritPress) "
            "VALUES ('Onlyium', 400, 40);");
    store::Settings otherSettings(otherDir.filePath("other.ini").toStdString());
    auto* second = new frmEOS1Main;
    second->setAttribute(Qt::WA_DeleteOnClose);
    second->Form_Load(otherSettings, other);

    m_win->cmdCompList_Click();
    auto* editor = ui::openSingle<ui::frmCritConst1>();
    QVERIFY(editor != nullptr);
    QVERIFY(editor->findChild<QLineEdit*>("txtCompound")->text() != "Onlyium");
    editor->close();
    QApplication::processEvents();

    second->cmdCompList_Click();
    editor = ui::openSingle<ui::frmCritConst1>();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->findChild<QLineEdit*>("txtCompound")->text(), QString("Onlyium"));
    second->close();
}

// The copied and saved texts hold what the window shows: the boxes, the message, the check
// boxes and each cell as its box shows it, with a component name that needs CSV quoting. A cell
// the window tints for a missing constant carries the command line's mark and footnote, and in
// HTML its tint.
void TestMainWindow::copyAndSaveGiveTheSheet()
{
    MessageBoxCloser closer;
    const QString component = "R-1234yf (2,3,3,3-tetrafluoropropene)";
    chooseComponent(component);
    type("txtTemp", "25");
    type("txtPress", "1");
    child<QCheckBox>("chkStCalc")->click();
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(!cell("txtVapPR").isEmpty());

    Table expected = {{"Component", component},
                      {"Temperature (\u00b0C)", "25"},
                      {"Temperature (K)", "298.15"},
                      {"Pressure (bar)", "1"}};
    const QStringList message = child<QLabel>("lblStCond")->text().split('\n');
    QCOMPARE(message.size(), 3);
    expected << QStringList{"State conditions", message[0]} << QStringList{"", message[1]}
             << QStringList{"", message[2]};
    expected << QStringList{"Calculate HYPOTHETICAL Molar Volumes", "yes"}
             << QStringList{"Spherical Molecule Shape factor", "no"} << QStringList{""};
    expected << QStringList{"Model",           "SG (g/cm3)", "Liquid (cm3/mol)",
                            "Vapor (cm3/mol)", "Z",          "Density (kg/m3)"};
    const QColor lightPink(255, 204, 204); // K1 or K2 missing: R-1234yf has no K2
    Table html = expected;
    for (int r = 0; r < state::kRowCount; ++r) {
        QStringList row = {child<QLabel>(QString("lblEOS_%1").arg(r).toUtf8())->text()};
        QStringList htmlRow = row;
        for (int c = 0; c < state::kColCount; ++c) {
            const state::CellId id{static_cast<state::Row>(r), static_cast<state::Col>(c)};
            QString text, tint;
            if (state::hasCell(id.row, id.col)) {
                auto* box = child<QLineEdit>(state::cellName(id).c_str());
                text = box->text();
                if (box->palette().color(QPalette::Base) == lightPink) {
                    text += "+";
                    tint = "|#ffcccc";
                }
            }
            row << text;
            htmlRow << text + tint;
        }
        expected << row;
        html << htmlRow;
    }
    QCOMPARE(expected.back()[0], QString("Dieterici EOS"));
    QCOMPARE(expected[expected.size() - 3][3], cell("txtVapPRSV2") + "+");
    const Table footnote = {
        {""}, {"+ computed with a missing Stryjek-Vera constant K1 or K2 taken as zero"}};
    expected << footnote;
    html << footnote;

    focusTo(child<QLineEdit>("txtLiqPR"));
    QTest::keyClick(child<QLineEdit>("txtLiqPR"), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime->hasText() && mime->hasHtml());
    QCOMPARE(splitTsv(mime->text()), expected);
    QCOMPARE(parseHtml(mime->html()), html);

    const QString path = m_fixture.dir->filePath("results.csv");
    QVERIFY(m_win->saveResultsAsCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("\"R-1234yf (2,3,3,3-tetrafluoropropene)\""));
    QCOMPARE(parseCsv(QString::fromUtf8(bytes)), expected);

    QVERIFY(closer.seen.isEmpty());
    QVERIFY(!m_win->saveResultsAsCsv(m_fixture.dir->filePath("no/such/folder/results.csv")));
    QCOMPARE(closer.seen.size(), 1);
}

void TestMainWindow::resultsKeepTheStateTheyWereSolvedAt_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("temperature typed and left") << "txtTemp";
    QTest::newRow("another component chosen") << "cmbComp";
}

// Solved for Benzene at 25 °C, then the entries move on without a solve: the copied and saved
// results still say Benzene at 25 °C, 298.15 K, the state their numbers belong to.
void TestMainWindow::resultsKeepTheStateTheyWereSolvedAt()
{
    QFETCH(QString, change);
    MessageBoxCloser closer;
    chooseComponent("Benzene");
    type("txtTemp", "25");
    type("txtPress", "1");
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    const QString message = child<QLabel>("lblStCond")->text().section('\n', 0, 0);
    const QString liquidPR = cell("txtLiqPR");
    if (change == "txtTemp") {
        type("txtTemp", "100");
        focusTo(child<QLineEdit>("txtPress"));
    } else {
        chooseComponent("Water");
        focusTo(child<QLineEdit>("txtTemp"));
    }
    QVERIFY(child<QLabel>("lblStCond")->text().section('\n', 0, 0) != message);

    const auto check = [&](const Table& t) {
        QCOMPARE(t.value(0), QStringList({"Component", "Benzene"}));
        QCOMPARE(t.value(1), QStringList({"Temperature (\u00b0C)", "25"}));
        QCOMPARE(t.value(2), QStringList({"Temperature (K)", "298.15"}));
        QCOMPARE(t.value(4), QStringList({"State conditions", message}));
        QCOMPARE(t.value(15).value(0), QString("Peng-Robinson"));
        QCOMPARE(t.value(15).value(2), liquidPR);
    };
    m_win->copyResults();
    check(splitTsv(QApplication::clipboard()->text()));
    const QString path = m_fixture.dir->filePath("results.csv");
    QVERIFY(m_win->saveResultsAsCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    check(parseCsv(QString::fromUtf8(file.readAll())));
    QVERIFY(closer.seen.isEmpty());
}

// A name that looks like HTML shows as typed wherever it appears: the state message keeps its
// three lines, the list's tooltip and the editor's refusal show the tags and the ampersand.
void TestMainWindow::namesShowAsPlainText()
{
    const QString name = "Test & <b>Bold</b> 'quote'";
    QTemporaryDir dir;
    const std::string db = dir.filePath("Html.mdb").toStdString();
    store::Database::createFromScript(
        db,
        std::string(store::componentSeedSql().substr(0, store::componentSeedSql().find("INSERT"))) +
            "INSERT INTO tblComps (Component, CritTemp, CritPress) "
            "VALUES ('Test & <b>Bold</b> ''quote''', 500, 40);");
    store::Settings settings(dir.filePath("html.ini").toStdString());
    m_win->close();
    m_win = new frmEOS1Main;
    m_win->setAttribute(Qt::WA_DeleteOnClose);
    m_win->Form_Load(settings, db);
    m_win->show();
    MessageBoxCloser closer;
    chooseComponent(name);
    focusTo(child<QLineEdit>("txtTemp"));
    // What a label or tooltip shows of its text: rich text is read as HTML.
    const auto shown = [](const QString& text, Qt::TextFormat format) {
        const bool rich =
            format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
        return rich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    };
    auto* label = child<QLabel>("lblStCond");
    const QStringList lines = shown(label->text(), label->textFormat()).split('\n');
    QVERIFY2(lines.size() == 3 && lines[0].contains(name), qPrintable(lines.join('|')));
    QCOMPARE(shown(child<QComboBox>("cmbComp")->toolTip(), Qt::AutoText), name);
    QVERIFY(closer.seen.isEmpty());
    m_win->close(); // before its database's folder goes
}

void TestMainWindow::ctrlCKeepsItsMeaningInASelection()
{
    type("txtTemp", "25.5");
    auto* temp = child<QLineEdit>("txtTemp");
    temp->setSelection(0, 2);
    QTest::keyClick(temp, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("25"));
    temp->deselect();
    QTest::keyClick(temp, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith("Component\t"));
}

void TestMainWindow::resultAreaMenu()
{
    const auto menuAt = [&](QWidget* target, QPoint pos) -> QMenu* {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    };
    const auto texts = [](QMenu* menu) {
        QStringList t;
        for (QAction* a : menu->actions())
            t << a->text();
        return t;
    };
    QApplication::clipboard()->clear();
    QMenu* onCell = menuAt(child<QLineEdit>("txtZPR"), {5, 5});
    QVERIFY(onCell != nullptr);
    QVERIFY(texts(onCell).contains("Save results as CSV\u2026"));
    QVERIFY(texts(onCell).size() > 2); // the box's own entries stay
    for (QAction* a : onCell->actions())
        if (a->text() == "Copy results")
            a->trigger();
    onCell->close();
    QVERIFY(QApplication::clipboard()->text().startsWith("Component\t"));

    // The result area's empty space: a row caption, between two cells, below the last row.
    const QRect lastCell = child<QLineEdit>("txtVDDEOS")->geometry();
    for (const QPoint p :
         {child<QLabel>("lblEOS_4")->geometry().center(),
          QPoint(lastCell.left() - 3, lastCell.center().y()),
          QPoint(lastCell.center().x(), (lastCell.bottom() + m_win->height()) / 2)}) {
        QMenu* onArea = menuAt(m_win, p);
        QVERIFY2(onArea != nullptr, qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
        QCOMPARE(texts(onArea), QStringList({"Copy results", "Save results as CSV\u2026"}));
        onArea->close();
        QApplication::processEvents();
    }
    QCOMPARE(menuAt(m_win, child<QPushButton>("cmdSolve")->geometry().center()), nullptr);
}

// The application deletes the window (WA_DeleteOnClose) with the focus still in a control;
// the focus change that control reports while it is deleted must not reach the half-deleted
// window (the ASan+UBSan build reports such a call as a bad downcast).
void TestMainWindow::deletingWithFocusInsideReachesNoHandler()
{
    focusTo(child<QLineEdit>("txtTemp"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtTemp"));
    delete m_win;
    m_win = nullptr;
    QCOMPARE(QApplication::focusWidget(), nullptr);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmEOS1Main.moc"
