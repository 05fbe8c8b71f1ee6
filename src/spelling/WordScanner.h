#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The words of a paragraph that spelling looks at. Never looked at: timestamps and anything else
// with a digit, words in capitals (acronyms, speaker names), web and mail addresses, and the
// speaker label that opens a paragraph ("Anna:", "Dr Rossi:", after a timestamp too).
namespace WordScanner {

struct Word {
    int start = 0;
    int length = 0;
    bool operator==(const Word&) const = default;
};

QList<Word> words(QStringView paragraph);

// The word as the dictionaries spell it: typographic apostrophes become plain ones.
QString dictionaryForm(QStringView word);

} // namespace WordScanner
