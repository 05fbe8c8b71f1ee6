#include "spelling/PersonalWords.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QSaveFile>

bool PersonalWords::read(QString* error)
{
    m_order.clear();
    m_words.clear();
    m_readError.clear();
    if (!QFileInfo::exists(m_path))
        return true;
    const auto lines = readTextLines(m_path, &m_readError);
    if (!lines) {
        if (error)
            *error = m_readError;
        return false;
    }
    for (const QString& line : *lines) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && !m_words.contains(word)) {
            m_words.insert(word);
            m_order << word;
        }
    }
    return true;
}

bool PersonalWords::add(const QString& word, QString* error)
{
    QSaveFile file(m_path);
    return add(word, file, error);
}

bool PersonalWords::add(const QString& word, QSaveFile& file, QString* error)
{
    if (word.isEmpty() || m_words.contains(word))
        return true;
    m_words.insert(word);
    m_order << word;
    if (!m_readError.isEmpty()) {
        if (error)
            *error = m_readError;
        return false;
    }
    return writeTextLines(file, m_order, error);
}
