#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <optional>

class PersonalWords;
class QTextDocument;
class RichTextBox;
class SpellingWorker;

// Misspelt words underlined in the text area. The worker judges the words; what is on screen is
// asked first, then the whole document in batches, one at a time, so that a suggestion asked
// meanwhile waits for one batch at most. The underlines are extra selections of the words on
// screen only: the document, its layout and its undo never change, and a long transcript costs
// no more per key than a short one.
class SpellingMarks : public QObject {
    Q_OBJECT
public:
    struct Stretch {
        int start = 0;
        int length = 0;
        bool operator==(const Stretch&) const = default;
    };

    SpellingMarks(RichTextBox* text, SpellingWorker& worker, const PersonalWords& personal);

    // The dictionary the words are judged by, once the worker has it; "" takes the marks away.
    void setLanguage(const QString& code);
    QString language() const { return m_code; }
    // The worker has loaded the dictionary (or failed to).
    void setLoaded(const QString& code, bool ok);

    // Right in this document from now on; another document starts with none.
    void ignoreAll(const QString& word);
    // A word the personal list has just taken.
    void wordAccepted();

    // The misspelt word at the position, with its text in dictionary form.
    std::optional<Stretch> misspeltAt(int position, QString* word = nullptr) const;
    // Selects the first misspelt word after the caret, going on from the top; the answer may
    // wait for the worker, and comes as foundMisspelling.
    void findNext();
    // Every word judged at least once since the document or the language came.
    bool isDocumentChecked() const { return m_passDone; }
    // The underlined stretches, in document order.
    QList<Stretch> marks() const { return m_shown; }

Q_SIGNALS:
    void documentChecked();
    // After findNext: whether a misspelt word is now selected.
    void foundMisspelling(bool found);
    // New underlines are on screen.
    void marksShown();

private:
    std::optional<bool> verdict(const QString& word) const;
    bool isActive() const;
    void scheduleRefresh();
    void refresh();
    void showMarks(const QList<Stretch>& marks);
    void restartPass();
    void passStep();
    void takeVerdicts(const QString& code, const QStringList& misspelt, const QStringList& correct,
                      bool urgent);
    // The first misspelt word from `from` on; none when there is none or when words before it
    // are not judged yet, which then go to `unjudged`.
    std::optional<Stretch> firstMisspeltFrom(int from, int to, QStringList* unjudged) const;
    void continueFind();

    RichTextBox* m_text;
    SpellingWorker& m_worker;
    const PersonalWords& m_personal;
    QString m_code;
    QSet<QString> m_loaded;
    QSet<QString> m_failed;
    QHash<QString, QHash<QString, bool>> m_verdicts; // by dictionary
    QSet<QString> m_ignored;
    QPointer<QTextDocument> m_document;

    QTimer m_refreshTimer;
    QList<Stretch> m_shown;
    bool m_urgentAsked = false;
    bool m_refreshAgain = false;

    QTimer m_passTimer;
    int m_passBlock = 0;
    bool m_passAsked = false;
    bool m_passDone = false;

    bool m_finding = false;
};
