#include "startup/WarmUpThread.h"

#include <QTest>
#include <clocale>
#include <future>
#include <langinfo.h>
#include <string>

namespace {

struct Seen {
    std::string codeset;
    std::string decimalPoint;
};

Seen seenHere()
{
    return {nl_langinfo(CODESET), localeconv()->decimal_point};
}

} // namespace

// The start's worker threads run while the application object sets the process's locale; they
// read the environment's, with C numbers, whatever the process's is meanwhile.
class TestThreadLocale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void workerReadsTheEnvironmentsLocale_data();
    void workerReadsTheEnvironmentsLocale();
};

void TestThreadLocale::init()
{
    std::setlocale(LC_ALL, "C");
}

void TestThreadLocale::cleanup()
{
    qunsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
}

void TestThreadLocale::workerReadsTheEnvironmentsLocale_data()
{
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QByteArray>("codeset");
    QTest::newRow("UTF-8") << QByteArray("C.UTF-8") << QByteArray("UTF-8");
    QTest::newRow("plain C") << QByteArray("C") << QByteArray("ANSI_X3.4-1968");
    QTest::newRow("not installed")
        << QByteArray("xx_NOWHERE.UTF-8") << QByteArray("ANSI_X3.4-1968");
}

void TestThreadLocale::workerReadsTheEnvironmentsLocale()
{
    QFETCH(QByteArray, environment);
    QFETCH(QByteArray, codeset);
    qputenv("LC_ALL", environment);

    std::promise<void> processLocaleChanged;
    std::promise<Seen> seenBefore;
    std::promise<Seen> seenAfter;
    Seen before;
    {
        const WarmUpThread worker([&] {
            seenBefore.set_value(seenHere());
            processLocaleChanged.get_future().wait();
            seenAfter.set_value(seenHere());
        });
        before = seenBefore.get_future().get();
        // The process's locale changes under the running worker, as QApplication changes it.
        std::setlocale(LC_ALL, codeset == "UTF-8" ? "C" : "C.UTF-8");
        processLocaleChanged.set_value();
    }
    QCOMPARE(QByteArray(before.codeset.c_str()), codeset);
    QCOMPARE(QByteArray(before.decimalPoint.c_str()), QByteArray("."));
    QCOMPARE(QByteArray(seenAfter.get_future().get().codeset.c_str()), codeset);
    // The process's own locale is as it was set.
    QVERIFY(QByteArray(nl_langinfo(CODESET)) != codeset);
}

QTEST_GUILESS_MAIN(TestThreadLocale)
#include "tst_threadlocale.moc"
