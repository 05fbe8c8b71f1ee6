#include "core/ResumePositions.h"

#include "core/Logging.h"
#include "core/OptionLines.h"
#include "platform/TextFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

const QString kResumeName = QStringLiteral("Resume");

} // namespace

ResumePositions::ResumePositions(const QString& path) : m_path(path)
{
    if (m_path.isEmpty() || !QFileInfo::exists(m_path))
        return;
    QString error;
    const auto read = readUtf8TextLines(m_path, &error);
    if (!read) {
        qCWarning(lcSettings).noquote() << "Cannot read" << m_path << error;
        return;
    }
    const ResumePositions parsed = parse(*read);
    m_on = parsed.m_on;
    m_positions = parsed.m_positions;
}

ResumePositions ResumePositions::parse(const QStringList& lines)
{
    ResumePositions positions;
    for (const QString& line : lines) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            const auto split = OptionLines::split(line);
            if (split && split->first.compare(kResumeName, Qt::CaseInsensitive) == 0)
                positions.m_on = OptionLines::yesOrNo(split->second).value_or(positions.m_on);
            continue;
        }
        bool ok = false;
        const double seconds = line.left(tab).toDouble(&ok);
        const QString path = line.mid(tab + 1);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || path.isEmpty() ||
            std::ranges::any_of(positions.m_positions,
                                [&](const auto& entry) { return entry.first == path; }))
            continue;
        if (int(positions.m_positions.size()) < kMostEntries)
            positions.m_positions.emplace_back(path, seconds);
    }
    return positions;
}

QStringList ResumePositions::lines() const
{
    QStringList lines{OptionLines::line(kResumeName, OptionLines::yesOrNo(m_on))};
    for (const auto& [path, seconds] : m_positions)
        lines << QString::number(seconds, 'f', 1) + QLatin1Char('\t') + path;
    return lines;
}

bool ResumePositions::setOn(bool on, QString* error)
{
    m_on = on;
    return write(error);
}

std::optional<double> ResumePositions::positionOf(const QString& mediaPath) const
{
    const auto found = std::ranges::find_if(
        m_positions, [&](const auto& entry) { return entry.first == mediaPath; });
    if (found == m_positions.end())
        return std::nullopt;
    return found->second;
}

bool ResumePositions::remember(const QString& mediaPath, double seconds, double duration,
                               QString* error)
{
    if (mediaPath.isEmpty())
        return true;
    const auto before = m_positions;
    std::erase_if(m_positions, [&](const auto& entry) { return entry.first == mediaPath; });
    const bool nearAnEnd =
        seconds < kNearTheEnds || (duration > 0 && seconds > duration - kNearTheEnds);
    if (!nearAnEnd) {
        m_positions.insert(m_positions.begin(), {mediaPath, seconds});
        if (int(m_positions.size()) > kMostEntries)
            m_positions.resize(kMostEntries);
    }
    if (m_positions == before)
        return true;
    return write(error);
}

bool ResumePositions::write(QString* error)
{
    if (m_path.isEmpty())
        return true;
    return writeTextLines(m_path, lines(), error);
}
