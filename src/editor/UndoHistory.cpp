#include "editor/UndoHistory.h"

#include <algorithm>

namespace {

// The characters of `pieces` from `from`, n of them, as if the pieces were one text.
QString slice(std::initializer_list<QStringView> pieces, int from, int n)
{
    QString result;
    if (n <= 0)
        return result;
    result.reserve(n);
    int offset = 0;
    for (QStringView piece : pieces) {
        const int begin = std::max(from - offset, 0);
        const int end = std::min(from + n - offset, int(piece.size()));
        if (begin < end)
            result += piece.sliced(begin, end - begin);
        offset += int(piece.size());
    }
    return result;
}

} // namespace

UndoHistory::Change UndoHistory::difference(const QString& before, const QString& after)
{
    const int shorter = int(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {prefix, int(before.size()) - prefix - suffix,
            after.mid(prefix, after.size() - prefix - suffix)};
}

void UndoHistory::reset(const QString& text, int caret)
{
    m_undo.clear();
    m_redo.clear();
    m_journal.clear();
    m_text = text;
    Snapshot first;
    first.caret = caret;
    first.length = int(text.size());
    m_undo.append(first);
}

void UndoHistory::record(const Change& change, int caret)
{
    const int position = std::clamp(change.position, 0, int(m_text.size()));
    const int removed = std::clamp(change.removed, 0, int(m_text.size()) - position);
    QStringView gone = QStringView(m_text).sliced(position, removed);
    QStringView added = change.inserted;
    // A change reported wider than it was (formatting, a whole paragraph) keeps only what differs.
    int prefix = 0;
    while (prefix < gone.size() && prefix < added.size() && gone[prefix] == added[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < gone.size() - prefix && suffix < added.size() - prefix &&
           gone[gone.size() - 1 - suffix] == added[added.size() - 1 - suffix])
        ++suffix;
    gone = gone.sliced(prefix, gone.size() - prefix - suffix);
    added = added.sliced(prefix, added.size() - prefix - suffix);

    Snapshot s;
    s.position = position + prefix;
    s.removedAt = int(m_journal.size());
    s.removedLength = int(gone.size());
    m_journal += gone;
    s.insertedAt = int(m_journal.size());
    s.insertedLength = int(added.size());
    m_journal += added;
    m_text.replace(s.position, s.removedLength, added.toString());
    s.caret = caret;
    s.length = int(m_text.size());

    m_redo.clear();
    m_undo.append(s);
}

QStringView UndoHistory::removedBy(const Snapshot& s) const
{
    return QStringView(m_journal).sliced(s.removedAt, s.removedLength);
}

QStringView UndoHistory::insertedBy(const Snapshot& s) const
{
    return QStringView(m_journal).sliced(s.insertedAt, s.insertedLength);
}

QString UndoHistory::textBefore(const Snapshot& s, int from, int n) const
{
    // The current text is the one after the change: put back what it removed.
    const QStringView text(m_text);
    const int head = std::min(s.position, int(text.size()));
    const int tail = std::min(head + s.insertedLength, int(text.size()));
    return slice({text.first(head), removedBy(s), text.sliced(tail)}, from, n);
}

QString UndoHistory::textAfter(const Snapshot& s, int from, int n) const
{
    // The current text is the one before the change: make it again.
    const QStringView text(m_text);
    const int head = std::min(s.position, int(text.size()));
    const int tail = std::min(head + s.removedLength, int(text.size()));
    return slice({text.first(head), insertedBy(s), text.sliced(tail)}, from, n);
}

UndoHistory::Edit UndoHistory::apply(int start, int length, const QString& text)
{
    Edit edit;
    edit.start = std::clamp(start, 0, int(m_text.size()));
    edit.length = std::clamp(length, 0, int(m_text.size()) - edit.start);
    edit.text = text;
    // Put back, a word comes selected; a character or a line break leaves the caret after it.
    edit.selectText = text.size() > 1;
    edit.caret = edit.start + int(text.size());
    m_text.replace(edit.start, edit.length, text);
    return edit;
}

bool UndoHistory::fits(int start, int length) const
{
    return start >= 0 && length >= 0 && start + length <= m_text.size();
}

bool UndoHistory::insertedBeforeCaret(const Snapshot& s)
{
    return s.removedLength == 0 && s.position + s.insertedLength == s.caret;
}

bool UndoHistory::changedFormatOnly(const Snapshot& s)
{
    return s.removedLength == 0 && s.insertedLength == 0;
}

bool UndoHistory::removedAtCaret(const Snapshot& s)
{
    return s.insertedLength == 0 && s.position == s.caret;
}

std::optional<UndoHistory::Edit> UndoHistory::undo()
{
    if (m_undo.size() < 2)
        return std::nullopt;
    const Snapshot current = m_undo.takeLast();
    const Snapshot& previous = m_undo.last();
    m_redo.append(current);
    const int grown = current.length - previous.length;
    if (grown > 0 && insertedBeforeCaret(current) && fits(current.caret - grown, grown)) {
        // Typing: take out what was put in before the caret.
        Edit edit = apply(current.caret - grown, grown, QString());
        edit.selectText = false;
        return edit;
    }
    if (changedFormatOnly(current) ||
        (grown < 0 && removedAtCaret(current) && fits(current.caret, 0))) {
        // A deletion at the caret comes back there; a change of formatting only is taken off
        // the list.
        return apply(current.caret, 0, textBefore(current, current.caret, -grown));
    }
    // A change away from the caret or over a selection (a paste, Replace All, one that kept the
    // length): undone as made.
    return apply(current.position, current.insertedLength, removedBy(current).toString());
}

std::optional<UndoHistory::Edit> UndoHistory::redo()
{
    if (m_redo.isEmpty())
        return std::nullopt;
    const Snapshot next = m_redo.takeLast();
    m_undo.append(next);
    const int shrunk = int(m_text.size()) - next.length;
    if (shrunk > 0 && removedAtCaret(next) && fits(next.caret, shrunk)) {
        Edit edit = apply(next.caret, shrunk, QString());
        edit.selectText = false;
        return edit;
    }
    // What typing put in ends at the caret it left.
    if (changedFormatOnly(next) ||
        (shrunk < 0 && insertedBeforeCaret(next) && fits(next.caret + shrunk, 0)))
        return apply(next.caret + shrunk, 0, textAfter(next, next.caret + shrunk, -shrunk));
    return apply(next.position, next.removedLength, insertedBy(next).toString());
}

qsizetype UndoHistory::memoryBytes() const
{
    return (m_undo.capacity() + m_redo.capacity()) * qsizetype(sizeof(Snapshot)) +
           (m_journal.capacity() + m_text.capacity()) * qsizetype(sizeof(QChar));
}
