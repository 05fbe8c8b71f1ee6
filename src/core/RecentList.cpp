#include "core/RecentList.h"

#include "platform/TextFile.h"

RecentList::RecentList(QString placeholderPrefix) : m_prefix(std::move(placeholderPrefix))
{
    for (int i = 0; i < kSize; ++i)
        m_captions[i] = m_prefix + QString::number(i + 1);
}

bool RecentList::isUsed(int index) const
{
    return !m_captions.at(index).startsWith(m_prefix);
}

bool RecentList::anyUsed() const
{
    for (int i = 0; i < kSize; ++i) {
        if (isUsed(i))
            return true;
    }
    return false;
}

bool RecentList::touch(const QString& path)
{
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return false;
    int found = kSize - 1;
    for (int i = kSize - 1; i >= 0; --i) {
        if (m_captions[i] == path) {
            found = i;
            break;
        }
    }
    for (int i = found; i > 0; --i)
        m_captions[i] = m_captions[i - 1];
    m_captions[0] = path;
    return true;
}

bool RecentList::takeLines(const QStringList& lines)
{
    bool taken = false;
    for (int i = 0; i < kSize && i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        m_captions[i] = lines[i];
        taken = true;
    }
    return taken;
}

QStringList RecentList::lines() const
{
    return QStringList(m_captions.begin(), m_captions.end());
}

bool RecentList::load(const QString& path)
{
    const auto fileLines = readTextLines(path);
    return fileLines && takeLines(*fileLines);
}

bool RecentList::save(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
