#include "ui/frmEOS1Instruct.h"
#include "ui/frmFigure.h"
#include "ui/frmInfoEOS.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

namespace {

// Lets closed windows (WA_DeleteOnClose) actually go.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QList<QWidget*> visibleWindowsNamed(const QString& name)
{
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            out << w;
    return out;
}

void clickButton(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Shows window W afresh, checks its viewer, scrolls it to the end and closes it.
template <class W> void checkDocument(int minCharacters)
{
    W* w = ui::showSingle<W>();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto* viewer = w->template findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
    QVERIFY(viewer);
    QVERIFY(viewer->isReadOnly());
    QVERIFY2(viewer->document()->characterCount() > minCharacters,
             qPrintable(QString::number(viewer->document()->characterCount())));
    QScrollBar* bar = viewer->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    QVERIFY2(bar->maximum() > 0, "the document must be longer than its viewer");
    bar->setValue(bar->maximum());
    w->close();
    flushDeletes();
    QVERIFY(!ui::openSingle<W>());
}

QWidget* showByName(const QString& name)
{
    if (name == u"frmInfoEOS")
        return ui::showSingle<ui::frmInfoEOS>();
    if (name == u"frmEOS1Instruct")
        return ui::showSingle<ui::frmEOS1Instruct>();
    if (name == u"frmFig1")
        return ui::showSingle<ui::frmFig1>();
    if (name == u"frmFig2")
        return ui::showSingle<ui::frmFig2>();
    return ui::showSingle<ui::frmFig3>();
}

} // namespace

class tst_docwindows : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void layout_data();
    void layout();
    void figureLabelsFitTheirFrames();
    void pressingFigure2TwiceLeavesOneInFront();
    void allFiguresOpenBesideTheInformationWindow();
    void figureOutlivesTheInformationWindow();
    void closedWindowIsRebuiltAtTheTop();
    void windowClosedButNotYetDeletedIsNotReused();
};

void tst_docwindows::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    flushDeletes();
}

void tst_docwindows::layout_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    // Twips from the design divided by 12.
    const QSize info(753, 579);
    const QColor grey(128, 128, 128);
    QTest::newRow("info viewer") << "frmInfoEOS"
                                 << "Equations of State" << info << grey << "RichTextBox1"
                                 << QRect(10, 10, 641, 561) << QString();
    QTest::newRow("info Figure 1") << "frmInfoEOS"
                                   << "Equations of State" << info << grey << "cmdFig1"
                                   << QRect(660, 20, 91, 41) << "Figure 1";
    QTest::newRow("info Figure 2") << "frmInfoEOS"
                                   << "Equations of State" << info << grey << "cmdFig2"
                                   << QRect(660, 80, 91, 41) << "Figure 2";
    QTest::newRow("info Figure 3") << "frmInfoEOS"
                                   << "Equations of State" << info << grey << "cmdFig3"
                                   << QRect(660, 140, 91, 41) << "Figure 3";
    QTest::newRow("instructions viewer") << "frmEOS1Instruct"
                                         << "Tavrel1" << QSize(661, 623) << QColor(0, 0, 192)
                                         << "RichTextBox1" << QRect(10, 10, 641, 611) << QString();

    const QColor olive(128, 128, 0);
    QTest::newRow("fig1 picture") << "frmFig1"
                                  << "Figure 1 -> T-P Phase Diagram" << QSize(672, 586) << olive
                                  << "Image1" << QRect(10, 10, 653, 543) << QString();
    QTest::newRow("fig1 caption") << "frmFig1"
                                  << "Figure 1 -> T-P Phase Diagram" << QSize(672, 586) << olive
                                  << "Label1" << QRect(80, 560, 491, 21)
                                  << "T-P diagram for typical Component (not Water)";
    QTest::newRow("fig2 picture") << "frmFig2"
                                  << "Figure 2 ->  V-P Phase Diagram" << QSize(662, 503) << olive
                                  << "Image1" << QRect(10, 10, 643, 458) << QString();
    QTest::newRow("fig2 caption") << "frmFig2"
                                  << "Figure 2 ->  V-P Phase Diagram" << QSize(662, 503) << olive
                                  << "Label1" << QRect(100, 480, 461, 21)
                                  << "V-P diagram for a pure fluid.";
    QTest::newRow("fig3 picture") << "frmFig3"
                                  << "Figure 3 -> T-P Vapor Pressure Curve" << QSize(515, 556)
                                  << olive << "Image1" << QRect(10, 10, 498, 468) << QString();
    QTest::newRow("fig3 caption")
        << "frmFig3"
        << "Figure 3 -> T-P Vapor Pressure Curve" << QSize(515, 556) << olive << "Label1"
        << QRect(40, 490, 441, 61)
        << QStringLiteral("T-P diagram showing the vapor-\u00adpressure curve for a pure substance "
                          "and constant-volume lines in the single-phase regions.");
}

