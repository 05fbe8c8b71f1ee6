#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class QSaveFile;

// The user's own words, right in every language: "Files/Words.dic", plain UTF-8, one word a line.
class PersonalWords {
public:
    static constexpr char kFileName[] = "Words.dic";

    explicit PersonalWords(QString path) : m_path(std::move(path)) {}

    // A missing file is an empty list; one that cannot be read leaves the list empty, with the
    // reason in `error`.
    bool read(QString* error = nullptr);
    // Takes the word at once and writes the whole list anew; when the write fails the file keeps
    // what it had, the word counts for this run, and `error` gets the system's reason. A file
    // that could not be read is never written over.
    [[nodiscard]] bool add(const QString& word, QString* error = nullptr);
    // The same through a save file named path() but not open yet, so that a test can hand in one
    // whose writes fail.
    [[nodiscard]] bool add(const QString& word, QSaveFile& file, QString* error = nullptr);

    bool contains(const QString& word) const { return m_words.contains(word); }
    QStringList words() const { return m_order; }
    QString path() const { return m_path; }

private:
    QString m_path;
    QStringList m_order;
    QSet<QString> m_words;
    QString m_readError;
};
