#include "store/settings.h"
#include "ui/app_identity.h"
#include "ui/frmEOS1Main.h"
#include "ui/program_options.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <iostream>

int main(int argc, char** argv)
{
    if (const auto status =
            ui::answerInfoOption(std::vector<std::string>(argv + 1, argv + argc), std::cout))
        return *status;
    // QApplication takes the options it knows out of argc and argv; anything left is refused
    // before a window opens.
    QApplication app(argc, argv);
    if (const auto status =
            ui::refuseUnknownArguments(std::vector<std::string>(argv + 1, argv + argc), std::cerr))
        return *status;
    QApplication::setApplicationName(ui::appTitle());
    ui::identifyApplication();

    store::Settings settings = store::Settings::forUser();
    auto* main = new ui::frmEOS1Main;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->Form_Load(settings, store::defaultDatabasePath());
    ui::addAboutToDesktopMenu(main);
    main->show();
    main->activateWindow();
    // For the start-up measurement: once the shown window has been painted, report the
    // resident memory and quit.
    if (qEnvironmentVariableIsSet("TAVREL1_STARTUP_PROBE")) {
        QTimer::singleShot(0, main, [] {
            QFile status("/proc/self/status");
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmRSS"))
                        std::cout << line.constData() << std::endl;
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
