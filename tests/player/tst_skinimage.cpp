#include "TestFolder.h"
#include "platform/SkinImage.h"

#include <QImage>
#include <QTest>

class TestSkinImage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsWhatTheFileHolds_data();
    void readsWhatTheFileHolds();
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

QTEST_MAIN(TestSkinImage)
#include "tst_skinimage.moc"
