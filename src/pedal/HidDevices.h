#pragma once

#include <QList>
#include <QString>
#include <optional>

class QByteArray;

// A raw HID device as the kernel lists it under /sys/class/hidraw.
struct HidDevice {
    // The device file that reads its reports, such as /dev/hidraw3.
    QString node;
    quint16 vendor = 0;
    quint16 product = 0;
    QString name;

    bool operator==(const HidDevice&) const = default;
};

// The vendor, product and name of a device's uevent file ("HID_ID=0003:000005F3:000000FF",
// "HID_NAME=..."); none without a readable HID_ID line.
std::optional<HidDevice> parseHidUevent(const QByteArray& uevent);

// The raw HID devices attached now, in the kernel's order (hidraw0, hidraw1, ..., hidraw10). The
// roots are "/sys" and "/dev" but for tests.
QList<HidDevice> listHidDevices(const QString& sysfsRoot, const QString& deviceRoot);

// "05f3:00ff", as lsusb and udev write them.
QString usbId(quint16 vendor, quint16 product);
