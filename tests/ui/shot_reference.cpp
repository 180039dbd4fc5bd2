// Shows the diagrams window with the reference equation of state for a solved state, or its
// scorecard, on the real display and waits, so that a screenshot can be taken
// (scripts/reference_screenshots.sh). Not a test.
// Arguments: component, °C, bar, then the tab (0 to 3) or "scorecard", optionally a CSV of
// measured points to import.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/seed.h"
#include "ui/frmDiagrams.h"
#include "ui/reference_view.h"
#include "ui/scorecard_window.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const std::string component = argv[1];
    QTemporaryDir dir;
    const std::string path = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(path);
    store::ComponentDatabase db = store::ComponentDatabase::open(path);
    core::MainViewModel vm;
    if (!store::loadComponent(db, component, vm))
        return 1;
    vm.setTxtTemp(argv[2]);
    vm.txtTemp_LostFocus();
    vm.setTxtPress(argv[3]);
    vm.txtPress_LostFocus();
    vm.cmdSolve_Click();
    ui::frmDiagrams window;
    window.move(0, 0);
    window.show();
    window.showState(vm, db, component, true, true);
    if (argc > 5)
        window.referenceBar()->importFile(argv[5]);
    if (QString(argv[4]) == "scorecard") {
        window.referenceBar()->openScorecard();
        window.referenceBar()->scorecardWindow()->move(0, 0);
    } else {
        window.findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(QString(argv[4]).toInt());
    }
    QTimer::singleShot(1500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
