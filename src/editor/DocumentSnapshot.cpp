#include "editor/DocumentSnapshot.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

// A format of its own, with no tie to the document's objects (lists are linked anew).
QTextFormat detached(const QTextFormat& format)
{
    QTextFormat copy(format.type());
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (it.key() != QTextFormat::ObjectIndex)
            copy.setProperty(it.key(), it.value());
    }
    return copy;
}

} // namespace

DocumentSnapshot DocumentSnapshot::take(const QTextDocument& document)
{
    DocumentSnapshot snapshot;
    snapshot.m_text = document.toRawText();
    snapshot.m_defaultFont = document.defaultFont();
    const QList<QTextFormat> formats = document.allFormats();
    snapshot.m_formats.reserve(formats.size());
    for (const QTextFormat& format : formats)
        snapshot.m_formats.append(detached(format));

    QHash<const QTextList*, int> lists;
    snapshot.m_paragraphs.reserve(size_t(document.blockCount()));
    // Positions counted along: a block or fragment asked for its own walks Qt's tree.
    int position = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph{position, block.blockFormatIndex(), block.charFormatIndex(), -1,
                            int(snapshot.m_runs.size())};
        if (const QTextList* list = block.textList()) {
            auto it = lists.constFind(list);
            if (it == lists.cend()) {
                it = lists.insert(list, int(snapshot.m_lists.size()));
                snapshot.m_lists.push_back(detached(list->format()).toListFormat());
            }
            paragraph.list = *it;
        }
        snapshot.m_paragraphs.push_back(paragraph);
        int run = position;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int length = fragment.length();
            snapshot.m_runs.push_back({run, length, fragment.charFormatIndex()});
            run += length;
        }
        position += block.length();
    }
    return snapshot;
}

std::unique_ptr<QTextDocument> DocumentSnapshot::rebuild() const
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_defaultFont);
    const auto formatAt = [this](int index) {
        return index >= 0 && index < m_formats.size() ? m_formats[index] : QTextFormat();
    };
    QTextCursor cursor(document.get());
    std::vector<QTextList*> lists(m_lists.size(), nullptr);
    for (size_t p = 0; p < m_paragraphs.size(); ++p) {
        const Paragraph& paragraph = m_paragraphs[p];
        const QTextBlockFormat blockFormat = formatAt(paragraph.blockFormat).toBlockFormat();
        const QTextCharFormat charFormat = formatAt(paragraph.charFormat).toCharFormat();
        if (p == 0) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormat);
        } else {
            cursor.insertBlock(blockFormat, charFormat);
        }
        if (paragraph.list >= 0) {
            QTextList*& list = lists[size_t(paragraph.list)];
            if (list)
                list->add(cursor.block());
            else
                list = cursor.createList(m_lists[size_t(paragraph.list)]);
        }
        const size_t runsEnd =
            p + 1 < m_paragraphs.size() ? size_t(m_paragraphs[p + 1].firstRun) : m_runs.size();
        for (size_t r = size_t(paragraph.firstRun); r < runsEnd; ++r) {
            const Run& run = m_runs[r];
            cursor.insertText(m_text.mid(run.position, run.length),
                              formatAt(run.format).toCharFormat());
        }
    }
    return document;
}
