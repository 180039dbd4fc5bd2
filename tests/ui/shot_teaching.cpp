// Shows the diagrams window's teaching tab for propane on the real display and waits, so that a
// screenshot can be taken (scripts/teaching_screenshots.sh). Not a test.
// Argument: domes (nine reduced domes with spinodals), areas (Peng-Robinson's equal areas at
// 0.8 Tc) or family (Peng-Robinson isotherms from 0.7 to 1.2 Tc).
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/seed.h"
#include "ui/frmDiagrams.h"
#include "ui/teaching_tab.h"

#include <QApplication>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString what = argc > 1 ? argv[1] : "domes";
    QTemporaryDir dir;
    const std::string path = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(path);
    store::ComponentDatabase db = store::ComponentDatabase::open(path);
    core::MainViewModel vm;
    if (!store::loadComponent(db, "Propane", vm))
        return 1;
    vm.setTxtTemp("20");
    vm.txtTemp_LostFocus();
    vm.setTxtPress("5");
    vm.txtPress_LostFocus();
    vm.cmdSolve_Click();
    ui::frmDiagrams window;
    window.setWindowTitle("Diagrams");
    window.resize(1100, 760);
    window.move(0, 0);
    window.show();
    window.findChild<QTabWidget*>("tabDiagrams")
        ->setCurrentIndex(static_cast<int>(ui::frmDiagrams::Tab::Teaching));
    window.showState(vm, db, "Propane", true, true);
    ui::TeachingTab* t = window.teaching();
    t->setModel(state::Row::PR);
    t->slider()->setValue(800);
    if (what == "areas")
        t->setView(plots::TeachingView::EqualAreas);
    else if (what == "family")
        t->setView(plots::TeachingView::IsothermFamily);
    else
        t->setView(plots::TeachingView::Domes);
    QTimer::singleShot(1500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
