// The reference equation of state in the diagrams window: the scorecard window ranks the nine
// models, and imported points are reported by line, drawn and scored.
#include "plots/diagram_input.h"
#include "ui/frmDiagrams.h"
#include "ui/reference_view.h"
#include "ui/scorecard_window.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

plots::DiagramInput water()
{
    plots::DiagramInput in;
    in.component = "Water";
    in.state.constants = {18.015f, 647.096f, 220.64f, 55.95f, 0.3443f, -0.06635f, 0.0199f, 0.443f};
    in.state.conditions = {373.15f, 1.01325f};
    in.solvedBefore = true;
    in.tempText = "100";
    in.pressText = "1.01325";
    return in;
}

} // namespace

class TstScorecard : public QObject {
    Q_OBJECT
private slots:
    void scorecardRanksTheNineModels()
    {
        ui::frmDiagrams window;
        window.showInput(water());
        window.findChild<QPushButton*>("cmdScorecard")->click();
        ui::ScorecardWindow* card = window.referenceBar()->scorecardWindow();
        QVERIFY(card != nullptr && card->isVisible());
        auto* grid = card->findChild<QTableWidget*>("grdScores");
        QCOMPARE(grid->rowCount(), 9);
        double previous = 0;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QCOMPARE(grid->item(r, 0)->text(), QString::number(r + 1));
            const double aad = grid->item(r, 2)->text().toDouble();
            QVERIFY2(aad >= previous, qPrintable(grid->item(r, 1)->text()));
            previous = aad;
            QVERIFY(!grid->item(r, 7)->text().isEmpty()); // the worst state is named
        }
        QVERIFY(card->text(',').find("Peng-Robinson") != std::string::npos);
    }

    void importedPointsAreReportedDrawnAndScored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("points.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("T [C],p [bar],rho [kg/m3]\n25,1,997.0\n150,ten,917.3\n300,50,22.05\n");
        file.close();
        ui::frmDiagrams window;
        window.showInput(water());
        const QString report = window.referenceBar()->importFile(path);
        QVERIFY2(report.contains("line 3"), qPrintable(report));
        QCOMPARE(window.referenceBar()->measured().points.size(), std::size_t{2});
        for (const plots::Diagram* d : {&window.diagrams().pv, &window.diagrams().pt})
            QCOMPARE(std::count_if(d->markers.begin(), d->markers.end(),
                                   [](const plots::Marker& m) {
                                       return m.kind == plots::MarkerKind::Measured;
                                   }),
                     2);
        window.referenceBar()->openScorecard();
        auto* data = window.referenceBar()->scorecardWindow()->findChild<QTableWidget*>("grdData");
        QCOMPARE(data->rowCount(), 10); // nine models and the reference
        QCOMPARE(data->item(0, 1)->text(), QString("Reference EOS"));
    }
};

QTEST_MAIN(TstScorecard)
#include "tst_scorecard.moc"
