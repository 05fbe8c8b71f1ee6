#include "pedal/HidDevices.h"
#include "pedal/PedalModels.h"
#include "pedal/PedalOptions.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(PedalSet)
Q_DECLARE_METATYPE(std::optional<PedalSet>)

class TestPedalModels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsDecodeAsEachModelLaysThemOut_data();
    void reportsDecodeAsEachModelLaysThemOut();
    void ueventGivesTheIds_data();
    void ueventGivesTheIds();
    void thePackageLetsTheSeatReadAndSuggestsEveryModel();
    void optionsFileReadsWhatItWrites();
};

void TestPedalModels::reportsDecodeAsEachModelLaysThemOut_data()
{
    QTest::addColumn<quint16>("vendor");
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<std::optional<PedalSet>>("down");
    using P = Pedal;
    const std::optional<PedalSet> none;
    const auto set = [](std::initializer_list<Pedal> pedals) {
        return std::optional<PedalSet>(PedalSet(pedals));
    };

    // VEC Infinity IN-USB-1/2: first byte, 1 left, 2 middle, 4 right.
    QTest::newRow("VEC up") << quint16(0x05f3) << quint16(0x00ff) << QByteArray("\x00", 1)
                            << set({});
    QTest::newRow("VEC left") << quint16(0x05f3) << quint16(0x00ff) << QByteArray("\x01\x00")
                              << set({P::Left});
    QTest::newRow("VEC middle") << quint16(0x05f3) << quint16(0x00ff) << QByteArray("\x02")
                                << set({P::Middle});
    QTest::newRow("VEC right") << quint16(0x05f3) << quint16(0x00ff) << QByteArray("\x04")
                               << set({P::Right});
    QTest::newRow("VEC all") << quint16(0x05f3) << quint16(0x00ff) << QByteArray("\x07")
                             << set({P::Left, P::Middle, P::Right});
    QTest::newRow("VEC empty report") << quint16(0x05f3) << quint16(0x00ff) << QByteArray() << none;
    // The newer Infinity units: 4 left, 1 middle, 2 right.
    QTest::newRow("Infinity left")
        << quint16(0x0e0f) << quint16(0x0003) << QByteArray("\x04") << set({P::Left});
    QTest::newRow("Infinity middle")
        << quint16(0x0e0f) << quint16(0x0003) << QByteArray("\x01") << set({P::Middle});
    QTest::newRow("Infinity right")
        << quint16(0x0e0f) << quint16(0x0003) << QByteArray("\x02") << set({P::Right});
    // Philips: bit 0 rewind, 1 play, 2 forward; bit 3 (end of letter) is no pedal of ours.
    for (quint16 product : {quint16(0x1844), quint16(0x091a)}) {
        const QByteArray id = QByteArray::number(product, 16);
        QTest::addRow("Philips %s rewind", id.constData())
            << quint16(0x0911) << product << QByteArray("\x01") << set({P::Left});
        QTest::addRow("Philips %s play", id.constData())
            << quint16(0x0911) << product << QByteArray("\x02") << set({P::Middle});
        QTest::addRow("Philips %s forward", id.constData())
            << quint16(0x0911) << product << QByteArray("\x04") << set({P::Right});
        QTest::addRow("Philips %s end of letter", id.constData())
            << quint16(0x0911) << product << QByteArray("\x08") << set({});
        QTest::addRow("Philips %s play with end of letter", id.constData())
            << quint16(0x0911) << product << QByteArray("\x0a") << set({P::Middle});
    }
    // Olympus RS-28: the bit mask is byte 2; the bytes before it say nothing.
    QTest::newRow("RS-28 left") << quint16(0x07b4) << quint16(0x0218)
                                << QByteArray("\xff\xff\x01", 3) << set({P::Left});
    QTest::newRow("RS-28 middle and right")
        << quint16(0x07b4) << quint16(0x0218) << QByteArray("\x00\x00\x06", 3)
        << set({P::Middle, P::Right});
    QTest::newRow("RS-28 short report")
        << quint16(0x07b4) << quint16(0x0218) << QByteArray("\x01\x02", 2) << none;
}

