#include "pedal/PedalModels.h"

#include <QString>

namespace {

constexpr PedalModel kModels[] = {
    {0x05f3, 0x00ff, "VEC Infinity IN-USB-1/2", {0, 0x01, 0x02, 0x04}},
    {0x0e0f, 0x0003, "Infinity foot pedal", {0, 0x04, 0x01, 0x02}},
    {0x0911, 0x1844, "Philips ACC2310/2320", {0, 0x01, 0x02, 0x04}},
    {0x0911, 0x091a, "Philips ACC2330", {0, 0x01, 0x02, 0x04}},
    {0x07b4, 0x0218, "Olympus RS-28", {2, 0x01, 0x02, 0x04}},
};

// Makers of the pedals above, whose other products are pedals more often than not.
constexpr quint16 kPedalMakers[] = {0x05f3, 0x0911, 0x07b4};

} // namespace

std::span<const PedalModel> pedalModels()
{
    return kModels;
}

const PedalModel* findPedalModel(quint16 vendor, quint16 product)
{
    for (const PedalModel& model : kModels) {
        if (model.vendor == vendor && model.product == product)
            return &model;
    }
    return nullptr;
}

std::optional<PedalSet> decodePedalReport(const PedalLayout& layout, QByteArrayView report)
{
    if (layout.byteIndex >= report.size())
        return std::nullopt;
    const auto byte = quint8(report[layout.byteIndex]);
    PedalSet down;
    if (byte & layout.left)
        down.add(Pedal::Left);
    if (byte & layout.middle)
        down.add(Pedal::Middle);
    if (byte & layout.right)
        down.add(Pedal::Right);
    return down;
}

bool looksLikePedal(quint16 vendor, const QString& name)
{
    for (quint16 maker : kPedalMakers) {
        if (maker == vendor)
            return true;
    }
    return name.contains(QLatin1String("pedal"), Qt::CaseInsensitive) ||
           name.contains(QLatin1String("foot"), Qt::CaseInsensitive);
}
