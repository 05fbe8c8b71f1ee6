#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program folder of its own for one test: Files/, Files/Lang/ and Bookmarks/ in a temporary
// directory that is removed afterwards.
class TestFolder {
public:
    TestFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const;

    // Writes the lines with CR LF ends, making folders as needed.
    void write(const QString& relative, const QStringList& lines) const;
    void writeBytes(const QString& relative, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& relative) const;

    // Everything the bundled program folder holds, as a fresh install has it; a failure ends the
    // test program, which could prove nothing without it.
    void fillWithBundledData() const;

    // A language file whose entry n reads "<prefix> n".
    void writeLanguage(const QString& name, const QString& prefix, int lines = 201) const;

private:
    QTemporaryDir m_dir;
};

// Entry n of the English language file the program ships (its text after the label).
QString shippedEnglish(int n);