void TestPedalModels::reportsDecodeAsEachModelLaysThemOut()
{
    QFETCH(quint16, vendor);
    QFETCH(quint16, product);
    QFETCH(QByteArray, report);
    QFETCH(std::optional<PedalSet>, down);
    const PedalModel* model = findPedalModel(vendor, product);
    QVERIFY(model);
    QCOMPARE(decodePedalReport(model->layout, report), down);
}

void TestPedalModels::ueventGivesTheIds_data()
{
    QTest::addColumn<QByteArray>("uevent");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint16>("vendor");
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QString>("name");
    QTest::newRow("pedal") << QByteArray("DRIVER=hid-generic\nHID_ID=0003:000005F3:000000FF\n"
                                         "HID_NAME=VEC  VEC USB Footpedal\nHID_PHYS=usb-1/input0\n")
                           << true << quint16(0x05f3) << quint16(0x00ff) << "VEC VEC USB Footpedal";
    QTest::newRow("lower case, no name") << QByteArray("HID_ID=0003:00000911:0000091a") << true
                                         << quint16(0x0911) << quint16(0x091a) << "";
    QTest::newRow("no HID_ID") << QByteArray("HID_NAME=Mouse\n") << false << quint16(0)
                               << quint16(0) << "";
    QTest::newRow("two fields") << QByteArray("HID_ID=000005F3:000000FF\n") << false << quint16(0)
                                << quint16(0) << "";
    QTest::newRow("id too large") << QByteArray("HID_ID=0003:000105F3:000000FF\n") << false
                                  << quint16(0) << quint16(0) << "";
    QTest::newRow("not hexadecimal")
        << QByteArray("HID_ID=0003:0000VEC0:000000FF\n") << false << quint16(0) << quint16(0) << "";
}

void TestPedalModels::ueventGivesTheIds()
{
    QFETCH(QByteArray, uevent);
    QFETCH(bool, valid);
    QFETCH(quint16, vendor);
    QFETCH(quint16, product);
    QFETCH(QString, name);
    const auto device = parseHidUevent(uevent);
    QCOMPARE(device.has_value(), valid);
    if (valid)
        QCOMPARE(*device, (HidDevice{QString(), vendor, product, name}));
}

void TestPedalModels::thePackageLetsTheSeatReadAndSuggestsEveryModel()
{
    QFile file(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/../packaging/70-vocarta-pedals.rules"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString rules = QString::fromUtf8(file.readAll());
    QFile metainfo(
        QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/../packaging/org.vocarta.vocarta.metainfo.xml"));
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    const QString provides = QString::fromUtf8(metainfo.readAll());
    // Access for the user at the seat only: never a mode that opens the device to everyone.
    QVERIFY(!rules.contains(QLatin1String("MODE")));
    for (const PedalModel& model : pedalModels()) {
        const QStringList id = usbId(model.vendor, model.product).split(QLatin1Char(':'));
        const QString line = QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                                            "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                                 .arg(id[0], id[1]);
        QVERIFY2(rules.contains(line), model.name);
        // A software centre matches the plugged-in device's modalias, in capitals.
        const QString alias = QStringLiteral("<modalias>usb:v%1p%2*</modalias>")
                                  .arg(id[0].toUpper(), id[1].toUpper());
        QVERIFY2(provides.contains(alias), model.name);
    }
}

void TestPedalModels::optionsFileReadsWhatItWrites()
{
    PedalOptions options;
    options.setAction(Pedal::Left, PedalAction::NextBookmark);
    options.setAction(Pedal::Middle, PedalAction::PlayPause);
    options.setAction(Pedal::Right, PedalAction::InsertTimestamp);
    QCOMPARE(PedalOptions::parse(options.lines()), options);
    // A hand-written file: names in any case, an unknown action or pedal leaves the default.
    const PedalOptions read =
        PedalOptions::parse({QStringLiteral("right = Faster"), QStringLiteral("Middle=rewind"),
                             QStringLiteral("Fourth=slower"), QStringLiteral("LEFT=nothing")});
    QCOMPARE(read.action(Pedal::Left), PedalAction::Nothing);
    QCOMPARE(read.action(Pedal::Middle), PedalAction::HoldToPlay);
    QCOMPARE(read.action(Pedal::Right), PedalAction::Faster);
}

QTEST_GUILESS_MAIN(TestPedalModels)
#include "tst_pedalmodels.moc"
