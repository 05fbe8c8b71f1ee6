#pragma once

#include <QString>
#include <QStringList>

// Spelling's settings, kept in "Files/Spelling.ini":
//
//   CheckSpelling=yes
//   Document=it_IT|/home/anna/interviews/rossi.rtf
//
// A document's line keeps the dictionary chosen for it; the others take the interface language's.
struct SpellingOptions {
    static constexpr char kFileName[] = "Spelling.ini";
    // Documents remembered, the latest first.
    static constexpr int kDocumentsKept = 200;

    bool checkSpelling = true;

    // The dictionary chosen for the document, or "" when none was.
    QString languageOf(const QString& documentPath) const;
    void setLanguageOf(const QString& documentPath, const QString& code);

    static SpellingOptions parse(const QStringList& lines);
    QStringList lines() const;
    static SpellingOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;

private:
    struct DocumentLanguage {
        QString code;
        QString path;
    };
    QList<DocumentLanguage> m_documents;
};
