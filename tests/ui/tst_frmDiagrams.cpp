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
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTransform>
#include <QXmlStreamReader>
#include <QtTest>

#include <charconv>
#include <cmath>
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
    void drawnCurvesAreTheDataInOrder_data();
    void drawnCurvesAreTheDataInOrder();
    void svgStaysInsideTheAxes();
    void savesWriteTheChosenTypeAndRememberOnlySuccess_data();
    void savesWriteTheChosenTypeAndRememberOnlySuccess();
    void readoutFollowsTabsAndSolves();
    void imagesAtScreenDensity();

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
    // Named as the boxes show it ("9.510" bar on the two-phase line, not 9.51019).
    const QString note = d->findChild<QLabel*>("lblNote")->text();
    const QString where = component + " at " + child<QLineEdit>("txtTemp")->text() + " °C and " +
                          child<QLineEdit>("txtPress")->text() + " bar;";
    QVERIFY2(note.startsWith(where), qPrintable(note + " / " + where));

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
        // A curve cut by the view's edge is drawn as one line per part inside it.
        const int drawn = lines.count(color) ? lines.at(color) : 0;
        QVERIFY2(expected == 0 ? drawn == 0 : drawn >= expected, qPrintable(color));
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

void TestDiagrams::drawnCurvesAreTheDataInOrder_data()
{
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("temp");
    QTest::addColumn<QString>("press");
    QTest::newRow("Benzene, 25 °C, 1 bar") << "Benzene"
                                           << "25"
                                           << "1";
    QTest::newRow("Water, 100 °C, 1.01325 bar") << "Water"
                                                << "100"
                                                << "1.01325";
}

// What the plot draws is the curve data point for point, in rising x where the plot is told
// the points are sorted (it then keeps their order): a saturation point handed after the
// sampled pressures drew vertical lines and made the plot drop whole segments. On Z-P each
// model's stable liquid starts at the model's vapour pressure (the table's) and runs to the
// right edge, no step longer than 2 % of the axes on screen.
void TestDiagrams::drawnCurvesAreTheDataInOrder()
{
    QFETCH(QString, component);
    QFETCH(QString, temp);
    QFETCH(QString, press);
    MessageBoxCloser closer;
    solve(component, temp, press);
    frmDiagrams* d = openDiagrams();
    d->resize(960, 640);
    d->findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(int(Tab::ZP));
    QApplication::processEvents();
    for (bool logP : {false, true}) {
        d->findChild<QCheckBox*>("chkLogP")->setChecked(logP);
        for (Tab tab : {Tab::PV, Tab::ZP, Tab::PT})
            for (const auto& [graph, curve] : d->plot(tab)->curves()) {
                const auto data = graph->data();
                QCOMPARE(data->size(), int(curve->x.size()));
                QVERIFY2(
                    std::is_sorted(data->begin(), data->end(), qcpLessThanSortKey<QCPGraphData>),
                    curve->name.c_str());
                int i = 0;
                for (const QCPGraphData& p : *data) {
                    const double y = curve->y[std::size_t(i)];
                    const bool gap = logP && tab == Tab::PV && !(y > 0);
                    QVERIFY2(p.key == curve->x[std::size_t(i)] &&
                                 (gap ? std::isnan(p.value) : p.value == y),
                             qPrintable(QString::fromStdString(curve->name) + " at " +
                                        QString::number(i)));
                    ++i;
                }
            }
    }
    DiagramPlot* zp = d->plot(Tab::ZP);
    zp->replot(QCustomPlot::rpImmediateRefresh);
    const QRect r = zp->axisRect()->rect();
    const auto& table = d->diagrams().table;
    int liquids = 0;
    for (const auto& [graph, curve] : zp->curves()) {
        if (!curve->model)
            continue;
        const auto data = graph->data();
        for (int i = 1; i < data->size(); ++i) {
            const QPointF a(zp->xAxis->coordToPixel(data->at(i - 1)->key),
                            zp->yAxis->coordToPixel(data->at(i - 1)->value));
            const QPointF b(zp->xAxis->coordToPixel(data->at(i)->key),
                            zp->yAxis->coordToPixel(data->at(i)->value));
            if (r.contains(a.toPoint()) || r.contains(b.toPoint()))
                QVERIFY2(std::hypot((b.x() - a.x()) / r.width(), (b.y() - a.y()) / r.height()) <
                             0.02,
                         qPrintable(QString::fromStdString(curve->label) + " at P " +
                                    QString::number(data->at(i)->key)));
        }
        if (curve->label.find(", stable liquid") == std::string::npos)
            continue;
        ++liquids;
        const auto psat = state::toDouble(table[std::size_t(*curve->model)].psat);
        QVERIFY(psat.has_value());
        QVERIFY2(std::abs(data->begin()->key - *psat) < 1e-5 * *psat, curve->label.c_str());
        QVERIFY(data->at(data->size() - 1)->key >= zp->xAxis->range().upper);
    }
    QCOMPARE(liquids, 8);
    // Dashed means metastable here, and a tie-line on P-V: the legends say so.
    const auto legendHas = [](DiagramPlot* p, const QString& text) {
        for (int i = 0; i < p->legend->itemCount(); ++i)
            if (auto* item = qobject_cast<QCPPlottableLegendItem*>(p->legend->item(i)))
                if (item->plottable()->name().contains(text))
                    return true;
        return false;
    };
    QVERIFY(legendHas(zp, "dashed: metastable"));
    QVERIFY(legendHas(d->plot(Tab::PV), "dashed: its tie-line"));
}

