#include "editor/SpellingMarks.h"

#include "editor/RichTextBox.h"
#include "spelling/PersonalWords.h"
#include "spelling/SpellingWorker.h"
#include "spelling/WordScanner.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>

namespace {

constexpr int kMarkProperty = QTextFormat::UserProperty + 0x5350;
// A batch of the whole document's check: small enough that a suggestion asked meanwhile waits a
// few milliseconds at most, and gathered in a slice of the GUI thread too short to feel.
constexpr int kBatchCharacters = 32 * 1024;
constexpr qint64 kSliceMs = 4;
// More than any screen shows.
constexpr qsizetype kScreenCharacters = 40 * 1024;
// What findNext sends ahead of the pass at once, when it meets words not judged yet.
constexpr int kFindAheadParagraphs = 400;

bool isMark(const QTextEdit::ExtraSelection& selection)
{
    return selection.format.hasProperty(kMarkProperty);
}

} // namespace

SpellingMarks::SpellingMarks(RichTextBox* text, SpellingWorker& worker,
                             const PersonalWords& personal)
    : QObject(text), m_text(text), m_worker(worker), m_personal(personal),
      m_document(text->document())
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &SpellingMarks::refresh);
    m_passTimer.setSingleShot(true);
    m_passTimer.setInterval(0);
    connect(&m_passTimer, &QTimer::timeout, this, &SpellingMarks::passStep);

    connect(text, &RichTextBox::contentChanged, this, [this] {
        if (m_document != m_text->document()) {
            m_document = m_text->document();
            m_ignored.clear();
            m_shown.clear();
            restartPass();
        }
        scheduleRefresh();
    });
    connect(text->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &SpellingMarks::scheduleRefresh);
    connect(text->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &SpellingMarks::scheduleRefresh);
    connect(text->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &SpellingMarks::scheduleRefresh);
    connect(&worker, &SpellingWorker::checked, this, &SpellingMarks::takeVerdicts);
}

void SpellingMarks::setLanguage(const QString& code)
{
    if (code == m_code)
        return;
    m_code = code;
    restartPass();
    scheduleRefresh();
}

void SpellingMarks::setLoaded(const QString& code, bool ok)
{
    (ok ? m_loaded : m_failed).insert(code);
    if (code != m_code)
        return;
    restartPass();
    scheduleRefresh();
    if (m_finding)
        continueFind();
}

void SpellingMarks::ignoreAll(const QString& word)
{
    m_ignored.insert(word);
    scheduleRefresh();
}

void SpellingMarks::wordAccepted()
{
    scheduleRefresh();
}

bool SpellingMarks::isActive() const
{
    return !m_code.isEmpty() && m_loaded.contains(m_code);
}

std::optional<bool> SpellingMarks::verdict(const QString& word) const
{
    if (m_personal.contains(word) || m_ignored.contains(word))
        return true;
    const auto& verdicts = m_verdicts[m_code];
    const auto found = verdicts.constFind(word);
    if (found == verdicts.constEnd())
        return std::nullopt;
    return *found;
}

void SpellingMarks::scheduleRefresh()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void SpellingMarks::refresh()
{
    if (!isActive()) {
        showMarks({});
        return;
    }
    const QRect area = m_text->viewport()->rect();
    QTextDocument* document = m_text->document();
    const QAbstractTextDocumentLayout* layout = document->documentLayout();
    const int scrolled = m_text->verticalScrollBar()->value();
    const int bottom = scrolled + area.height();
    // Above the first line's top Qt's hit test answers with the end of what is laid out.
    const QPoint firstLine(
        area.left() + 1, area.top() + std::max(0, int(document->documentMargin()) - scrolled) + 1);
    QList<Stretch> marks;
    QStringList unjudged;
    qsizetype characters = 0;
    // Blocks not laid out yet (a long transcript just opened) have no place: the budget ends the
    // screen there.
    for (QTextBlock block = document->findBlock(m_text->cursorForPosition(firstLine).position());
         block.isValid() && layout->blockBoundingRect(block).top() <= bottom &&
         characters < kScreenCharacters;
         block = block.next()) {
        const QString text = block.text();
        characters += text.size();
        bool asked = false;
        for (const WordScanner::Word& word : WordScanner::words(text)) {
            const auto right = verdict(
                WordScanner::dictionaryForm(QStringView(text).mid(word.start, word.length)));
            if (!right && !asked) {
                unjudged << text;
                asked = true;
            } else if (right && !*right) {
                marks.append({block.position() + word.start, word.length});
            }
        }
    }
    if (!unjudged.isEmpty()) {
        if (m_urgentAsked) {
            m_refreshAgain = true;
        } else {
            m_urgentAsked = true;
            m_worker.check(m_code, unjudged, true);
        }
    }
    showMarks(marks);
}

