// Shows the diagrams window of a solved state on the real display and waits, so that a
// screenshot can be taken (scripts/diagram_screenshots.sh). Not a test; built on request.
#include "store/seed.h"
#include "store/settings.h"
#include "ui/frmDiagrams.h"
#include "ui/frmEOS1Main.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int tab = argc > 1 ? QString(argv[1]).toInt() : 0;
    QTemporaryDir dir;
    const std::string db = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(db);
    store::Settings settings(dir.filePath("settings.ini").toStdString());
    ui::frmEOS1Main main;
    main.Form_Load(settings, db);
    main.show();
    auto* combo = main.findChild<QComboBox*>("cmbComp");
    combo->setCurrentIndex(combo->findText("Benzene"));
    main.findChild<QLineEdit*>("txtTemp")->setFocus();
    QApplication::processEvents();
    const auto type = [&](const char* box, const char* text) {
        auto* edit = main.findChild<QLineEdit*>(box);
        edit->setFocus();
        edit->setText(text);
        emit edit->textEdited(text);
        QApplication::processEvents();
    };
    type("txtTemp", "25");
    type("txtPress", "1");
    main.findChild<QPushButton*>("cmdSolve")->setFocus();
    QApplication::processEvents();
    main.findChild<QPushButton*>("cmdSolve")->click();
    main.findChild<QPushButton*>("cmdDiagrams")->click();
    ui::frmDiagrams* d = ui::openSingle<ui::frmDiagrams>();
    d->move(0, 0);
    d->findChild<QTabWidget*>("tabDiagrams")->setCurrentIndex(tab);
    QTimer::singleShot(1500, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
