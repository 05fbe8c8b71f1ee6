#include "editor/FindSession.h"

#include "editor/ReplaceAll.h"
#include "editor/RichTextBox.h"

#include <cerrno>

namespace {

// The text before its first line break, of any kind the editor or a drag may give.
QString firstLine(const QString& text, bool* cut)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text.at(i).unicode()) {
        case u'\n':
        case u'\r':
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            *cut = true;
            return text.left(i);
        default:
            break;
        }
    }
    *cut = false;
    return text;
}

} // namespace

FindSession::FindSession(RichTextBox* text) : m_text(text) {}

QString FindSession::takeSelection()
{
    // Trimmed before the cut: what stands before the break stays as selected.
    return m_text ? firstLine(m_text->selectedPlainText().trimmed(), &m_findTextCut) : QString();
}

QString FindSession::dropped(const QString& text, bool onFindBox)
{
    bool cut = false;
    const QString line = firstLine(text, &cut).trimmed();
    // The flag tells of the find box's text, which the drop replaces.
    if (onFindBox)
        m_findTextCut = cut;
    return line;
}

FindSession::Outcome FindSession::find(const QString& what)
{
    if (!m_text)
        return Outcome::NoText;
    if (m_fromTop) {
        if (m_text->find(what, 0, -1, m_options) < 0)
            return Outcome::NotFound;
        m_fromTop = false;
        return Outcome::Found;
    }
    const int from = m_text->selectionStart() + m_text->selectionLength();
    if (m_text->find(what, from, -1, m_options) >= 0)
        return Outcome::Found;
    m_fromTop = true;
    return Outcome::NoFurther;
}

FindSession::Outcome FindSession::replace(const QString& what, const QString& replacement)
{
    if (!m_text)
        return Outcome::NoText;
    // An empty text to find is never found.
    if (m_text->find(what, m_text->selectionStart(), -1, m_options) < 0)
        return Outcome::NotFound;
    if (!m_replaceArmed) {
        m_replaceArmed = true;
        return Outcome::Armed;
    }
    if (m_text->isReadOnly()) {
        m_error = qt_error_string(EPERM);
        return Outcome::Refused;
    }
    QString text = replacement;
    if (m_findTextCut) {
        m_findTextCut = false;
        text += QLatin1Char('\n');
    }
    m_text->replaceSelection(text);
    if (m_text->find(what, m_text->selectionStart() + m_text->selectionLength(), -1, m_options) < 0)
        m_fromTop = true;
    return Outcome::Replaced;
}

int FindSession::replaceAll(const QString& what, const QString& replacement)
{
    if (!m_text) {
        m_error = QStringLiteral("The text is gone");
        return -1;
    }
    return ::replaceAll(*m_text, what.trimmed(), replacement.trimmed(), &m_error);
}

void FindSession::searchFromTop()
{
    if (m_text)
        m_text->setSelectionStart(0);
}
