#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// Where each recording was left, so that opening it again goes on from there. Kept in
// "Files/Positions.txt": "Resume=yes" (or no), then one "seconds<TAB>path" line per recording,
// the one left last first, at most kMostEntries of them.
class ResumePositions {
public:
    static constexpr int kMostEntries = 300;
    static constexpr char kFileName[] = "Positions.txt";
    // A recording left this near its start or its end begins again from the start.
    static constexpr double kNearTheEnds = 5;

    // Reads the file at `path` ("" keeps nothing); a file that cannot be read is logged and
    // counts as empty.
    explicit ResumePositions(const QString& path);

    bool isOn() const { return m_on; }
    [[nodiscard]] bool setOn(bool on, QString* error = nullptr);

    // The position the recording was left at; none when it was not, or near its start or end.
    std::optional<double> positionOf(const QString& mediaPath) const;
    // Keeps where the recording of `duration` seconds (0 when not known) was left, and writes
    // the file; a position near the start or the end forgets the recording instead.
    [[nodiscard]] bool remember(const QString& mediaPath, double seconds, double duration,
                                QString* error = nullptr);

    static ResumePositions parse(const QStringList& lines);
    QStringList lines() const;

private:
    ResumePositions() = default;
    [[nodiscard]] bool write(QString* error);

    QString m_path;
    bool m_on = true;
    // Newest first.
    std::vector<std::pair<QString, double>> m_positions;
};