void tst_docwindows::layout()
{
    QFETCH(QString, window);
    QFETCH(QString, title);
    QFETCH(QSize, client);
    QFETCH(QColor, background);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    QWidget* w = showByName(window);
    QCOMPARE(w->objectName(), window);
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(w->size(), client);
    QCOMPARE(w->minimumSize(), client);
    QCOMPARE(w->maximumSize(), client);
    QCOMPARE(w->palette().color(QPalette::Window), background);
    QVERIFY(!w->parentWidget());

    auto* c = w->findChild<QWidget*>(control);
    QVERIFY(c);
    QCOMPARE(c->geometry(), geometry);
    if (auto* button = qobject_cast<QPushButton*>(c))
        QCOMPARE(button->text(), text);
    if (auto* label = qobject_cast<QLabel*>(c); label && control == u"Label1")
        QCOMPARE(label->text(), text);
    if (auto* label = qobject_cast<QLabel*>(c); label && control == u"Image1")
        QCOMPARE(label->pixmap().size(), geometry.size());
}

// The captions are bold Liberation Mono (for Courier New) at 9 pt of the 120 px/inch design.
void tst_docwindows::figureLabelsFitTheirFrames()
{
    const QList<QWidget*> windows{ui::showSingle<ui::frmFig1>(), ui::showSingle<ui::frmFig2>(),
                                  ui::showSingle<ui::frmFig3>()};
    for (QWidget* w : windows) {
        auto* label = w->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->font().family(), u"Liberation Mono");
        QCOMPARE(label->font().pixelSize(), 15);
        QVERIFY(label->font().bold());
        QVERIFY(label->wordWrap());
        const int needed = label->heightForWidth(label->width());
        QVERIFY2(
            needed <= label->height(),
            qPrintable(w->objectName() + QStringLiteral(": needs ") + QString::number(needed)));
    }
}

void tst_docwindows::pressingFigure2TwiceLeavesOneInFront()
{
    ui::frmInfoEOS* info = ui::showSingle<ui::frmInfoEOS>();
    QVERIFY(QTest::qWaitForWindowExposed(info));
    clickButton(info, "cmdFig2");
    QWidget* first = ui::openSingle<ui::frmFig2>();
    QVERIFY(first);
    clickButton(info, "cmdFig1");
    QVERIFY(QTest::qWaitForWindowActive(ui::openSingle<ui::frmFig1>()));

    clickButton(info, "cmdFig2");
    QCOMPARE(visibleWindowsNamed(QStringLiteral("frmFig2")).size(), 1);
    QCOMPARE(ui::openSingle<ui::frmFig2>(), first);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(QApplication::activeWindow(), first);
}

void tst_docwindows::allFiguresOpenBesideTheInformationWindow()
{
    ui::frmInfoEOS* info = ui::showSingle<ui::frmInfoEOS>();
    clickButton(info, "cmdFig1");
    clickButton(info, "cmdFig2");
    clickButton(info, "cmdFig3");
    for (const char* name : {"frmInfoEOS", "frmFig1", "frmFig2", "frmFig3"}) {
        const QList<QWidget*> found = visibleWindowsNamed(QString::fromLatin1(name));
        QCOMPARE(found.size(), 1);
        QVERIFY(found.front()->isWindow());
        QVERIFY(!found.front()->parentWidget());
    }
}

void tst_docwindows::figureOutlivesTheInformationWindow()
{
    ui::frmInfoEOS* info = ui::showSingle<ui::frmInfoEOS>();
    clickButton(info, "cmdFig3");
    QPointer<QWidget> fig = ui::openSingle<ui::frmFig3>();
    QVERIFY(fig);
    info->close();
    flushDeletes();
    QVERIFY(!ui::openSingle<ui::frmInfoEOS>());
    QVERIFY(fig);
    QVERIFY(fig->isVisible());
}

// Both documents load, start at the top and are longer than their viewer, also when the window
// is shown again after the user scrolled and closed it.
void tst_docwindows::closedWindowIsRebuiltAtTheTop()
{
    checkDocument<ui::frmInfoEOS>(2000);
    checkDocument<ui::frmInfoEOS>(2000);
    checkDocument<ui::frmEOS1Instruct>(1000);
    checkDocument<ui::frmEOS1Instruct>(1000);
}

// close() hides at once and deletes later; showing again before the deletion must build a new
// window rather than show one that is about to vanish.
void tst_docwindows::windowClosedButNotYetDeletedIsNotReused()
{
    QPointer<ui::frmFig1> old = ui::showSingle<ui::frmFig1>();
    old->close();
    ui::frmFig1* fresh = ui::showSingle<ui::frmFig1>();
    QVERIFY(fresh != old);
    flushDeletes();
    QVERIFY(!old);
    QCOMPARE(ui::openSingle<ui::frmFig1>(), fresh);
    QVERIFY(fresh->isVisible());
}

QTEST_MAIN(tst_docwindows)
#include "tst_docwindows.moc"
