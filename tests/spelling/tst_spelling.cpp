#include "../editor/EditorFixture.h"
#include "ShortOfSpaceFile.h"
#include "editor/SpellingCommands.h"
#include "editor/SpellingMarks.h"
#include "spelling/PersonalWords.h"
#include "spelling/SpellingLanguages.h"
#include "spelling/SpellingWorker.h"
#include "spelling/WordScanner.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWaitMs = 30000;

QString joined(const QStringList& words)
{
    QStringList sorted = words;
    sorted.sort();
    return sorted.join(u'|');
}

// The underlined words, in document order.
QString markedWords(const SpellingMarks& marks, const RichTextBox& text)
{
    QStringList words;
    for (const SpellingMarks::Stretch& mark : marks.marks())
        words << text.plainText(mark.start, mark.length);
    return words.join(u'|');
}

} // namespace

class SpellingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wordsLookedAt_data();
    void wordsLookedAt();
    void dictionariesJudge_data();
    void dictionariesJudge();
    void personalWordsKept();
    void marksFollowTheUser();
    void documentKeepsItsLanguage();
    void missingDictionaryIsNamed();
};

void SpellingTest::wordsLookedAt_data()
{
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<QString>("words");
    QTest::newRow("timestamp and label") << "[00:00:18] TEACHER: Good questoin."
                                         << "Good|questoin";
    QTest::newRow("label of words") << "#00:01:02-3# Dr Rossi: la risposta"
                                    << "la|risposta";
    QTest::newRow("numbers, capitals, addresses")
        << "see www.exampel.com, mail ann@exampel.it, 42 NATO 3rd http://x.org/pagge now"
        << "see|mail|now";
    QTest::newRow("apostrophes and hyphens") << "l’uomo dell'anno e-mail 'quoted'"
                                             << "l’uomo|dell'anno|e-mail|quoted";
    QTest::newRow("a colon late in the line is no label") << "We talked for an hour about it: yes"
                                                          << "We|talked|for|an|hour|about|it|yes";
}

void SpellingTest::wordsLookedAt()
{
    QFETCH(QString, paragraph);
    QFETCH(QString, words);
    QStringList found;
    for (const WordScanner::Word& word : WordScanner::words(paragraph))
        found << paragraph.mid(word.start, word.length);
    QCOMPARE(found.join(u'|'), words);
}

void SpellingTest::dictionariesJudge_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<QString>("misspelt");
    QTest::addColumn<QString>("suggestion");
    QTest::newRow("English") << "en_US"
                             << "[00:00:18] ANNA: I recieve the letter 42 times"
                             << "recieve"
                             << "receive";
    QTest::newRow("Italian") << "it_IT"
                             << "Marco: è una fraze dell’anno"
                             << "fraze"
                             << "frase";
    QTest::newRow("Russian") << "ru_RU"
                             << "Привет, это превет из Москвы"
                             << "превет"
                             << "привет";
    QTest::newRow("Hungarian") << "hu_HU"
                               << "Ez egy nagyon szépp nap"
                               << "szépp"
                               << "szép";
}

void SpellingTest::dictionariesJudge()
{
    QFETCH(QString, code);
    QFETCH(QString, paragraph);
    QFETCH(QString, misspelt);
    QFETCH(QString, suggestion);
    const auto files = SpellingLanguages::filesOf(code, SpellingLanguages::systemFolders());
    QVERIFY2(files, "scripts/setup installs the dictionaries");
    SpellingWorker worker;
    QSignalSpy loaded(&worker, &SpellingWorker::loaded);
    QSignalSpy checked(&worker, &SpellingWorker::checked);
    QSignalSpy suggested(&worker, &SpellingWorker::suggested);
    worker.load(code, files->affix, files->words);
    worker.check(code, {paragraph}, true);
    worker.suggest(code, misspelt, SpellingCommands::kSuggestionCount);
    QTRY_COMPARE_WITH_TIMEOUT(suggested.size(), 1, kWaitMs);
    QVERIFY(loaded.at(0).at(1).toBool());
    QCOMPARE(joined(checked.at(0).at(1).toStringList()), misspelt);
    QVERIFY2(suggested.at(0).at(2).toStringList().contains(suggestion),
             qPrintable(suggested.at(0).at(2).toStringList().join(u',')));
}

void SpellingTest::personalWordsKept()
{
    TestFolder folder;
    const QString path = folder.filePath(QStringLiteral("Words.dic"));
    PersonalWords words(path);
    QVERIFY(words.read());
    QVERIFY(words.add(QStringLiteral("Bianchi")) && words.add(QStringLiteral("Übung")));
    QCOMPARE(folder.readBytes(QStringLiteral("Words.dic")), QByteArray("Bianchi\r\nÜbung\r\n"));

    PersonalWords again(path);
    QVERIFY(again.read());
    ShortOfSpaceFile full(path, 0, true);
    QString error;
    QVERIFY(!again.add(QStringLiteral("Verdi"), full, &error));
    QCOMPARE(error, noSpace());
    QVERIFY(again.contains(QStringLiteral("Verdi")) && again.contains(QStringLiteral("Übung")));
    QCOMPARE(folder.readBytes(QStringLiteral("Words.dic")), QByteArray("Bianchi\r\nÜbung\r\n"));
}

