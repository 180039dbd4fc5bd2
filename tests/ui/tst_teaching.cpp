// The teaching tab of the diagrams window: the temperature slider (mouse or arrow keys) redraws
// the plot from a new scene, in every view that depends on temperature.
#include "plots/diagram_input.h"
#include "ui/frmDiagrams.h"
#include "ui/teaching_tab.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(plots::TeachingView)

namespace {

// Every drawn point, summed with weights: any redraw with other data changes it.
double fingerprint(QCustomPlot* plot)
{
    double sum = 0;
    int n = 0;
    for (int i = 0; i < plot->plottableCount(); ++i) {
        if (auto* g = qobject_cast<QCPGraph*>(plot->plottable(i)))
            for (const QCPGraphData& d : *g->data())
                sum += (++n % 7 + 1) * (d.key + d.value);
        if (auto* c = qobject_cast<QCPCurve*>(plot->plottable(i)))
            for (const QCPCurveData& d : *c->data())
                sum += (++n % 7 + 1) * (d.key + d.value);
    }
    return sum;
}

plots::DiagramInput propane()
{
    plots::DiagramInput in;
    in.component = "Propane";
    in.state.constants = {44.1f, 369.8f, 42.48f, 200.0f, 0.152f, 0.03136f, 0, 0};
    in.state.conditions = {293.15f, 5.0f};
    return in;
}

} // namespace

class TestTeaching : public QObject {
    Q_OBJECT

private slots:
    void sliderRedrawsThePlot_data();
    void sliderRedrawsThePlot();
    void equalAreasFollowTheSliderAndStayEqual();
};

void TestTeaching::sliderRedrawsThePlot_data()
{
    QTest::addColumn<plots::TeachingView>("view");
    QTest::addColumn<bool>("isotherms");
    QTest::addColumn<bool>("moves");
    QTest::newRow("domes with isotherms") << plots::TeachingView::Domes << true << true;
    // The domes alone do not depend on the slider: nothing to redraw differently.
    QTest::newRow("domes alone") << plots::TeachingView::Domes << false << false;
    QTest::newRow("equal areas") << plots::TeachingView::EqualAreas << false << true;
    QTest::newRow("isotherm family") << plots::TeachingView::IsothermFamily << false << true;
    QTest::newRow("vapour pressure") << plots::TeachingView::VapourPressure << false << true;
}

void TestTeaching::sliderRedrawsThePlot()
{
    QFETCH(plots::TeachingView, view);
    QFETCH(bool, isotherms);
    QFETCH(bool, moves);
    ui::frmDiagrams window;
    window.show();
    window.findChild<QTabWidget*>("tabDiagrams")
        ->setCurrentIndex(static_cast<int>(ui::frmDiagrams::Tab::Teaching));
    window.showInput(propane());
    ui::TeachingTab* tab = window.teaching();
    tab->setView(view);
    tab->findChild<QCheckBox*>("chkTeachIsotherms")->setChecked(isotherms);
    QSlider* slider = tab->slider();
    slider->setValue(800);
    const double before = fingerprint(tab->plot());
    const double tBefore = tab->scene().t_K;
    QVERIFY(tab->plot()->plottableCount() > 3);

    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(slider->value(), 805);
    QVERIFY(std::fabs(tab->scene().t_K / tBefore - 805.0 / 800) < 1e-12);
    QCOMPARE(fingerprint(tab->plot()) != before, moves);
    QVERIFY(tab->findChild<QLabel*>("lblTeachT")->text() == "0.805");

    // An arrow key on the plot moves the slider back: the same picture again.
    QTest::keyClick(tab->plot(), Qt::Key_Left);
    QCOMPARE(slider->value(), 800);
    QCOMPARE(fingerprint(tab->plot()), before);
}

void TestTeaching::equalAreasFollowTheSliderAndStayEqual()
{
    ui::frmDiagrams window;
    window.show();
    window.findChild<QTabWidget*>("tabDiagrams")
        ->setCurrentIndex(static_cast<int>(ui::frmDiagrams::Tab::Teaching));
    window.showInput(propane());
    ui::TeachingTab* tab = window.teaching();
    tab->setView(plots::TeachingView::EqualAreas);
    tab->setModel(state::Row::PR);
    double lastPsat = 0;
    for (int value : {600, 700, 800, 900, 950}) {
        tab->slider()->setValue(value);
        QVERIFY2(tab->scene().areas, qPrintable(QString::number(value)));
        const analysis::EqualAreas& a = *tab->scene().areas;
        QVERIFY(a.pSat_bar > lastPsat); // the tie-line rises with T
        lastPsat = a.pSat_bar;
        QVERIFY(std::fabs(a.areaLiquid - a.areaVapour) <= 1e-6 * a.areaLiquid);
        QCOMPARE(tab->scene().fills.size(), std::size_t{2});
        QVERIFY(tab->findChild<QLabel*>("lblTeachCaption")->text().contains("area below"));
    }
    // Above the model's critical temperature there is no loop to shade.
    tab->slider()->setValue(1050);
    QVERIFY(!tab->scene().areas);
    QVERIFY(tab->scene().fills.empty());
}

QTEST_MAIN(TestTeaching)
#include "tst_teaching.moc"
