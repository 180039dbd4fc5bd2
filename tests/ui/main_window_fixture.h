#pragma once

#include "store/seed.h"
#include "store/settings.h"
#include "ui/frmEOS1Main.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

/// A main window over a fresh copy of the shipped database and settings of its own in a
/// temporary folder, as a test's init() opens it. The window deletes itself when closed.
struct MainWindowFixture {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<store::Settings> settings;

    ui::frmEOS1Main* open()
    {
        dir = std::make_unique<QTemporaryDir>();
        const std::string db = dir->filePath("Components.mdb").toStdString();
        store::createShippedDatabase(db);
        settings = std::make_unique<store::Settings>(dir->filePath("settings.ini").toStdString());
        auto* win = new ui::frmEOS1Main;
        win->setAttribute(Qt::WA_DeleteOnClose);
        win->Form_Load(*settings, db);
        win->show();
        QApplication::setActiveWindow(win);
        return win;
    }
};
