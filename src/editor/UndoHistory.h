#pragma once

#include <QList>
#include <QString>
#include <optional>

// The editor's own undo and redo of the plain text: a snapshot after every change of the text
// (the caret after it, the text's length), undone and redone from the difference between two
// snapshots. Formatting is never restored.
//
// A snapshot keeps only what its change removed and inserted, in one journal of text, and the
// history keeps one copy of the current text: it grows with what was typed, not with the
// length of the text times the number of changes.
class UndoHistory {
public:
    // What a change did to the plain text: at `position`, `removed` characters gave way to
    // `inserted`.
    struct Change {
        int position = 0;
        int removed = 0;
        QString inserted;
    };

    // The edit that undoes or redoes a change: replace `length` characters at `start` with
    // `text`, then select what was put in when `selectText`, otherwise put the caret at `caret`.
    struct Edit {
        int start = 0;
        int length = 0;
        QString text;
        bool selectText = false;
        int caret = 0;
    };

    // The change that turns one text into the other: what lies between their common start and
    // their common end.
    static Change difference(const QString& before, const QString& after);

    // Starts over with the text as the first snapshot, which is never undone.
    void reset(const QString& text, int caret);
    // A snapshot after a change, with the caret where it now stands. Forgets what was undone.
    void record(const Change& change, int caret);

    // The edit that takes the last change back, or nothing when only the first snapshot is left.
    std::optional<Edit> undo();
    // The edit that makes the last undone change again, or nothing when none was undone.
    std::optional<Edit> redo();

    int undoCount() const { return int(m_undo.size()) - 1; }
    int redoCount() const { return int(m_redo.size()); }
    // The text as the history knows it: the document's plain text.
    const QString& text() const { return m_text; }
    // Bytes held: snapshots, journal and the copy of the text.
    qsizetype memoryBytes() const;

private:
    // Where one change's removed and inserted characters lie in the journal.
    struct Snapshot {
        int caret = 0;
        int length = 0;
        int position = 0;
        int removedAt = 0;
        int removedLength = 0;
        int insertedAt = 0;
        int insertedLength = 0;
    };

    QStringView removedBy(const Snapshot& s) const;
    QStringView insertedBy(const Snapshot& s) const;
    // n characters from `from` of the text before (or after) the snapshot's change, the current
    // text being the one after (or before) it.
    QString textBefore(const Snapshot& s, int from, int n) const;
    QString textAfter(const Snapshot& s, int from, int n) const;
    Edit apply(int start, int length, const QString& text);
    // Whether the change was typing at the caret: text put in just before the caret it left, or
    // taken out just after it. Those are undone by length and caret; any other as it was made.
    static bool insertedBeforeCaret(const Snapshot& s);
    static bool removedAtCaret(const Snapshot& s);
    // Whether the change left the plain text as it was: its undo only takes it off the list.
    static bool changedFormatOnly(const Snapshot& s);
    // Whether the span lies within the current text.
    bool fits(int start, int length) const;

    QList<Snapshot> m_undo;
    QList<Snapshot> m_redo;
    QString m_journal;
    QString m_text;
};
