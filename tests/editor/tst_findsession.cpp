#include "editor/FindSession.h"
#include "editor/RichTextBox.h"

#include <QTest>
#include <cerrno>

namespace {

using Outcome = FindSession::Outcome;

// What each press came to, then the text: "Found 2,3 / NoFurther 19,3 | text".
QString run(RichTextBox& text, FindSession& session, const QStringList& presses,
            const QString& what, const QString& replacement = QString())
{
    const QMetaEnum names = QMetaEnum::fromType<Outcome>();
    QStringList steps;
    for (const QString& press : presses) {
        const Outcome outcome = press == QLatin1String("find") ? session.find(what)
                                                               : session.replace(what, replacement);
        steps << QStringLiteral("%1 %2,%3")
                     .arg(QLatin1String(names.valueToKey(int(outcome))))
                     .arg(text.selectionStart())
                     .arg(text.selectionLength());
    }
    return steps.join(QStringLiteral(" / ")) + QStringLiteral(" | ") + text.toPlainText();
}

} // namespace

class TestFindSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findWalksTheMatchesThenStartsAgain_data();
    void findWalksTheMatchesThenStartsAgain();
    void replaceFindsFirstThenReplaces_data();
    void replaceFindsFirstThenReplaces();
    void aTextGoneIsNoTextToSearch();
};

void TestFindSession::findWalksTheMatchesThenStartsAgain_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QTextDocument::FindFlags>("options");
    QTest::addColumn<QString>("shown");

    const QString text = QStringLiteral(" | a cat, two cats, a CAT");
    const QString cat = QStringLiteral("cat");
    QTest::newRow("any") << cat << QTextDocument::FindFlags()
                         << "Found 2,3 / Found 11,3 / Found 19,3 / NoFurther 19,3 / Found 2,3" +
                                text;
    QTest::newRow("whole word") << cat << QTextDocument::FindFlags(QTextDocument::FindWholeWords)
                                << "Found 2,3 / Found 19,3 / NoFurther 19,3 / Found 2,3 / "
                                   "Found 19,3" +
                                       text;
    QTest::newRow("whole word, match case")
        << cat << (QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively)
        << "Found 2,3 / NoFurther 2,3 / Found 2,3 / NoFurther 2,3 / Found 2,3" + text;
    QTest::newRow("nothing") << QStringLiteral("Cat")
                             << QTextDocument::FindFlags(QTextDocument::FindCaseSensitively)
                             << "NotFound 0,0 / NotFound 0,0 / NotFound 0,0 / NotFound 0,0 / "
                                "NotFound 0,0 | a cat, two cats, a CAT";
}

void TestFindSession::findWalksTheMatchesThenStartsAgain()
{
    QFETCH(QString, what);
    QFETCH(QTextDocument::FindFlags, options);
    QFETCH(QString, shown);
    RichTextBox text;
    text.setPlainText(QStringLiteral("a cat, two cats, a CAT"));
    FindSession session(&text);
    session.setOptions(options);
    QCOMPARE(run(text, session, QStringList(5, QStringLiteral("find")), what), shown);
}

void TestFindSession::replaceFindsFirstThenReplaces_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("selected"); // from the start, before the session takes it
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("shown");

    QTest::newRow("armed, then replaces and moves on")
        << "a cat and a cat." << 0 << false
        << "Armed 2,3 / Replaced 13,3 / Replaced 17,0 / NotFound 17,0 | a lion and a lion.";
    // The selection's line break goes back once, with the first replacement.
    QTest::newRow("a cut text") << "cat\nnext\ncat" << 6 << false
                                << "Armed 0,3 / Replaced 11,3 / Replaced 15,0 / NotFound 15,0 | "
                                   "lion\n\nnext\nlion";
    QTest::newRow("read only") << "a cat" << 0 << true
                               << "Armed 2,3 / Refused 2,3 / Refused 2,3 / Refused 2,3 | a cat";
}

void TestFindSession::replaceFindsFirstThenReplaces()
{
    QFETCH(QString, document);
    QFETCH(int, selected);
    QFETCH(bool, readOnly);
    QFETCH(QString, shown);
    RichTextBox text;
    text.setPlainText(document);
    text.setReadOnly(readOnly);
    text.setSelectionLength(selected);
    FindSession session(&text);
    const QString what = selected ? session.takeSelection() : QStringLiteral("cat");
    QCOMPARE(session.findTextCut(), selected > 0);
    QCOMPARE(
        run(text, session, QStringList(4, QStringLiteral("replace")), what, QStringLiteral("lion")),
        shown);
    QCOMPARE(session.error(), readOnly ? qt_error_string(EPERM) : QString());
}

void TestFindSession::aTextGoneIsNoTextToSearch()
{
    auto text = std::make_unique<RichTextBox>();
    text->setPlainText(QStringLiteral("a cat"));
    FindSession session(text.get());
    text.reset();
    QCOMPARE(session.find(QStringLiteral("cat")), Outcome::NoText);
    QCOMPARE(session.replace(QStringLiteral("cat"), QString()), Outcome::NoText);
    QCOMPARE(session.replaceAll(QStringLiteral("cat"), QString()), -1);
}

QTEST_MAIN(TestFindSession)
#include "tst_findsession.moc"
