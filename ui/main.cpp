#include "store/settings.h"
#include "ui/frmEOS1Main.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavrel1");

    store::Settings settings = store::Settings::forUser();
    auto* main = new ui::frmEOS1Main;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->Form_Load(settings, store::defaultDatabasePath());
    main->show();
    return QApplication::exec();
}
