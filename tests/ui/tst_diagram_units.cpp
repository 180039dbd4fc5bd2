#include "store/settings.h"
#include "tests/support/reference_components.h"
#include "ui/frmDiagrams.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using ui::frmDiagrams;
using Tab = frmDiagrams::Tab;

// The window's units choice: what the user picks reaches the axes, the read-out and the
// exports, and is there again in the next window.
class TestDiagramUnits : public QObject {
    Q_OBJECT

private slots:
    void choiceReachesAxesReadoutExportsAndTheNextWindow();
};

namespace {

plots::DiagramInput benzene()
{
    plots::DiagramInput in;
    in.component = "Benzene";
    in.state.constants = test_components::kBenzeneNoKappa;
    in.state.conditions = {298.15f, 1.0f};
    in.solvedBefore = true;
    return in;
}

void pick(frmDiagrams& w, const char* box, const QString& label)
{
    auto* combo = w.findChild<QComboBox*>(box);
    QVERIFY(combo != nullptr);
    combo->setCurrentIndex(combo->findText(label));
}

} // namespace

void TestDiagramUnits::choiceReachesAxesReadoutExportsAndTheNextWindow()
{
    QTemporaryDir dir;
    const store::Settings settings(dir.filePath("settings.ini").toStdString());
    {
        frmDiagrams w(settings);
        w.showInput(benzene());
        pick(w, "cboTempUnit", "°F");
        pick(w, "cboPressUnit", "psia");
        QCOMPARE(w.plot(Tab::PT)->xAxis->label(), QString("T (°F)"));
        QCOMPARE(w.plot(Tab::PT)->yAxis->label(), QString("P (psia)"));
        w.resize(900, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString readout = w.plot(Tab::PT)->readout(QPointF(300, 200));
        QVERIFY2(readout.contains(" °F   P = ") && readout.contains(" psia"), qPrintable(readout));

        const QString csv = dir.filePath("pt.csv");
        QVERIFY(w.exportCsv(csv, Tab::PT));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString header = QString::fromUtf8(file.readLine());
        QVERIFY2(header.startsWith("T (°F),") && header.contains("PR Psat (psia)"),
                 qPrintable(header));
    }
    frmDiagrams next(settings);
    next.showInput(benzene());
    QCOMPARE(next.findChild<QComboBox*>("cboTempUnit")->currentText(), QString("°F"));
    QCOMPARE(next.plot(Tab::PV)->yAxis->label(), QString("P (psia)"));
    QCOMPARE(next.plot(Tab::PV)->xAxis->label(), QString("V (cm3/mol)")); // not chosen
}

QTEST_MAIN(TestDiagramUnits)
#include "tst_diagram_units.moc"
