#include "ui/guarded.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

#include <stdexcept>

namespace {

struct Report {
    QWidget* owner = nullptr;
    QString text;
    int count = 0;
};
Report g_report;

void record(QWidget* owner, const QString& text)
{
    g_report.owner = owner;
    g_report.text = text;
    ++g_report.count;
}

} // namespace

class TestGuarded : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        g_report = {};
        ui::setErrorSink(&record);
    }
    void cleanup() { ui::setErrorSink(nullptr); }

    void whatEscapesAHandlerIsShown_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("count");
        QTest::newRow("returns normally") << 0 << QString() << 0;
        QTest::newRow("standard exception") << 1 << QString("disk full") << 1;
        QTest::newRow("anything else") << 2 << QString("Unexpected internal error") << 1;
    }
    void whatEscapesAHandlerIsShown()
    {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QFETCH(int, count);
        QWidget owner;
        bool after = false;
        ui::guarded(&owner, [&] {
            if (kind == 1)
                throw std::runtime_error("disk full");
            if (kind == 2)
                throw 42;
            after = true;
        });
        QCOMPARE(g_report.count, count);
        QCOMPARE(g_report.text, shown);
        QCOMPARE(after, kind == 0);
        if (count > 0)
            QCOMPARE(g_report.owner, &owner);
    }

    void sinkIsReplaceable()
    {
        QVERIFY(ui::setErrorSink(nullptr) == &record);
        QVERIFY(ui::setErrorSink(&record) == nullptr);
    }
};

QTEST_MAIN(TestGuarded)
#include "tst_guarded.moc"
