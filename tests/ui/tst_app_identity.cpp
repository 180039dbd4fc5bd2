#include "message_box_closer.h"
#include "state/version.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "ui/app_identity.h"
#include "ui/frmEOS1Instruct.h"
#include "ui/program_options.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <sstream>

namespace {

enum class Answer { None, Help, Version };

QAction* aboutAction(const QList<QAction*>& actions)
{
    for (QAction* a : actions)
        if (a->text() == QLatin1String(ui::kAboutTitle))
            return a;
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class tst_app_identity : public QObject {
    Q_OBJECT
private slots:
    void infoOptions_data();
    void infoOptions();
    void unknownArgumentsRefused_data();
    void unknownArgumentsRefused();
    void iconIsDrawnWithATransparentCorner();
    void aboutTextHasVersionLicenceAndDataCredits();
    void instructionsWindowOpensAbout();
    void instructionsDocumentMenuEndsWithAbout();
    void noMenuBarWithoutADesktopMenu();
};

void tst_app_identity::infoOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Answer>("expected");
    QTest::newRow("no arguments: the windows start") << QStringList{} << Answer::None;
    QTest::newRow("Qt's own options are left to Qt")
        << QStringList{"-platform", "offscreen", "-style", "fusion"} << Answer::None;
    QTest::newRow("a near miss is not --version") << QStringList{"--versions"} << Answer::None;
    QTest::newRow("--version") << QStringList{"--version"} << Answer::Version;
    QTest::newRow("--help") << QStringList{"--help"} << Answer::Help;
    QTest::newRow("-h") << QStringList{"-h"} << Answer::Help;
    QTest::newRow("after a Qt option")
        << QStringList{"-platform", "offscreen", "--version"} << Answer::Version;
    QTest::newRow("the first one given wins") << QStringList{"--help", "--version"} << Answer::Help;
}

void tst_app_identity::infoOptions()
{
    QFETCH(QStringList, args);
    QFETCH(Answer, expected);
    std::vector<std::string> argv;
    for (const QString& a : args)
        argv.push_back(a.toStdString());
    std::ostringstream out;
    const std::optional<int> status = ui::answerInfoOption(argv, out);
    const QString text = QString::fromStdString(out.str());
    switch (expected) {
    case Answer::None:
        QVERIFY(!status);
        QVERIFY(text.isEmpty());
        break;
    case Answer::Version:
        QCOMPARE(status, std::optional<int>(0));
        QCOMPARE(text, QStringLiteral("tavrel1 %1\n").arg(state::kVersion));
        QVERIFY2(QRegularExpression(R"(^\d+\.\d+(\.\d+)?$)").match(state::kVersion).hasMatch(),
                 state::kVersion);
        break;
    case Answer::Help:
        QCOMPARE(status, std::optional<int>(0));
        QVERIFY(text.startsWith(QStringLiteral("Usage: tavrel1")));
        QVERIFY(text.contains(QStringLiteral("--version")));
        break;
    }
}

void tst_app_identity::unknownArgumentsRefused_data()
{
    QTest::addColumn<QStringList>("leftover"); // what QApplication left of the arguments
    QTest::addColumn<QString>("refusal");      // first line on stderr; "" when accepted
    QTest::newRow("nothing left: the windows start") << QStringList{} << "";
    QTest::newRow("an unknown option")
        << QStringList{"--bogus"} << "tavrel1: unknown option --bogus";
    QTest::newRow("a one-dash near miss of a Qt option")
        << QStringList{"-platfrom", "xcb"} << "tavrel1: unknown option -platfrom";
    QTest::newRow("a file name") << QStringList{"states.csv"}
                                 << "tavrel1: unexpected argument states.csv";
}

// What Qt does not take is refused as the command line refuses a bad option: the reason and
// the usage on stderr, exit status 2, so a mistyped option is not silently ignored.
void tst_app_identity::unknownArgumentsRefused()
{
    QFETCH(QStringList, leftover);
    QFETCH(QString, refusal);
    std::vector<std::string> args;
    for (const QString& a : leftover)
        args.push_back(a.toStdString());
    std::ostringstream err;
    const std::optional<int> status = ui::refuseUnknownArguments(args, err);
    const QStringList lines = QString::fromStdString(err.str()).split('\n');
    if (refusal.isEmpty()) {
        QVERIFY(!status);
        QVERIFY(err.str().empty());
        return;
    }
    QCOMPARE(status, std::optional<int>(2));
    QCOMPARE(lines.value(0), refusal);
    QVERIFY(lines.value(1).startsWith("Usage: tavrel1 "));
}

void tst_app_identity::iconIsDrawnWithATransparentCorner()
{
    const QIcon icon = ui::appIcon();
    for (int side : {16, 48, 128, 256}) {
        const QImage image = icon.pixmap(QSize(side, side)).toImage();
        QCOMPARE(image.size(), QSize(side, side));
        // The rounded square leaves the corners clear and fills the middle.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(side / 2, side / 2).alpha(), 255);
    }
}

void tst_app_identity::aboutTextHasVersionLicenceAndDataCredits()
{
    const QString text = ui::aboutText();
    for (const char* needed :
         {state::kVersion, "MIT", "Caleb Bell", "Stryjek", "CREDITS.md", "QCustomPlot", "GPL-3"})
        QVERIFY2(text.contains(QLatin1String(needed)), needed);
    // The count is that of the database the program creates, counted there.
    QTemporaryDir dir;
    const std::string path = dir.filePath("Components.mdb").toStdString();
    store::createShippedDatabase(path);
    store::Database db = store::Database::open(path);
    const int stored = db.openRecordset("tblComps").recordCount();
    QVERIFY2(text.contains(QStringLiteral("%1 pure components").arg(stored)), qPrintable(text));
}

void tst_app_identity::instructionsWindowOpensAbout()
{
    auto* w = ui::showSingle<ui::frmEOS1Instruct>();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* about = aboutAction(w->actions());
    QVERIFY(about);
    QCOMPARE(about->menuRole(), QAction::AboutRole);
    MessageBoxCloser closer;
    about->trigger();
    QCOMPARE(closer.seen.size(), 1);
    QVERIFY(closer.seen[0].startsWith(
        QStringLiteral("About Tavrel1|<h3>Tavrel1 %1</h3>").arg(state::kVersion)));
    w->close();
}

void tst_app_identity::instructionsDocumentMenuEndsWithAbout()
{
    auto* w = ui::showSingle<ui::frmEOS1Instruct>();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto* viewer = w->findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
    QVERIFY(viewer);
    emit viewer->customContextMenuRequested(QPoint(20, 20));
    QMenu* menu = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible())
            menu = m;
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.size() > 2);
    QCOMPARE(actions.back()->text(), QString::fromLatin1(ui::kAboutTitle));
    QVERIFY(actions[actions.size() - 2]->isSeparator());
    menu->close();
    w->close();
}

void tst_app_identity::noMenuBarWithoutADesktopMenu()
{
    // The offscreen platform, like a desktop without a global menu, draws no menu bar of its
    // own; a menu bar inside the window would push the fixed layout down.
    QWidget window;
    ui::addAboutToDesktopMenu(&window);
    QVERIFY(!window.findChild<QMenuBar*>());
}

QTEST_MAIN(tst_app_identity)
#include "tst_app_identity.moc"
