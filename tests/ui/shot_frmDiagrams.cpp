// Shows the diagrams window of a solved state on the real display and waits, so that a
// screenshot can be taken (scripts/diagram_screenshots.sh). Not a test.
// Arguments: the tab (0 to 3), then optionally the units as "T,P,V" symbols ("F,psia,", ""
// for the program's own), the component, temperature and pressure (Benzene, 25 °C, 1 bar).
// SHOT_LOG_P set: pressure on a logarithmic axis.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/seed.h"
#include "ui/frmDiagrams.h"

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int tab = argc > 1 ? QString(argv[1]).toInt() : 0;
    const std::string component = argc > 3 ? argv[3] : "Benzene";
    const std::string temp = argc > 4 ? argv[4] : "25";
    const std::string press = argc > 5 ? argv[5] : "1";
    QTemporaryDir dir;
    const std::string path = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(path);
    store::ComponentDatabase db = store::ComponentDatabase::open(path);
    core::MainViewModel vm;
    if (!store::loadComponent(db, component, vm))
        return 1;
    vm.setTxtTemp(temp);
    vm.txtTemp_LostFocus();
    vm.setTxtPress(press);
    vm.txtPress_LostFocus();
    vm.cmdSolve_Click();
    ui::frmDiagrams window;
    window.move(0, 0);
    window.show();
    window.findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(tab);
    if (argc > 2 && *argv[2] != 0) {
        const QStringList symbols = QString(argv[2]).split(',');
        std::array<std::string, 3> units;
        for (qsizetype i = 0; i < std::min<qsizetype>(symbols.size(), 3); ++i)
            units[static_cast<std::size_t>(i)] = symbols[i].toStdString();
        window.setUnits(plots::unitsFromSymbols(units));
    }
    window.showState(vm, db, component, true, true);
    if (qEnvironmentVariableIsSet("SHOT_LOG_P"))
        window.findChild<QCheckBox*>("chkLogP")->setChecked(true);
    QTimer::singleShot(1500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
