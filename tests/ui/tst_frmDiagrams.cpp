#include "main_window_fixture.h"
#include "message_box_closer.h"
#include "state/number_format.h"
#include "store/seed.h"
#include "store/settings.h"
#include "ui/diagram_style.h"
#include "ui/frmDiagrams.h"
#include "ui/frmEOS1Main.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <charconv>
#include <map>
#include <memory>

using ui::DiagramPlot;
using ui::frmDiagrams;
using ui::frmEOS1Main;
using Tab = frmDiagrams::Tab;

class TestDiagrams : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonOpensOneWindowAndRaisesIt();
    void beforeSolveDrawsTheStandInState();
    void oneCurvePerModelInEveryTab();
    void rootMarkersAreTheSheetValues_data();
    void rootMarkersAreTheSheetValues();
    void componentChangeRedrawsWithoutStaleMarkers();
    void staleSheetGivesNoMarkers_data();
    void staleSheetGivesNoMarkers();
    void legendHidesAModelInEveryTab();
    void exportsDecodeAndParse();
    void closingMainWindowWithDiagramsOpen();

private:
    template <class T> T* child(const char* name) { return m_win->findChild<T*>(name); }
    void focusTo(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void type(const char* box, const QString& text)
    {
        auto* edit = child<QLineEdit>(box);
        focusTo(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void chooseComponent(const QString& name)
    {
        // The user clicks into the main window first, so it is active again.
        QApplication::setActiveWindow(m_win);
        auto* combo = child<QComboBox>("cmbComp");
        focusTo(combo);
        combo->setCurrentIndex(combo->findText(name));
        focusTo(child<QPushButton>("cmdSolve"));
    }
    void solve(const QString& component, const QString& temp, const QString& press)
    {
        chooseComponent(component);
        type("txtTemp", temp);
        type("txtPress", press);
        QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    }
    frmDiagrams* openDiagrams()
    {
        QTest::mouseClick(child<QPushButton>("cmdDiagrams"), Qt::LeftButton);
        QApplication::processEvents();
        return ui::openSingle<frmDiagrams>();
    }

    MainWindowFixture m_fixture;
    frmEOS1Main* m_win = nullptr;
};

void TestDiagrams::init()
{
    m_win = m_fixture.open();
    QVERIFY(QTest::qWaitForWindowActive(m_win));
}

void TestDiagrams::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    QApplication::processEvents();
    m_win = nullptr;
    m_fixture = {};
}

void TestDiagrams::buttonOpensOneWindowAndRaisesIt()
{
    auto* button = child<QPushButton>("cmdDiagrams");
    QCOMPARE(button->text(), QString("Diagrams"));
    QCOMPARE(button->geometry(), QRect(550, 80, 91, 51)); // 6600, 960, 1092, 612 twips
    QCOMPARE(button->font(), child<QPushButton>("cmdCompList")->font());
    QCOMPARE(button->size(), child<QPushButton>("cmdCompList")->size());

    frmDiagrams* first = openDiagrams();
    QVERIFY(first != nullptr);
    QVERIFY(first->isVisible());
    QApplication::setActiveWindow(m_win);
    frmDiagrams* second = openDiagrams();
    QCOMPARE(second, first);
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += w->objectName() == "frmDiagrams" && w->isVisible();
    QCOMPARE(open, 1);
    QVERIFY(!(first->windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(first->minimumSize() != first->maximumSize()); // resizable
}

void TestDiagrams::beforeSolveDrawsTheStandInState()
{
    MessageBoxCloser closer;
    chooseComponent("Benzene");
    frmDiagrams* d = openDiagrams();
    const QString note = d->findChild<QLabel*>("lblNote")->text();
    QVERIFY2(note.startsWith("Not solved yet: Benzene at 25 °C"), qPrintable(note));
    QVERIFY(d->plot(Tab::PV)->diagram().title.find("25 °C") != std::string::npos);
    QVERIFY(d->plot(Tab::PV)->rootMarkers(state::Row::PR).isEmpty());
    QCOMPARE(int(d->plot(Tab::PV)->modelCurves(state::Row::PR).size()), 2); // isotherm, tie-line
}

void TestDiagrams::oneCurvePerModelInEveryTab()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    for (state::Row row : analysis::kModels) {
        const QString name = QString::fromUtf8(state::rowCaption(row).data());
        // The isotherm, and below the model's critical temperature its tie-line.
        const auto pv = d->plot(Tab::PV)->modelCurves(row);
        QCOMPARE_GE(int(pv.size()), 1);
        QCOMPARE(pv.front()->name(), name); // the legend's name, also in the read-out
        QVERIFY2(!d->plot(Tab::ZP)->modelCurves(row).empty(), qPrintable(name));
        // The virial row has no phase split, so no vapour-pressure curve.
        QCOMPARE(d->plot(Tab::PT)->modelCurves(row).size(), row == state::Row::Vir ? 0u : 1u);
    }
    QCOMPARE(d->findChild<QTableWidget*>("grdAnalysis")->rowCount(), 9);
}

void TestDiagrams::rootMarkersAreTheSheetValues_data()
{
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("temp");
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("onTwoPhaseLine");
    QTest::newRow("Benzene, sub-cooled liquid") << "Benzene"
                                                << "25"
                                                << "1" << false;
    QTest::newRow("Propane on its two-phase line") << "Propane"
                                                   << "25"
                                                   << "1" << true;
    QTest::newRow("Propane above its critical temperature") << "Propane"
                                                            << "150"
                                                            << "60" << false;
}

void TestDiagrams::rootMarkersAreTheSheetValues()
{
    QFETCH(QString, component);
    QFETCH(QString, temp);
    QFETCH(QString, press);
    QFETCH(bool, onTwoPhaseLine);
    MessageBoxCloser closer;
    frmDiagrams* d = openDiagrams();
    chooseComponent(component);
    type("txtTemp", temp);
    type("txtPress", press);
    if (onTwoPhaseLine)
        QTest::mouseClick(child<QRadioButton>("optEqState_0"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(closer.seen.isEmpty());

    // The state's own values: on the two-phase line the box shows the pressure rounded.
    const double p_bar = m_win->viewModel().state().conditions.PressBar;
    const double rt = double(state::R) * m_win->viewModel().state().conditions.TempK;
    int marked = 0;
    for (state::Row row : analysis::kModels) {
        QVector<double> shown;
        for (state::Col col : {state::Col::Liq, state::Col::Vap})
            if (state::hasCell(row, col))
                if (const auto v = state::toDouble(m_win->viewModel().sheet().text(row, col)))
                    shown << *v;
        const QVector<QPointF> pv = d->plot(Tab::PV)->rootMarkers(row);
        const QVector<QPointF> zp = d->plot(Tab::ZP)->rootMarkers(row);
        QCOMPARE(pv.size(), shown.size());
        QCOMPARE(zp.size(), shown.size());
        for (int i = 0; i < shown.size(); ++i) {
            QCOMPARE(pv[i].x(), shown[i]); // the shown text's value, exactly
            QCOMPARE(pv[i].y(), p_bar);
            QCOMPARE(zp[i].y(), p_bar * shown[i] / rt);
        }
        marked += int(shown.size());
    }
    QVERIFY(marked >= 6); // at least one root of every model with that phase's cells
    if (onTwoPhaseLine) {
        QCOMPARE(d->plot(Tab::PV)->rootMarkers(state::Row::PR).size(), 2);
    }
}

void TestDiagrams::componentChangeRedrawsWithoutStaleMarkers()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    QVERIFY(!d->plot(Tab::PV)->rootMarkers(state::Row::SRK).isEmpty());
    chooseComponent("Propane");
    const QString note = d->findChild<QLabel*>("lblNote")->text();
    QVERIFY2(note.startsWith("Propane at 25 °C"), qPrintable(note));
    QVERIFY(d->plot(Tab::PV)->rootMarkers(state::Row::SRK).isEmpty());
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    QVERIFY(!d->plot(Tab::PV)->rootMarkers(state::Row::SRK).isEmpty());
}

void TestDiagrams::staleSheetGivesNoMarkers_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("note");
    const QString atThisState = "not solved at this state";
    QTest::newRow("spherical ticked") << "chkSphMol" << atThisState;
    QTest::newRow("hypothetical unticked") << "chkStCalc" << atThisState;
    QTest::newRow("temperature changed") << "txtTemp" << atThisState;
    QTest::newRow("another component") << "cmbComp"
                                       << "not solved for this component yet";
}

// Benzene at 25 °C and 5 bar with hypothetical volumes, solved; then one entry changes and the
// diagrams open. They draw the state as it is now, so the sheet's volumes, solved from another
// one, mark nothing, and the note says what was not solved.
void TestDiagrams::staleSheetGivesNoMarkers()
{
    QFETCH(QString, change);
    QFETCH(QString, note);
    MessageBoxCloser closer;
    chooseComponent("Benzene");
    type("txtTemp", "25");
    type("txtPress", "5");
    child<QCheckBox>("chkStCalc")->click();
    QTest::mouseClick(child<QPushButton>("cmdSolve"), Qt::LeftButton);
    if (change == "txtTemp") {
        type("txtTemp", "30");
        focusTo(child<QLineEdit>("txtPress"));
    } else if (change == "cmbComp") {
        chooseComponent("Toluene");
    } else {
        child<QCheckBox>(change.toUtf8())->click();
    }
    frmDiagrams* d = openDiagrams();
    for (state::Row row : analysis::kModels)
        QVERIFY(d->plot(Tab::PV)->rootMarkers(row).isEmpty());
    const QString text = d->findChild<QLabel*>("lblNote")->text();
    QVERIFY2(text.contains(note), qPrintable(text));
    QVERIFY(closer.seen.isEmpty());
}

void TestDiagrams::legendHidesAModelInEveryTab()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    DiagramPlot* pv = d->plot(Tab::PV);
    pv->replot(QCustomPlot::rpImmediateRefresh);
    QCPAbstractLegendItem* entry = nullptr;
    for (int i = 0; i < pv->legend->itemCount(); ++i)
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(pv->legend->item(i)))
            if (item->plottable()->name() == "Peng-Robinson")
                entry = item;
    QVERIFY(entry != nullptr);
    const QPoint at = entry->outerRect().center();
    QTest::mouseClick(pv, Qt::LeftButton, {}, at);
    for (Tab tab : {Tab::PV, Tab::ZP, Tab::PT})
        for (QCPGraph* g : d->plot(tab)->modelCurves(state::Row::PR))
            QVERIFY(!g->visible());
    QVERIFY(!d->modelVisible(state::Row::PR));
    QVERIFY(d->plot(Tab::ZP)->modelCurves(state::Row::SRK).front()->visible());
    QTest::mouseClick(pv, Qt::LeftButton, {}, at);
    QVERIFY(d->plot(Tab::PT)->modelCurves(state::Row::PR).front()->visible());
}

