#include "ui/app_identity.h"

#include "state/version.h"
#include "store/seed.h"
#include "ui/assets.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <string>

// The identity resources live in a static library; they are registered only when named, and
// Q_INIT_RESOURCE must be used outside any namespace.
static void initIdentityResources() { Q_INIT_RESOURCE(identity); }

namespace ui {
namespace {

// The reverse-DNS id of the desktop entry, the icon and the AppStream metadata; set by
// packaging/CMakeLists.txt, which installs the files under that name.
constexpr char kDesktopId[] = TAVREL1_APP_ID;

// The sizes of the hicolor theme that menus, task bars and About boxes ask for.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

} // namespace

void identifyApplication()
{
    QApplication::setApplicationVersion(QString::fromLatin1(state::kVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setWindowIcon(appIcon());
}

QIcon appIcon()
{
    static const bool registered = (initIdentityResources(), true);
    Q_UNUSED(registered);
    QIcon icon;
    for (int side : kIconSizes)
        icon.addPixmap(
            renderSvgAsset(QStringLiteral("app_icon.svg"), QSize(side, side), Qt::transparent));
    return icon;
}

QString aboutText()
{
    return QStringLiteral(
               "<h3>Tavrel1 %1</h3>"
               "<p>The volumetric behaviour of one pure fluid: liquid and vapour molar volumes, "
               "compressibility factor and densities from nine equations of state side by "
               "side.</p>"
               "<p>Program licence: MIT. Component data licence: MIT (see LICENSE-data). "
               "The program as built links the QCustomPlot library, which is under the GNU "
               "General Public License version 3, so this binary is distributed under the "
               "GPL-3.</p>"
               "<p><b>Component data.</b> %2 pure components. Critical constants, acentric "
               "factors and Antoine coefficients are published values: the IUPAC series "
               "<i>Vapor-Liquid Critical Properties of Elements and Compounds</i>, the "
               "reference equations of state of NIST REFPROP / CoolProp, the CRC Handbook of "
               "Chemistry and Physics, Mathews (1972), Horstmann et al. (2005), Yaws (2008), "
               "Passut and Danner (1973), Poling, Prausnitz and O'Connell (2001), "
               "Landolt-B&ouml;rnstein IV/20 and the NIST Chemistry WebBook, read from the "
               "data tables of the <i>chemicals</i> library (MIT licence, &copy; Caleb Bell). "
               "The Stryjek-Vera constants are those of Stryjek and Vera (1986, two papers) "
               "and Proust and Vera (1989); molar masses follow the IUPAC (CIAAW) standard "
               "atomic weights.</p>"
               "<p>Every source with its full reference: CREDITS.md in the documentation "
               "folder (share/doc/tavrel1).</p>")
        .arg(QString::fromLatin1(state::kVersion),
             QString::fromStdString(std::to_string(store::shippedComponentCount())));
}

void showAbout(QWidget* parent)
{
    QMessageBox::about(parent, QString::fromLatin1(kAboutTitle), aboutText());
}

QAction* makeAboutAction(QWidget* parent)
{
    auto* action = new QAction(QString::fromLatin1(kAboutTitle), parent);
    action->setObjectName(QStringLiteral("actAbout"));
    action->setMenuRole(QAction::AboutRole);
    QObject::connect(action, &QAction::triggered, parent, [parent] { showAbout(parent); });
    return action;
}

void addAboutToDesktopMenu(QWidget* window)
{
    auto* bar = new QMenuBar(window);
    if (!bar->isNativeMenuBar()) {
        delete bar;
        return;
    }
    QMenu* help = bar->addMenu(QObject::tr("&Help"));
    help->addAction(makeAboutAction(window));
}

} // namespace ui
