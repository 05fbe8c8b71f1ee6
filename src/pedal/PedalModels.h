#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>
#include <span>

// The three pedals of a transcription foot pedal.
enum class Pedal { Left, Middle, Right };
constexpr int kPedalCount = 3;

// The pedals held down at one moment.
class PedalSet {
public:
    constexpr PedalSet() = default;
    constexpr PedalSet(std::initializer_list<Pedal> pedals)
    {
        for (Pedal pedal : pedals)
            add(pedal);
    }
    constexpr bool has(Pedal pedal) const { return m_bits & bit(pedal); }
    constexpr void add(Pedal pedal) { m_bits |= bit(pedal); }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const PedalSet&) const = default;

private:
    static constexpr quint8 bit(Pedal pedal) { return quint8(1u << int(pedal)); }
    quint8 m_bits = 0;
};

// Where a model's input report tells which pedals are down: one byte, one bit per pedal.
struct PedalLayout {
    int byteIndex = 0;
    quint8 left = 0;
    quint8 middle = 0;
    quint8 right = 0;
};

// A foot pedal the program reads out of the box.
struct PedalModel {
    quint16 vendor;
    quint16 product;
    const char* name;
    PedalLayout layout;
};

std::span<const PedalModel> pedalModels();
const PedalModel* findPedalModel(quint16 vendor, quint16 product);

// The pedals down in one input report; none when the report is too short to hold the byte.
// Bits the layout does not name (such as a dictation pedal's end-of-letter switch) are left out.
std::optional<PedalSet> decodePedalReport(const PedalLayout& layout, QByteArrayView report);

// A device the table does not know that is likely a foot pedal all the same: one from a maker of
// pedals, or one that calls itself a pedal.
bool looksLikePedal(quint16 vendor, const QString& name);