namespace {

/// Drawn curves per stroke colour: the polylines of more than two points in an SVG, each under
/// the stroke of its nearest enclosing group (legend icons and markers are shorter strokes).
std::map<QString, int> linesByStroke(const QByteArray& svg, bool* wellFormed)
{
    std::map<QString, int> count;
    QXmlStreamReader xml(svg);
    QStringList stroke{"none"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            stroke << (a.hasAttribute("stroke") ? a.value("stroke").toString() : stroke.last());
            if (xml.name() == u"polyline" &&
                a.value("points").trimmed().split(u' ', Qt::SkipEmptyParts).size() > 2)
                ++count[stroke.last()];
        } else if (xml.isEndElement()) {
            stroke.removeLast();
        }
    }
    *wellFormed = !xml.hasError();
    return count;
}

bool isNumber(const QByteArray& field)
{
    double v = 0;
    const auto [end, ec] = std::from_chars(field.constData(), field.constData() + field.size(), v);
    return ec == std::errc() && end == field.constData() + field.size();
}

} // namespace

void TestDiagrams::exportsDecodeAndParse()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    d->setModelVisible(state::Row::RK, false);
    const QString png = m_fixture.dir->filePath("pv.png");
    const QString svg = m_fixture.dir->filePath("pv.svg");
    const QString pdf = m_fixture.dir->filePath("pv.pdf");
    const QString csv = m_fixture.dir->filePath("pv.csv");
    QVERIFY(d->exportImage(png, Tab::PV));
    QVERIFY(d->exportImage(svg, Tab::PV));
    QVERIFY(d->exportImage(pdf, Tab::PV));
    QVERIFY(d->exportCsv(csv, Tab::PV));

    QImage image;
    QVERIFY(image.load(png, "PNG"));
    QCOMPARE(image.size(), d->plot(Tab::PV)->size());

    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    bool wellFormed = false;
    const auto lines = linesByStroke(svgFile.readAll(), &wellFormed);
    QVERIFY(wellFormed);
    for (state::Row row : analysis::kModels) {
        const QString color = ui::modelStyle(row).color.name();
        int expected = 0;
        for (QCPGraph* g : d->plot(Tab::PV)->modelCurves(row))
            expected += d->modelVisible(row) && g->dataCount() > 2;
        QCOMPARE(lines.count(color) ? lines.at(color) : 0, expected);
    }

    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QVERIFY(pdfFile.read(5) == "%PDF-");

    QFile csvFile(csv);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csvFile.readAll().split('\n');
    const QList<QByteArray> header = rows.front().trimmed().split(',');
    QCOMPARE(header.front(), QByteArray("V (cm3/mol)"));
    QVERIFY(header.contains("PR P (bar)"));
    QVERIFY(!header.contains("RK P (bar)")); // hidden
    int numbers = 0;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        if (rows[r].trimmed().isEmpty())
            continue;
        const QList<QByteArray> fields = rows[r].trimmed().split(',');
        QCOMPARE(fields.size(), header.size());
        QVERIFY(isNumber(fields.front()));
        for (const QByteArray& f : fields) {
            QVERIFY2(f.isEmpty() || isNumber(f), f.constData());
            numbers += !f.isEmpty();
        }
    }
    QVERIFY(numbers > 1000);
}

void TestDiagrams::closingMainWindowWithDiagramsOpen()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    QPointer<frmDiagrams> d = openDiagrams();
    m_win->close();
    QApplication::processEvents();
    QVERIFY(!d.isNull());
    d->plot(Tab::PV)->replot(QCustomPlot::rpImmediateRefresh);
    QTest::mouseClick(d->plot(Tab::PV), Qt::LeftButton);
    QTest::mouseDClick(d->plot(Tab::PV), Qt::LeftButton);
    d->close();
    QApplication::processEvents();
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestDiagrams test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmDiagrams.moc"
