// The formats the player offers: the desktop entry and the desktop's own MIME database agree
// with the table.

#include "core/MediaFormats.h"

#include <QFile>
#include <QMimeDatabase>
#include <QtTest>

class TestMediaFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void desktopEntryOffersTheTable();
    void everyFormatIsOffered_data();
    void everyFormatIsOffered();
};

void TestMediaFormats::desktopEntryOffersTheTable()
{
    QFile entry(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/../packaging/vocarta.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QString line;
    while (!entry.atEnd() && !line.startsWith(QLatin1String("MimeType=")))
        line = QString::fromUtf8(entry.readLine()).trimmed();
    QCOMPARE(line, QStringLiteral("MimeType=") + MediaFormats::mimeTypes().join(u';') + u';');
}

void TestMediaFormats::everyFormatIsOffered_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("types");
    for (const MediaFormats::Format& format : MediaFormats::formats())
        QTest::newRow(format.extension.latin1())
            << QString(format.extension) << QString(format.mimeTypes).split(u';');
    // What phones, dictaphones and meeting programs record.
    for (const char* common : {"m4a", "mp4", "opus", "flac", "webm", "mkv", "aac", "amr", "3gp"})
        QTest::newRow(common) << QString::fromLatin1(common) << QStringList();
}

void TestMediaFormats::everyFormatIsOffered()
{
    QFETCH(QString, extension);
    QFETCH(QStringList, types);
    QVERIFY(MediaFormats::dialogPatterns().split(u';').contains(QStringLiteral("*.") + extension));
    if (types.isEmpty())
        return;
    // A file the desktop names by another type would not be offered to the program.
    const QList<QMimeType> known =
        QMimeDatabase().mimeTypesForFileName(QStringLiteral("x.") + extension);
    QVERIFY(!known.isEmpty());
    for (const QMimeType& type : known) {
        if (type.name().startsWith(QLatin1String("audio/")) ||
            type.name().startsWith(QLatin1String("video/")))
            QVERIFY2(types.contains(type.name()), qPrintable(type.name()));
    }
}

QTEST_GUILESS_MAIN(TestMediaFormats)
#include "tst_mediaformats.moc"
