#include "editor/SpellingCommands.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/MenuCommands.h"
#include "core/ProductName.h"
#include "editor/RichTextBox.h"
#include "editor/SpellingMarks.h"
#include "platform/Dialogs.h"
#include "spelling/SpellingLanguages.h"
#include "spelling/SpellingWorker.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

constexpr char kLanguageProperty[] = "spellingLanguage";

} // namespace

SpellingCommands::SpellingCommands(AppState& state, Dialogs& dialogs, RichTextBox* text,
                                   QMenu* menu, const MenuCommands* menus,
                                   const QStringList& folders)
    : QObject(text), m_state(state), m_dialogs(dialogs), m_text(text), m_menu(menu), m_menus(menus),
      m_folders(folders), m_personal(state.filesPath(QLatin1String(PersonalWords::kFileName))),
      m_worker(new SpellingWorker(this)), m_marks(new SpellingMarks(text, *m_worker, m_personal)),
      m_document(text->document())
{
    QString error;
    m_options =
        SpellingOptions::read(state.filesPath(QLatin1String(SpellingOptions::kFileName)), &error);
    if (!error.isEmpty())
        qCWarning(lcEditor) << "Spelling options not read:" << error;
    if (!m_personal.read(&error))
        qCWarning(lcEditor) << "Personal words not read:" << m_personal.path() << error;
    for (const QString& word : m_personal.words())
        m_worker->add(word);

    connect(m_worker, &SpellingWorker::loaded, this,
            [this](const QString& code, bool ok, const QString& reason) {
                m_marks->setLoaded(code, ok);
                if (!ok) {
                    qCWarning(lcEditor) << "Dictionary not read:" << code << reason;
                    m_dialogs.message(m_text->window(), QMessageBox::Warning, productTitle(),
                                      m_state.texts.plain(Text::DictionaryUnreadable)
                                          .arg(SpellingLanguages::displayName(code), reason),
                                      QMessageBox::Ok);
                }
            });
    connect(m_marks, &SpellingMarks::foundMisspelling, this, [this](bool found) {
        if (!found)
            m_dialogs.message(m_text->window(), QMessageBox::Information, productTitle(),
                              m_state.texts.plain(Text::NoMisspelling), QMessageBox::Ok);
    });
    if (m_menu)
        connect(m_menu, &QMenu::aboutToShow, this, &SpellingCommands::fillLanguages);
    fillLanguages();
    applyLanguage(false);
}

SpellingCommands::~SpellingCommands() = default;

QString SpellingCommands::wantedLanguage() const
{
    return m_chosen.isEmpty()
               ? SpellingLanguages::forLanguageFile(m_state.languageFile, QLocale::system())
               : m_chosen;
}

QString SpellingCommands::language() const
{
    return m_marks->language();
}

void SpellingCommands::applyLanguage(bool tellMissing)
{
    const QString code = wantedLanguage();
    const auto files = SpellingLanguages::filesOf(code, m_folders);
    if (m_options.checkSpelling && files)
        m_worker->load(code, files->affix, files->words);
    m_marks->setLanguage(m_options.checkSpelling && files ? code : QString());

    const bool missing = m_options.checkSpelling && !files;
    if (missing && tellMissing)
        this->tellMissing(code);
    if (!m_menus)
        return;
    if (QAction* check = m_menus->action(kCheckActionName))
        check->setChecked(m_options.checkSpelling);
    if (QAction* next = m_menus->action(kNextActionName))
        next->setEnabled(m_options.checkSpelling && files);
    if (QAction* line = m_menus->action(kMissingActionName); line && missing) {
        const auto known = SpellingLanguages::find(code);
        line->setText(m_state.texts.plain(Text::DictionaryMissingEntry)
                          .arg(SpellingLanguages::displayName(code),
                               QLatin1String(known ? known->package : "hunspell")));
        line->setEnabled(false);
    }
    if (QAction* line = m_menus->action(kMissingActionName))
        line->setVisible(missing);
    if (m_languageGroup) {
        for (QAction* entry : m_languageGroup->actions())
            entry->setChecked(entry->property(kLanguageProperty).toString() == code);
    }
}

void SpellingCommands::tellMissing(const QString& code)
{
    if (m_toldMissing.contains(code))
        return;
    m_toldMissing.insert(code);
    const auto known = SpellingLanguages::find(code);
    m_dialogs.message(m_text->window(), QMessageBox::Information, productTitle(),
                      m_state.texts.plain(Text::DictionaryMissing)
                          .arg(SpellingLanguages::displayName(code),
                               QLatin1String(known ? known->package : "hunspell")),
                      QMessageBox::Ok);
}

