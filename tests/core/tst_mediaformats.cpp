// The formats the player offers: the desktop entry, the software-centre metainfo and the desktop's
// MIME database agree with the table.

#include "core/MediaFormats.h"

#include <QFile>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QtTest>

class TestMediaFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void desktopEntryAndDialogFollowTheTable();
};

void TestMediaFormats::desktopEntryAndDialogFollowTheTable()
{
    QFile entry(
        QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/../packaging/org.vocarta.vocarta.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString types = MediaFormats::mimeTypes().join(u';') + u';';
    QVERIFY(
        QString::fromUtf8(entry.readAll()).contains(QStringLiteral("\nMimeType=") + types + u'\n'));

    QFile metainfo(
        QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/../packaging/org.vocarta.vocarta.metainfo.xml"));
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    const QString provides = QString::fromUtf8(metainfo.readAll());
    QStringList offered;
    for (const auto& type :
         QRegularExpression(QStringLiteral("<mediatype>(.+)</mediatype>")).globalMatch(provides))
        offered << type.captured(1);
    QCOMPARE(offered, MediaFormats::mimeTypes());

    const QStringList patterns = MediaFormats::dialogPatterns().split(u';');
    for (const char* common : {"m4a", "mp4", "opus", "flac", "webm", "mkv", "aac", "amr", "3gp"})
        QVERIFY2(patterns.contains(QStringLiteral("*.") + QLatin1String(common)), common);
    // A file the desktop names by a type the entry lacks would not be offered to the program.
    for (const MediaFormats::Format& format : MediaFormats::formats()) {
        QVERIFY(patterns.contains(QStringLiteral("*.") + format.extension));
        for (const QMimeType& type :
             QMimeDatabase().mimeTypesForFileName(QStringLiteral("x.") + format.extension)) {
            if (type.name().startsWith(u"audio/") || type.name().startsWith(u"video/"))
                QVERIFY2(QString(format.mimeTypes).split(u';').contains(type.name()),
                         qPrintable(type.name()));
        }
    }
}

QTEST_GUILESS_MAIN(TestMediaFormats)
#include "tst_mediaformats.moc"
