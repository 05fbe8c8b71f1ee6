#include "startup/LazyIconStyle.h"

#include <QApplication>
#include <QImage>
#include <QStyleFactory>
#include <QTest>

class TestLazyIconStyle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void iconsLookAsTheBaseStyleDraws_data();
    void iconsLookAsTheBaseStyleDraws();
};

void TestLazyIconStyle::iconsLookAsTheBaseStyleDraws_data()
{
    QTest::addColumn<int>("pixmap");
    QTest::newRow("menu bar overflow") << int(QStyle::SP_ToolBarHorizontalExtensionButton);
    QTest::newRow("vertical overflow") << int(QStyle::SP_ToolBarVerticalExtensionButton);
    QTest::newRow("any other") << int(QStyle::SP_DialogOkButton);
}

void TestLazyIconStyle::iconsLookAsTheBaseStyleDraws()
{
    QFETCH(int, pixmap);
    const auto which = QStyle::StandardPixmap(pixmap);
    QStyle* base = QStyleFactory::create(QStringLiteral("Fusion"));
    const QImage expected = base->standardIcon(which).pixmap(QSize(16, 16)).toImage();
    const QSize expectedSize = base->standardIcon(which).actualSize(QSize(16, 16));
    LazyIconStyle style(base);

    const QIcon icon = style.standardIcon(which);

    QVERIFY(!expected.isNull());
    QCOMPARE(icon.pixmap(QSize(16, 16)).toImage(), expected);
    QCOMPARE(icon.actualSize(QSize(16, 16)), expectedSize);
}

QTEST_MAIN(TestLazyIconStyle)
#include "tst_lazyiconstyle.moc"
