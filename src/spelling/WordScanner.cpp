#include "spelling/WordScanner.h"

namespace WordScanner {

namespace {

// Hunspell takes no longer words; such a run is no word anyway.
constexpr int kLongestWord = 64;
// A label is a name of a few words before a colon.
constexpr int kLongestLabel = 40;
constexpr int kLabelWords = 3;

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u02BC';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// A run of letters may go on over an apostrophe or hyphen between two of them.
bool joinsWords(QStringView text, int at)
{
    const QChar c = text[at];
    return (isApostrophe(c) || c == u'-') && at > 0 && at + 1 < text.size() &&
           isWordChar(text[at - 1]) && isWordChar(text[at + 1]);
}

bool looksLikeAddress(QStringView chunk)
{
    return chunk.contains(u"://") || chunk.startsWith(u"www.", Qt::CaseInsensitive) ||
           chunk.contains(u'@');
}

bool isChecked(QStringView word)
{
    if (word.size() > kLongestWord)
        return false;
    bool lower = false;
    for (QChar c : word) {
        if (c.isDigit())
            return false;
        lower = lower || c.isLower();
    }
    return lower;
}

// Where the paragraph's speaker label ends, after an opening timestamp; 0 without one.
int labelEnd(QStringView text)
{
    int at = 0;
    while (at < text.size() && text[at].isSpace())
        ++at;
    if (at < text.size() && (text[at] == u'[' || text[at] == u'#')) {
        const QChar close = text[at] == u'[' ? u']' : u'#';
        const int end = int(text.indexOf(close, at + 1));
        if (end < 0)
            return 0;
        at = end + 1;
    }
    const int colon = int(text.indexOf(u':', at));
    if (colon < 0 || colon - at > kLongestLabel)
        return 0;
    const QStringView label = text.mid(at, colon - at).trimmed();
    if (label.isEmpty() || label.split(u' ', Qt::SkipEmptyParts).size() > kLabelWords)
        return 0;
    for (QChar c : label) {
        if (!(c.isLetter() || c.isMark() || c == u' ' || c == u'.' || c == u'-' || isApostrophe(c)))
            return 0;
    }
    return colon + 1;
}

} // namespace

QList<Word> words(QStringView paragraph)
{
    QList<Word> found;
    const int size = int(paragraph.size());
    int at = labelEnd(paragraph);
    while (at < size) {
        if (paragraph[at].isSpace()) {
            ++at;
            continue;
        }
        int chunkEnd = at;
        while (chunkEnd < size && !paragraph[chunkEnd].isSpace())
            ++chunkEnd;
        const QStringView chunk = paragraph.mid(at, chunkEnd - at);
        if (looksLikeAddress(chunk)) {
            at = chunkEnd;
            continue;
        }
        while (at < chunkEnd) {
            if (!isWordChar(paragraph[at])) {
                ++at;
                continue;
            }
            int end = at;
            while (end < chunkEnd && (isWordChar(paragraph[end]) || joinsWords(paragraph, end)))
                ++end;
            if (isChecked(paragraph.mid(at, end - at)))
                found.append({at, end - at});
            at = end;
        }
    }
    return found;
}

QString dictionaryForm(QStringView word)
{
    QString form = word.toString();
    for (QChar& c : form) {
        if (isApostrophe(c))
            c = u'\'';
    }
    return form;
}

} // namespace WordScanner