void SpellingMarks::showMarks(const QList<Stretch>& marks)
{
    if (marks == m_shown)
        return;
    m_shown = marks;
    QList<QTextEdit::ExtraSelection> selections = m_text->extraSelections();
    selections.erase(std::remove_if(selections.begin(), selections.end(), isMark),
                     selections.end());
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(Qt::red);
    format.setProperty(kMarkProperty, true);
    for (const Stretch& mark : marks) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(m_text->document());
        selection.cursor.setPosition(mark.start);
        selection.cursor.setPosition(mark.start + mark.length, QTextCursor::KeepAnchor);
        selection.format = format;
        selections.append(selection);
    }
    m_text->setExtraSelections(selections);
    if (!marks.isEmpty())
        Q_EMIT marksShown();
}

void SpellingMarks::restartPass()
{
    m_passBlock = 0;
    m_passDone = false;
    if (isActive() && !m_passAsked)
        m_passTimer.start();
}

void SpellingMarks::passStep()
{
    if (!isActive() || m_passAsked || m_passDone)
        return;
    QElapsedTimer slice;
    slice.start();
    QStringList paragraphs;
    qsizetype characters = 0;
    QTextBlock block = m_text->document()->findBlockByNumber(m_passBlock);
    while (block.isValid() && characters < kBatchCharacters && slice.elapsed() < kSliceMs) {
        paragraphs << block.text();
        characters += paragraphs.last().size();
        block = block.next();
        ++m_passBlock;
    }
    if (paragraphs.isEmpty()) {
        m_passDone = true;
        Q_EMIT documentChecked();
        return;
    }
    m_passAsked = true;
    m_worker.check(m_code, paragraphs, false);
}

void SpellingMarks::takeVerdicts(const QString& code, const QStringList& misspelt,
                                 const QStringList& correct, bool urgent)
{
    auto& verdicts = m_verdicts[code];
    for (const QString& word : misspelt)
        verdicts.insert(word, false);
    for (const QString& word : correct)
        verdicts.insert(word, true);
    if (urgent) {
        m_urgentAsked = false;
    } else {
        m_passAsked = false;
        m_passTimer.start();
    }
    if (code != m_code)
        return;
    if (urgent || !misspelt.isEmpty() || m_refreshAgain) {
        m_refreshAgain = false;
        scheduleRefresh();
    }
    if (m_finding)
        continueFind();
}

std::optional<SpellingMarks::Stretch> SpellingMarks::misspeltAt(int position, QString* word) const
{
    if (!isActive())
        return std::nullopt;
    const QTextBlock block = m_text->document()->findBlock(position);
    const QString text = block.text();
    for (const WordScanner::Word& at : WordScanner::words(text)) {
        const int start = block.position() + at.start;
        if (position < start || position > start + at.length)
            continue;
        const QString form =
            WordScanner::dictionaryForm(QStringView(text).mid(at.start, at.length));
        if (verdict(form) != false)
            return std::nullopt;
        if (word)
            *word = form;
        return Stretch{start, at.length};
    }
    return std::nullopt;
}

std::optional<SpellingMarks::Stretch> SpellingMarks::firstMisspeltFrom(int from, int to,
                                                                       QStringList* unjudged) const
{
    QTextDocument* document = m_text->document();
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const QString text = block.text();
        bool asked = false;
        for (const WordScanner::Word& at : WordScanner::words(text)) {
            const int start = block.position() + at.start;
            if (start < from || start >= to)
                continue;
            const auto right =
                verdict(WordScanner::dictionaryForm(QStringView(text).mid(at.start, at.length)));
            if (!right) {
                if (!asked && unjudged->size() < kFindAheadParagraphs)
                    *unjudged << text;
                asked = true;
            } else if (!*right && unjudged->isEmpty()) {
                return Stretch{start, at.length};
            }
        }
        if (unjudged->size() >= kFindAheadParagraphs)
            break;
    }
    return std::nullopt;
}

void SpellingMarks::findNext()
{
    m_finding = true;
    continueFind();
}

void SpellingMarks::continueFind()
{
    // Asked while the dictionary loads: the answer waits for it.
    if (!isActive() && !m_code.isEmpty() && !m_failed.contains(m_code))
        return;
    if (!isActive()) {
        m_finding = false;
        Q_EMIT foundMisspelling(false);
        return;
    }
    const int caret = m_text->textCursor().selectionEnd();
    QStringList unjudged;
    auto found = firstMisspeltFrom(caret, m_text->plainLength() + 1, &unjudged);
    if (!found && unjudged.isEmpty())
        found = firstMisspeltFrom(0, caret, &unjudged);
    if (!found && !unjudged.isEmpty()) {
        // Asked ahead of the pass; the search goes on when the answer comes.
        if (!m_urgentAsked) {
            m_urgentAsked = true;
            m_worker.check(m_code, unjudged, true);
        }
        return;
    }
    m_finding = false;
    if (found) {
        QTextCursor cursor(m_text->document());
        cursor.setPosition(found->start);
        cursor.setPosition(found->start + found->length, QTextCursor::KeepAnchor);
        m_text->setTextCursor(cursor);
        m_text->ensureCursorVisible();
    }
    Q_EMIT foundMisspelling(found.has_value());
}
