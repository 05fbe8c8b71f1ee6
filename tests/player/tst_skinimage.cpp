#include "TestFolder.h"
#include "platform/SkinImage.h"

#include <QFile>
#include <QImage>
#include <QTest>

class TestSkinImage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsWhatTheFileHolds_data();
    void readsWhatTheFileHolds();
    void readsAChangedFileAgain();
    void preloadedPicturesReadTheSame();
};

void TestSkinImage::readsWhatTheFileHolds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format"); // "" for no file
    QTest::addColumn<bool>("read");
    QTest::newRow("png") << "knob.png" << QByteArray("PNG") << true;
    QTest::newRow("jpeg") << "face.jpg" << QByteArray("JPG") << true;
    QTest::newRow("bmp") << "open.bmp" << QByteArray("BMP") << true;
    QTest::newRow("png under a jpeg's name") << "play.jpg" << QByteArray("PNG") << true;
    QTest::newRow("missing") << "gone.png" << QByteArray() << false;
    QTest::newRow("not a picture") << "notes.png" << QByteArray("text") << false;
}

void TestSkinImage::readsWhatTheFileHolds()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(bool, read);
    TestFolder folder;
    const QString path = folder.filePath(name);
    if (format == "text") {
        folder.writeBytes(name, "not a picture at all");
    } else if (!format.isEmpty()) {
        QImage picture(12, 8, QImage::Format_RGB32);
        picture.fill(QColor(10, 200, 30));
        QVERIFY(picture.save(path, format.constData()));
    }

    const QImage image = SkinImage::read(path);

    QCOMPARE(!image.isNull(), read);
    if (read)
        QCOMPARE(image.size(), QSize(12, 8));
    QCOMPARE(SkinImage::pixmap(path).isNull(), !read);
}

namespace {

bool savePicture(const QString& path, const QSize& size, const QColor& colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture.save(path, "PNG");
}

} // namespace

void TestSkinImage::readsAChangedFileAgain()
{
    TestFolder folder;
    const QString path = folder.filePath(QStringLiteral("button.png"));
    QVERIFY(savePicture(path, {12, 8}, Qt::red));
    QCOMPARE(SkinImage::read(path).pixelColor(0, 0), QColor(Qt::red));

    QVERIFY(savePicture(path, {20, 10}, Qt::blue));
    const QImage changed = SkinImage::read(path);
    QCOMPARE(changed.size(), QSize(20, 10));
    QCOMPARE(changed.pixelColor(0, 0), QColor(Qt::blue));

    QVERIFY(QFile::remove(path));
    QVERIFY(SkinImage::read(path).isNull());
}

void TestSkinImage::preloadedPicturesReadTheSame()
{
    TestFolder folder;
    QStringList paths;
    for (int i = 0; i < 8; ++i) {
        paths << folder.filePath(QStringLiteral("picture%1.png").arg(i));
        QVERIFY(savePicture(paths.last(), {4 + i, 3}, QColor(i * 30, 0, 0)));
    }
    paths << folder.filePath(QStringLiteral("missing.png"));

    SkinImage::preload(paths);
    // Read at once, while the pictures may still be on their way.
    for (int i = 0; i < 8; ++i) {
        const QImage image = SkinImage::read(paths[i]);
        QCOMPARE(image.size(), QSize(4 + i, 3));
        QCOMPARE(image.pixelColor(0, 0), QColor(i * 30, 0, 0));
    }
    QVERIFY(SkinImage::read(paths.last()).isNull());
}

QTEST_MAIN(TestSkinImage)
#include "tst_skinimage.moc"
