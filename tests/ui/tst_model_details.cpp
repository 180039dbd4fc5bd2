// The model details window: opened from the diagrams window at the state the diagrams show,
// following it, copying and saving the model shown, and showing its text unclipped.
#include "core/model_details.h"
#include "tests/support/reference_components.h"
#include "ui/frmDiagrams.h"
#include "ui/model_details.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using ui::frmDiagrams;
using ui::ModelDetailsWindow;

namespace {

plots::DiagramInput benzene(float t_K, float p_bar, bool solvedBefore = true)
{
    plots::DiagramInput in;
    in.component = "Benzene";
    in.state.constants = test_components::kBenzene;
    in.state.conditions.TempK = t_K;
    in.state.conditions.PressBar = p_bar;
    in.solvedBefore = solvedBefore;
    return in;
}

QStringList column(QTableWidget* grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->item(r, c)->text();
    return out;
}

} // namespace

class TestModelDetails : public QObject {
    Q_OBJECT

private slots:
    void opensAtTheDiagramsStateAndFollowsIt();
    void copyAndSaveTakeTheShownModel();
    void nothingClipped();

private:
    ModelDetailsWindow* open(frmDiagrams& d)
    {
        d.findChild<QPushButton*>("cmdDetails")->click();
        ModelDetailsWindow* w = d.detailsWindow();
        if (w != nullptr && !QTest::qWaitForWindowExposed(w))
            return nullptr;
        return w;
    }
};

// Before any solve the diagrams show the stand-in state, not the boxes' text: the details
// must show the same one, and follow each new state while open (a stale view shows the old
// roots under the new heading, or the old heading).
void TestModelDetails::opensAtTheDiagramsStateAndFollowsIt()
{
    frmDiagrams diagrams;
    diagrams.showInput(benzene(400, 20, false));
    ModelDetailsWindow* w = open(diagrams);
    QVERIFY(w != nullptr);
    auto* heading = w->findChild<QLabel*>("lblHeading");
    QVERIFY2(heading->text().contains("298.15 K (25 °C) and 1.01325 bar"),
             qPrintable(heading->text()));

    struct {
        float t_K, p_bar;
        state::Row model;
        QStringList tags;
        QString stable;
    } const kStates[] = {
        {298.15f, 1, state::Row::PR, {"stable", "unstable", "metastable"}, "Stable root: V = 8"},
        {600, 10, state::Row::PR, {"stable"}, "Stable root: V = 4"},
        {298.15f, 100, state::Row::Vir, {"unphysical"}, "No stable root: "},
    };
    for (const auto& s : kStates) {
        diagrams.showInput(benzene(s.t_K, s.p_bar));
        w->findChild<QComboBox*>("cboModel")->setCurrentIndex(static_cast<int>(s.model));
        QCOMPARE(w->model(), s.model);
        QVERIFY2(heading->text().contains(QString::number(static_cast<double>(s.p_bar)) + " bar"),
                 qPrintable(heading->text()));
        QCOMPARE(column(w->findChild<QTableWidget*>("grdRoots"), 3), s.tags);
        QVERIFY2(w->findChild<QLabel*>("lblStable")->text().startsWith(s.stable),
                 qPrintable(w->findChild<QLabel*>("lblStable")->text()));
        const int properties = w->findChild<QTableWidget*>("grdProperties")->rowCount();
        QCOMPARE(properties, s.stable.startsWith("No") ? 0 : analysis::kPropertyCount);
    }
    // A second click raises the same window.
    QCOMPARE(open(diagrams), w);
}

void TestModelDetails::copyAndSaveTakeTheShownModel()
{
    frmDiagrams diagrams;
    diagrams.showInput(benzene(298.15f, 1));
    ModelDetailsWindow* w = open(diagrams);
    QVERIFY(w != nullptr);
    QTemporaryDir dir;
    for (const state::Row model : {state::Row::SRK, state::Row::ESD}) {
        w->findChild<QComboBox*>("cboModel")->setCurrentIndex(static_cast<int>(model));
        w->findChild<QPushButton*>("cmdCopy")->click();
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, QString::fromStdString(core::modelDetailsText(w->details())));
        QVERIFY(copied.startsWith(QString::fromUtf8(state::rowCaption(model).data())));
        QVERIFY(copied.contains("\tJ/(mol·K)\n"));
        const QString path = dir.filePath("details.csv");
        QVERIFY(w->exportCsv(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), core::modelDetailsText(w->details(), ','));
    }
}

// Every cell, caption and button shows its whole text: grids without a horizontal scroll,
// the reasons wrapped into rows tall enough, at any scale the ctest runs set.
void TestModelDetails::nothingClipped()
{
    frmDiagrams diagrams;
    diagrams.showInput(benzene(298.15f, 1));
    ModelDetailsWindow* w = open(diagrams);
    QVERIFY(w != nullptr);
    for (int model = 0; model < state::kRowCount; ++model) {
        w->findChild<QComboBox*>("cboModel")->setCurrentIndex(model);
        QApplication::processEvents();
        for (const char* name : {"grdRoots", "grdParameters", "grdProperties"}) {
            auto* grid = w->findChild<QTableWidget*>(name);
            QVERIFY2(grid->horizontalScrollBar()->maximum() == 0,
                     qPrintable(QString("%1 model %2: %3 wide, columns %4, scroll %5")
                                    .arg(name)
                                    .arg(model)
                                    .arg(grid->viewport()->width())
                                    .arg(grid->horizontalHeader()->length())
                                    .arg(grid->horizontalScrollBar()->maximum())));
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c) {
                    const QTableWidgetItem* item = grid->item(r, c);
                    const QRect cell(0, 0, grid->columnWidth(c) - 6, 10000);
                    const QRect needed =
                        grid->fontMetrics().boundingRect(cell, Qt::TextWordWrap, item->text());
                    QVERIFY2(needed.width() <= cell.width() &&
                                 needed.height() <= grid->rowHeight(r),
                             qPrintable(QString(name) + ": " + item->text()));
                }
        }
        for (QLabel* label : w->findChildren<QLabel*>())
            if (!label->wordWrap())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        for (QPushButton* button : w->findChildren<QPushButton*>())
            QVERIFY(button->width() >= button->sizeHint().width());
    }
}

QTEST_MAIN(TestModelDetails)
#include "tst_model_details.moc"
