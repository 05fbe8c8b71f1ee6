#include "editor/ReplaceAll.h"

#include "editor/RichTextBox.h"

#include <QStringMatcher>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// Changes that span fewer characters are laid out at once: a few milliseconds.
constexpr qsizetype kLayoutAtOnce = 100'000;

} // namespace

int replaceAll(RichTextBox& text, const QString& find, const QString& replacement, QString* error)
{
    if (text.isReadOnly()) {
        if (error)
            *error = qt_error_string(EPERM);
        return -1;
    }
    if (find.isEmpty())
        return 0;

    // The document's plain text has one character per cursor position (a paragraph end is
    // "\n"), so its indexes are positions. All matches are taken before the first change.
    QTextDocument* document = text.document();
    const QString plain = document->toPlainText();
    const QStringMatcher matcher(find, Qt::CaseInsensitive);
    std::vector<qsizetype> matches;
    for (qsizetype at = matcher.indexIn(plain); at >= 0;
         at = matcher.indexIn(plain, at + find.size()))
        matches.push_back(at);
    if (matches.empty())
        return 0;

    // The text area lays out every paragraph a change touched before it goes on: for changes all
    // over a long document that takes seconds. Setting the page size again (the same) starts its
    // layout afresh from the top instead, which then goes on in the background as after opening
    // a file; what the view shows is laid out when it is painted. That pays when the change spans
    // more than the text down to its first match and to the end of the view, which is laid out
    // at once either way.
    const qsizetype changed = matches.back() + find.size() - matches.front();
    const int viewEnd =
        text.cursorForPosition(QPoint(text.viewport()->width(), text.viewport()->height()))
            .position();
    if (changed > kLayoutAtOnce && changed > std::max<qsizetype>(matches.front(), viewEnd))
        document->setPageSize(document->pageSize());

    // From the last to the first, so that the positions still ahead stay valid.
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        const int start = int(*it);
        cursor.setPosition(start + 1);
        QTextCharFormat format = cursor.charFormat();
        format.clearProperty(QTextFormat::ObjectType);
        cursor.setPosition(start);
        cursor.setPosition(start + int(find.size()), QTextCursor::KeepAnchor);
        cursor.insertText(replacement, format);
    }
    cursor.endEditBlock();
    return int(matches.size());
}
