#pragma once

#include "spelling/PersonalWords.h"
#include "spelling/SpellingOptions.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

class Dialogs;
class MenuCommands;
class QActionGroup;
class QMenu;
class QTextDocument;
class RichTextBox;
class SpellingMarks;
class SpellingWorker;
struct AppState;

// The Spelling menu and the spelling part of the text's context menu: checking on or off, the
// dictionary of the document, the next misspelt word, suggestions, "Ignore all" and "Add to
// dictionary". Each document keeps the dictionary chosen for it; others take the interface
// language's. Only installed dictionaries are offered; a missing one is named with its package.
class SpellingCommands : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kCheckActionName = "checkSpellingAction";
    static constexpr const char* kNextActionName = "nextMisspellingAction";
    static constexpr const char* kMissingActionName = "missingDictionaryAction";
    static constexpr int kSuggestionCount = 7;

    // The dictionaries are looked for in `folders`; the menu's languages go at the end of `menu`.
    SpellingCommands(AppState& state, Dialogs& dialogs, RichTextBox* text, QMenu* menu,
                     const MenuCommands* menus, const QStringList& folders);
    ~SpellingCommands() override;

    // Turns checking on or off and keeps it in its file; on, a missing dictionary is told.
    void setEnabled(bool on);
    bool isEnabled() const { return m_options.checkSpelling; }
    // The dictionary for this document from now on, kept for it once it has a name.
    void chooseLanguage(const QString& code);
    // The document in the text now has this file name ("" for a new one).
    void documentNamed(const QString& path);
    void findNext();
    // The interface language changed: so does the dictionary of documents without their own.
    void retranslate();

    // Offers the suggestions for a misspelt word at the position, "Ignore all" and "Add to
    // dictionary" in the menu; false, leaving it as it was, when there is no such word.
    bool offerFor(QMenu* menu, int position);

    // The dictionary the document is checked with, "" while checking is off.
    QString language() const;
    SpellingMarks* marks() const { return m_marks; }
    SpellingWorker* worker() const { return m_worker; }

private:
    QString wantedLanguage() const;
    void applyLanguage(bool tellMissing);
    void tellMissing(const QString& code);
    void fillLanguages();
    void keepOptions();
    void addToDictionary(const QString& word);
    void replaceWord(int start, int length, const QString& with);

    AppState& m_state;
    Dialogs& m_dialogs;
    RichTextBox* m_text;
    QMenu* m_menu;
    const MenuCommands* m_menus;
    QStringList m_folders;
    SpellingOptions m_options;
    PersonalWords m_personal;
    SpellingWorker* m_worker;
    SpellingMarks* m_marks;

    QActionGroup* m_languageGroup = nullptr;
    QPointer<QTextDocument> m_document;
    QString m_documentPath;
    // The dictionary chosen for the document in the text, "" while it takes the interface's.
    QString m_chosen;
    QSet<QString> m_toldMissing;
};
