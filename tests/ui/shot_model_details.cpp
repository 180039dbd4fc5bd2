// Shows the model details window of a solved state (Benzene, 25 °C, 1 bar, Peng-Robinson) on
// the real display and waits, so that a screenshot can be taken. Not a test.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/seed.h"
#include "ui/frmDiagrams.h"
#include "ui/model_details.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(path);
    store::ComponentDatabase db = store::ComponentDatabase::open(path);
    core::MainViewModel vm;
    if (!store::loadComponent(db, "Benzene", vm))
        return 1;
    vm.setTxtTemp("25");
    vm.txtTemp_LostFocus();
    vm.setTxtPress("1");
    vm.txtPress_LostFocus();
    vm.cmdSolve_Click();
    ui::frmDiagrams diagrams;
    diagrams.showState(vm, db, "Benzene", true, true);
    diagrams.findChild<QPushButton*>("cmdDetails")->click();
    ui::ModelDetailsWindow* details = diagrams.detailsWindow();
    details->setModel(state::Row::PR);
    details->move(0, 0);
    QTimer::singleShot(1500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