void SpellingCommands::fillLanguages()
{
    if (!m_menu)
        return;
    const QStringList installed = SpellingLanguages::installed(m_folders);
    QStringList shown;
    if (m_languageGroup) {
        for (QAction* entry : m_languageGroup->actions())
            shown << entry->property(kLanguageProperty).toString();
        if (shown == installed)
            return;
        delete m_languageGroup;
    }
    m_languageGroup = new QActionGroup(this);
    for (const QString& code : installed) {
        QAction* entry = m_menu->addAction(SpellingLanguages::displayName(code));
        entry->setObjectName(QLatin1String("spellingLanguage_") + code);
        entry->setProperty(kLanguageProperty, code);
        entry->setCheckable(true);
        entry->setChecked(code == language());
        m_languageGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, code] { chooseLanguage(code); });
    }
    // Deleting the group leaves its entries in the menu.
    connect(m_languageGroup, &QObject::destroyed, m_menu,
            [entries = m_languageGroup->actions()] { qDeleteAll(entries); });
}

void SpellingCommands::keepOptions()
{
    const QString path = m_state.filesPath(QLatin1String(SpellingOptions::kFileName));
    QString error;
    if (!m_options.write(path, &error)) {
        qCWarning(lcEditor) << "Spelling options not saved:" << path << error;
        m_state.saveFailures.tell(m_dialogs, m_text->window(), m_state.texts, path, error);
    }
}

void SpellingCommands::setEnabled(bool on)
{
    m_options.checkSpelling = on;
    keepOptions();
    applyLanguage(true);
}

void SpellingCommands::chooseLanguage(const QString& code)
{
    m_chosen = code;
    if (!m_documentPath.isEmpty()) {
        m_options.setLanguageOf(m_documentPath, code);
        keepOptions();
    }
    applyLanguage(true);
}

void SpellingCommands::documentNamed(const QString& path)
{
    const bool sameDocument = m_document == m_text->document();
    m_document = m_text->document();
    if (sameDocument && path == m_documentPath)
        return;
    m_documentPath = path;
    if (sameDocument) {
        // Saved under a name: a dictionary chosen for it goes with it.
        if (!m_chosen.isEmpty() && !path.isEmpty()) {
            m_options.setLanguageOf(path, m_chosen);
            keepOptions();
        }
        return;
    }
    m_chosen = m_options.languageOf(path);
    applyLanguage(false);
}

void SpellingCommands::retranslate()
{
    applyLanguage(false);
}

void SpellingCommands::findNext()
{
    if (!language().isEmpty())
        m_marks->findNext();
}

bool SpellingCommands::offerFor(QMenu* menu, int position)
{
    QString word;
    const auto at = m_marks->misspeltAt(position, &word);
    if (!at)
        return false;
    const InterfaceTexts& t = m_state.texts;
    QAction* waiting = menu->addAction(t.plain(Text::LookingForSuggestions));
    waiting->setObjectName(QStringLiteral("suggestionsPending"));
    waiting->setEnabled(false);
    menu->addSeparator();
    QAction* ignore = menu->addAction(t.text(Text::IgnoreAll));
    ignore->setObjectName(QStringLiteral("ignoreAllAction"));
    connect(ignore, &QAction::triggered, this, [this, word] { m_marks->ignoreAll(word); });
    QAction* add = menu->addAction(t.text(Text::AddToDictionary));
    add->setObjectName(QStringLiteral("addToDictionaryAction"));
    connect(add, &QAction::triggered, this, [this, word] { addToDictionary(word); });

    const QString code = language();
    // The menu shows at once; the suggestions take their place when the worker has them.
    connect(m_worker, &SpellingWorker::suggested, waiting,
            [this, menu, waiting, code, word, at = *at](
                const QString& forCode, const QString& forWord, const QStringList& suggestions) {
                if (forCode != code || forWord != word)
                    return;
                for (const QString& suggestion : suggestions) {
                    QAction* entry = new QAction(suggestion, menu);
                    entry->setObjectName(QStringLiteral("suggestionAction"));
                    menu->insertAction(waiting, entry);
                    connect(entry, &QAction::triggered, this, [this, at, suggestion] {
                        replaceWord(at.start, at.length, suggestion);
                    });
                }
                if (suggestions.isEmpty()) {
                    waiting->setText(m_state.texts.plain(Text::NoSuggestions));
                    waiting->setObjectName(QStringLiteral("noSuggestions"));
                    disconnect(m_worker, nullptr, waiting, nullptr);
                } else {
                    waiting->deleteLater();
                }
            });
    m_worker->suggest(code, word, kSuggestionCount);
    return true;
}

void SpellingCommands::replaceWord(int start, int length, const QString& with)
{
    QTextCursor cursor(m_text->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.insertText(with);
    m_text->setTextCursor(cursor);
}

void SpellingCommands::addToDictionary(const QString& word)
{
    QString error;
    if (!m_personal.add(word, &error)) {
        qCWarning(lcEditor) << "Personal word not saved:" << m_personal.path() << error;
        m_state.saveFailures.tell(m_dialogs, m_text->window(), m_state.texts, m_personal.path(),
                                  error);
    }
    m_worker->add(word);
    m_marks->wordAccepted();
}