void SpellingTest::marksFollowTheUser()
{
    DocumentFixture parts;
    SpellingCommands spelling(parts.state, parts.dialogs, parts.box, nullptr, nullptr,
                              SpellingLanguages::systemFolders());
    SpellingMarks& marks = *spelling.marks();
    parts.box->resize(600, 400);
    parts.window.show();
    parts.type(QStringLiteral("[00:00:18] TEACHER: I recieve teh lettre.\nAnna: 42 teh "
                              "http://exampel.com"));
    QTRY_COMPARE_WITH_TIMEOUT(markedWords(marks, *parts.box),
                              QStringLiteral("recieve|teh|lettre|teh"), kWaitMs);

    marks.ignoreAll(QStringLiteral("teh"));
    QTRY_COMPARE(markedWords(marks, *parts.box), QStringLiteral("recieve|lettre"));

    QMenu menu;
    const int recieve = int(parts.box->toPlainText().indexOf(u"recieve"));
    QVERIFY(spelling.offerFor(&menu, recieve + 2));
    QVERIFY(!spelling.offerFor(&menu, 0));
    QTRY_VERIFY_WITH_TIMEOUT(menu.findChild<QAction*>(QStringLiteral("suggestionAction")), kWaitMs);
    QAction* best = menu.findChild<QAction*>(QStringLiteral("suggestionAction"));
    QCOMPARE(best->text(), QStringLiteral("receive"));
    best->trigger();
    QVERIFY(parts.box->toPlainText().contains(u"I receive teh lettre."));

    QMenu second;
    QVERIFY(spelling.offerFor(&second, int(parts.box->toPlainText().indexOf(u"lettre"))));
    second.findChild<QAction*>(QStringLiteral("addToDictionaryAction"))->trigger();
    QTRY_COMPARE(markedWords(marks, *parts.box), QString());
    QCOMPARE(parts.folder.readBytes(QStringLiteral("Files/Words.dic")), QByteArray("lettre\r\n"));

    // Another run takes the word from the file; the next misspelt word is found from the caret.
    DocumentFixture later;
    later.folder.writeBytes(QStringLiteral("Files/Words.dic"), "lettre\r\n");
    SpellingCommands again(later.state, later.dialogs, later.box, nullptr, nullptr,
                           SpellingLanguages::systemFolders());
    later.type(QStringLiteral("one lettre twoo\nthree fuor"));
    later.box->moveCursor(QTextCursor::Start);
    QSignalSpy found(again.marks(), &SpellingMarks::foundMisspelling);
    for (const char* expected : {"twoo", "fuor", "twoo"}) {
        found.clear();
        again.findNext();
        QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, kWaitMs);
        QCOMPARE(later.box->textCursor().selectedText(), QLatin1String(expected));
    }
}

void SpellingTest::documentKeepsItsLanguage()
{
    DocumentFixture parts;
    SpellingCommands spelling(parts.state, parts.dialogs, parts.box, nullptr, nullptr,
                              SpellingLanguages::systemFolders());
    QObject::connect(&parts.files, &DocumentCommands::captionChanged, &spelling,
                     [&] { spelling.documentNamed(parts.files.document().path); });
    const QString italian = parts.document(QStringLiteral("rossi.txt"), "una fraze");
    const QString english = parts.document(QStringLiteral("smith.txt"), "a frase");
    QCOMPARE(spelling.language(), QStringLiteral("en_US"));
    parts.files.openDocumentFile(italian);
    spelling.chooseLanguage(QStringLiteral("it_IT"));
    parts.files.openDocumentFile(english);
    QCOMPARE(spelling.language(), QStringLiteral("en_US"));
    QTRY_COMPARE_WITH_TIMEOUT(markedWords(*spelling.marks(), *parts.box), QStringLiteral("frase"),
                              kWaitMs);
    parts.files.openDocumentFile(italian);
    QCOMPARE(spelling.language(), QStringLiteral("it_IT"));
    QTRY_COMPARE_WITH_TIMEOUT(markedWords(*spelling.marks(), *parts.box), QStringLiteral("fraze"),
                              kWaitMs);
    QVERIFY(parts.folder.readBytes(QStringLiteral("Files/Spelling.ini"))
                .contains(("Document=it_IT|" + italian).toUtf8()));
}

void SpellingTest::missingDictionaryIsNamed()
{
    DocumentFixture parts;
    SpellingCommands spelling(parts.state, parts.dialogs, parts.box, nullptr, nullptr,
                              {parts.folder.filePath(QStringLiteral("no-dictionaries"))});
    QVERIFY(parts.dialogs.messages.isEmpty());
    spelling.setEnabled(false);
    spelling.setEnabled(true);
    QCOMPARE(spelling.language(), QString());
    QCOMPARE(parts.dialogs.messages.size(), 1);
    QCOMPARE(parts.dialogs.messages[0].text,
             parts.entry(Text::DictionaryMissing)
                 .arg(SpellingLanguages::displayName(QStringLiteral("en_US")),
                      QStringLiteral("hunspell-en-us")));
}

QTEST_MAIN(SpellingTest)
#include "tst_spelling.moc"
