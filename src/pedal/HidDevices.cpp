#include "pedal/HidDevices.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

// The uevent file is a few hundred bytes; anything longer is not one.
constexpr qint64 kUeventLimit = 4096;

std::optional<quint16> hexId(QByteArrayView field)
{
    bool ok = false;
    const uint value = field.toUInt(&ok, 16);
    if (!ok || value > 0xffff)
        return std::nullopt;
    return quint16(value);
}

// hidraw12 -> 12; -1 for a name of another kind.
int hidrawNumber(const QString& name)
{
    static const QString prefix = QStringLiteral("hidraw");
    if (!name.startsWith(prefix))
        return -1;
    bool ok = false;
    const int number = name.mid(prefix.size()).toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

} // namespace

std::optional<HidDevice> parseHidUevent(const QByteArray& uevent)
{
    std::optional<HidDevice> device;
    QString name;
    for (const QByteArray& raw : uevent.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("HID_ID=")) {
            // bus:vendor:product, each in hexadecimal.
            const QList<QByteArray> fields = line.mid(7).split(':');
            if (fields.size() != 3)
                return std::nullopt;
            const auto vendor = hexId(fields[1]);
            const auto product = hexId(fields[2]);
            if (!vendor || !product || !hexId(fields[0]))
                return std::nullopt;
            device = HidDevice{QString(), *vendor, *product, QString()};
        } else if (line.startsWith("HID_NAME=")) {
            name = QString::fromUtf8(line.mid(9)).simplified();
        }
    }
    if (device)
        device->name = name;
    return device;
}

QList<HidDevice> listHidDevices(const QString& sysfsRoot, const QString& deviceRoot)
{
    const QDir classDir(sysfsRoot + QStringLiteral("/class/hidraw"));
    QStringList names = classDir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    names.removeIf([](const QString& name) { return hidrawNumber(name) < 0; });
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return hidrawNumber(a) < hidrawNumber(b); });

    QList<HidDevice> devices;
    for (const QString& name : names) {
        QFile uevent(classDir.filePath(name + QStringLiteral("/device/uevent")));
        if (!uevent.open(QIODevice::ReadOnly))
            continue;
        auto device = parseHidUevent(uevent.read(kUeventLimit));
        if (!device)
            continue;
        device->node = deviceRoot + QLatin1Char('/') + name;
        devices << *device;
    }
    return devices;
}

QString usbId(quint16 vendor, quint16 product)
{
    return QStringLiteral("%1:%2")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'));
}