namespace {

/// The points of every polyline of more than two points drawn in a model colour, in the SVG's
/// own coordinates (group transforms applied).
QVector<QPointF> modelLinePoints(const QByteArray& svg)
{
    QSet<QString> colours;
    for (state::Row row : analysis::kModels)
        colours << ui::modelStyle(row).color.name();
    QVector<QPointF> points;
    QXmlStreamReader xml(svg);
    QList<QTransform> transforms{QTransform()};
    QStringList stroke{"none"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            QTransform t = transforms.last();
            const QString m = a.value("transform").toString();
            if (m.startsWith("matrix(")) {
                const QStringList v = m.mid(7).chopped(1).split(',');
                if (v.size() == 6)
                    t = QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(),
                                   v[3].toDouble(), v[4].toDouble(), v[5].toDouble()) *
                        t;
            }
            transforms << t;
            stroke << (a.hasAttribute("stroke") ? a.value("stroke").toString() : stroke.last());
            const QStringList pairs = a.value("points").toString().split(' ', Qt::SkipEmptyParts);
            // Legend icons are single strokes of two points.
            if (xml.name() == u"polyline" && colours.contains(stroke.last()) && pairs.size() > 2)
                for (const QString& pair : pairs)
                    points << t.map(QPointF(pair.section(',', 0, 0).toDouble(),
                                            pair.section(',', 1, 1).toDouble()));
        } else if (xml.isEndElement()) {
            transforms.removeLast();
            stroke.removeLast();
        }
    }
    return points;
}

} // namespace

// An SVG file looks like the window: n-Eicosane's Z-P liquids climb far past the top, and
// the SVG writer does not clip, so they ran through the legend until cut here.
void TestDiagrams::svgStaysInsideTheAxes()
{
    MessageBoxCloser closer;
    solve("n-Eicosane", "25", "1");
    frmDiagrams* d = openDiagrams();
    d->resize(960, 640);
    d->findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(int(Tab::ZP));
    QApplication::processEvents();
    DiagramPlot* zp = d->plot(Tab::ZP);
    zp->yAxis->setRange(0, 0.05); // the liquids cross the top edge
    const QString path = m_fixture.dir->filePath("zp.svg");
    QVERIFY(d->exportImage(path, Tab::ZP));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QVector<QPointF> points = modelLinePoints(file.readAll());
    QVERIFY(points.size() > 200);
    const QRectF r = QRectF(zp->axisRect()->rect()).adjusted(-1.5, -1.5, 1.5, 1.5);
    for (const QPointF& p : points)
        QVERIFY2(r.contains(p), qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    QCOMPARE(zp->yAxis->range().upper, 0.05); // the window's view, not the initial one
}

void TestDiagrams::savesWriteTheChosenTypeAndRememberOnlySuccess_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("image");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // "" when nothing may be written
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<QString>("message");
    QTest::newRow("SVG chosen, no suffix") << int(Tab::PV) << true << 1 << "plot"
                                           << "plot.svg" << QByteArray("<?xml") << "";
    QTest::newRow("PNG chosen, .PDF typed") << int(Tab::ZP) << true << 0 << "zp.PDF"
                                            << "zp.PDF" << QByteArray("%PDF-") << "";
    QTest::newRow("PNG chosen, no suffix") << int(Tab::PT) << true << 0 << "pt"
                                           << "pt.png" << QByteArray("\x89PNG") << "";
    QTest::newRow(".jpg refused") << int(Tab::PV) << true << 0 << "plot.jpg"
                                  << "" << QByteArray() << "PNG (.png), SVG (.svg) or PDF";
    QTest::newRow("data, no suffix") << int(Tab::Table) << false << 0 << "benz_zp"
                                     << "benz_zp.csv" << QByteArray("Model,") << "";
    QTest::newRow("into /proc") << int(Tab::ZP) << false << 0 << "/proc/tavrel1.csv"
                                << "" << QByteArray()
                                << "could not be written to\n/proc/tavrel1.csv\n";
}

// Save Image writes the type chosen, or the suffix typed, and refuses another one ("plot.jpg"
// got PNG bytes); a name without suffix gets the filter's; the dialog suggests a name for the
// component, state and tab; a failed save says why and leaves the remembered folder alone
// (a save into /proc made every later dialog open there and hang).
void TestDiagrams::savesWriteTheChosenTypeAndRememberOnlySuccess()
{
    QFETCH(int, tab);
    QFETCH(bool, image);
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);
    QFETCH(QString, message);
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    d->findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(tab);
    const QDir out(m_fixture.dir->filePath("out"));
    QVERIFY(out.mkpath("."));
    m_fixture.settings->setExportFolder(out.path().toStdString());
    QString suggested;
    d->setSaveDialog(
        [&](const QString&, const QString& path, const QString& filters, QString* chosen) {
            suggested = path;
            *chosen = filters.split(";;").at(filter);
            return QDir::isAbsolutePath(typed) ? typed : out.filePath(typed);
        });
    if (image)
        d->cmdSaveImage_Click();
    else
        d->cmdSaveData_Click();
    static const char* const kTabNames[] = {"P-V", "Z-P", "P-T", "table"};
    QCOMPARE(QFileInfo(suggested).dir().path(), out.path());
    QCOMPARE(QFileInfo(suggested).completeBaseName(),
             QString("Benzene_25C_1bar_") + kTabNames[tab]);
    QCOMPARE(QFileInfo(suggested).suffix(), image ? "png" : "csv");
    QStringList files = out.entryList(QDir::Files);
    if (written.isEmpty()) {
        QVERIFY(files.isEmpty());
        QCOMPARE(closer.seen.size(), 1);
        QVERIFY2(closer.seen.front().contains(message), qPrintable(closer.seen.front()));
        QVERIFY(!closer.seen.front().endsWith("\n")); // the reason follows
    } else {
        QCOMPARE(files, QStringList{written});
        QFile f(out.filePath(written));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(magic.size()), magic);
        QVERIFY(closer.seen.isEmpty());
    }
    // Remembered only after success; here the folder was the same, so try another one.
    const QDir other(m_fixture.dir->filePath("other"));
    QVERIFY(other.mkpath("."));
    typed = written.isEmpty() ? typed : other.filePath(written);
    if (image)
        d->cmdSaveImage_Click();
    else
        d->cmdSaveData_Click();
    QCOMPARE(QString::fromStdString(m_fixture.settings->exportFolder().value_or("")),
             written.isEmpty() ? out.path() : other.path());
}

// The read-out names curves as the legend does and belongs to the diagram under the pointer:
// a tab change or a new solve clears it back to the hints, which the table does not show.
void TestDiagrams::readoutFollowsTabsAndSolves()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    d->resize(960, 640);
    auto* tabs = d->findChild<QTabWidget*>("tabDiagrams");
    tabs->setCurrentIndex(int(Tab::PV));
    QApplication::processEvents();
    DiagramPlot* pv = d->plot(Tab::PV);
    pv->replot(QCustomPlot::rpImmediateRefresh);
    // On the Peng-Robinson isotherm where it crosses the state pressure on the vapour side.
    const QVector<QPointF> roots = pv->rootMarkers(state::Row::PR);
    QVERIFY(!roots.isEmpty());
    const QPoint at(int(pv->xAxis->coordToPixel(roots.back().x())),
                    int(pv->yAxis->coordToPixel(roots.back().y())));
    const auto pointTo = [pv](QPoint pixel) {
        QMouseEvent move(QEvent::MouseMove, pixel, pv->mapToGlobal(pixel), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pv, &move);
    };
    pointTo(at);
    QVERIFY2(d->readoutText().startsWith("V = "), qPrintable(d->readoutText()));
    QVERIFY2(d->readoutText().contains("nearest: "), qPrintable(d->readoutText()));
    QVERIFY(!d->readoutText().contains(" P   ") && !d->readoutText().contains("PR P"));
    tabs->setCurrentIndex(int(Tab::ZP));
    QVERIFY(d->readoutText().startsWith("Wheel: zoom"));
    tabs->setCurrentIndex(int(Tab::Table));
    QCOMPARE(d->readoutText(), QString());
    tabs->setCurrentIndex(int(Tab::PV));
    pointTo(at + QPoint(1, 0));
    QVERIFY(!d->readoutText().startsWith("Wheel"));
    solve("Benzene", "30", "1");
    QVERIFY(d->readoutText().startsWith("Wheel: zoom"));
    // Zoomed out of every limit, the view stays at physical temperatures.
    d->plot(Tab::PT)->xAxis->setRange(-50000, 1e9);
    QCOMPARE_GE(d->plot(Tab::PT)->xAxis->range().lower, 0.0);
}

// PNG files and the clipboard carry the pixels the screen shows: at 200 % twice each way.
void TestDiagrams::imagesAtScreenDensity()
{
    MessageBoxCloser closer;
    solve("Benzene", "25", "1");
    frmDiagrams* d = openDiagrams();
    d->resize(960, 640);
    d->findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(int(Tab::ZP));
    QApplication::processEvents();
    DiagramPlot* zp = d->plot(Tab::ZP);
    const QSize pixels = zp->size() * zp->devicePixelRatioF();
    const QString png = m_fixture.dir->filePath("zp.png");
    QVERIFY(d->exportImage(png, Tab::ZP));
    QImage image;
    QVERIFY(image.load(png, "PNG"));
    QCOMPARE(image.size(), pixels);
    d->copyToClipboard();
    QCOMPARE(QApplication::clipboard()->image().size(), pixels);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestDiagrams test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmDiagrams.moc"
