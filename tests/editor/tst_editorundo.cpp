#include "EditorFixture.h"
#include "editor/ReplaceAll.h"
#include "editor/UndoHistory.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

namespace {

// The text area's text, with [ ] around the selection or | at the caret.
QString shown(const RichTextBox* box)
{
    const QTextCursor cursor = box->textCursor();
    QString text = box->toPlainText();
    if (cursor.hasSelection()) {
        text.insert(cursor.selectionEnd(), QLatin1Char(']'));
        text.insert(cursor.selectionStart(), QLatin1Char('['));
    } else {
        text.insert(cursor.position(), QLatin1Char('|'));
    }
    return text;
}

struct Typing : EditorFixture {
    Typing()
    {
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            qFatal("the editor did not show");
        text()->setFocus();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(text(), key, modifiers);
    }
    void undo() const { key(Qt::Key_Z, Qt::ControlModifier); }
    void redo() const { key(Qt::Key_Y, Qt::ControlModifier); }
    void select(int start, int length) const
    {
        text()->setSelectionStart(start);
        text()->setSelectionLength(length);
    }
};

} // namespace

class TestEditorUndo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedCharactersGoBackOneByOne();
    void deletionsComeBack_data();
    void deletionsComeBack();
    void sameLengthChangeComesBack();
    void randomEditsUndoToTextsThatWere_data();
    void randomEditsUndoToTextsThatWere();
    void newChangeForgetsWhatWasUndone();
    void changesOverASelectionComeBackWhole();
    void openedFileStartsAHistoryOfItsOwn();
    void historyGrowsWithWhatWasTyped();
    void clipboardCarriesRtfAndPlainText();
    void pasteTakesRtfFirst_data();
    void pasteTakesRtfFirst();
    void printsThroughTheChosenPrinter();
};

void TestEditorUndo::typedCharactersGoBackOneByOne()
{
    Typing f;
    QTest::keyClicks(f.text(), QStringLiteral("abc"));
    const QStringList back{QStringLiteral("ab|"), QStringLiteral("a|"), QStringLiteral("|")};
    for (const QString& expected : back) {
        f.undo();
        QCOMPARE(shown(f.text()), expected);
    }
    // Only the empty document's snapshot is left: nothing more to undo.
    f.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("|"));
    const QStringList again{QStringLiteral("a|"), QStringLiteral("ab|"), QStringLiteral("abc|")};
    for (const QString& expected : again) {
        f.redo();
        QCOMPARE(shown(f.text()), expected);
    }
    QVERIFY(f.editor->document().modified);
    QCOMPARE(f.editor->undoHistory().text(), f.text()->toPlainText());
}

void TestEditorUndo::deletionsComeBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("afterUndo");

    QTest::newRow("a character") << QStringLiteral("abc") << 3 << 0 << int(Qt::Key_Backspace)
                                 << QStringLiteral("abc|");
    QTest::newRow("a character ahead")
        << QStringLiteral("abc") << 1 << 0 << int(Qt::Key_Delete) << QStringLiteral("ab|c");
    QTest::newRow("a selected word") << QStringLiteral("one two three") << 4 << 4
                                     << int(Qt::Key_Delete) << QStringLiteral("one [two ]three");
    QTest::newRow("a line break") << QStringLiteral("ab\ncd") << 3 << 0 << int(Qt::Key_Backspace)
                                  << QStringLiteral("ab\n|cd");
}

void TestEditorUndo::deletionsComeBack()
{
    QFETCH(QString, typed);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, key);
    QFETCH(QString, afterUndo);
    Typing f;
    f.text()->insertPlainText(typed);
    f.select(start, length);
    f.key(Qt::Key(key));
    f.undo();
    QCOMPARE(shown(f.text()), afterUndo);
}

void TestEditorUndo::sameLengthChangeComesBack()
{
    Typing f;
    QTest::keyClicks(f.text(), QStringLiteral("abc"));
    f.select(1, 1);
    QTest::keyClicks(f.text(), QStringLiteral("x"));
    f.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("ab|c"));
    f.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("ab|"));
    f.redo();
    f.redo();
    QCOMPARE(shown(f.text()), QStringLiteral("ax|c"));
    // A change of formatting alone is taken off the list without a visible change.
    f.select(0, 3);
    f.editor->runEditorCommand(EditorCommand::Bold);
    f.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("axc"));
}

void TestEditorUndo::randomEditsUndoToTextsThatWere_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 2u, 3u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestEditorUndo::randomEditsUndoToTextsThatWere()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QStringList words{QStringLiteral("alpha"), QStringLiteral("omega"),
                            QStringLiteral("Alpha "), QStringLiteral("be"), QStringLiteral("x")};
    const auto word = [&] { return words.at(random.bounded(int(words.size()))); };
    Typing f;
    // The texts each step led to, and those undone.
    QStringList done{QString()};
    QStringList undone;
    const auto changed = [&](const QString& text) {
        done << text;
        undone.clear();
    };
    for (int step = 0; step < 60; ++step) {
        const QString now = done.last();
        const int at = random.bounded(int(now.size()) + 1);
        switch (random.bounded(5)) {
        case 0: // typing, one step a character
            f.select(at, 0);
            for (const QChar c : word()) {
                QTest::keyClicks(f.text(), QString(c));
                changed(QString(done.last()).insert(f.text()->selectionStart() - 1, c));
            }
            break;
        case 1: { // Replace All
            const QString find = word().trimmed();
            const QString by = word();
            if (::replaceAll(*f.text(), find, by) > 0)
                changed(QString(now).replace(find, by, Qt::CaseInsensitive));
            break;
        }
        case 2: { // paste over a selection
            const QString pasted = word();
            QApplication::clipboard()->setText(pasted);
            const int length = random.bounded(int(now.size()) - at + 1);
            f.select(at, length);
            f.key(Qt::Key_V, Qt::ControlModifier);
            changed(QString(now).replace(at, length, pasted));
            break;
        }
        case 3:
            f.undo();
            if (done.size() > 1)
                undone << done.takeLast();
            break;
        default:
            f.redo();
            if (!undone.isEmpty())
                done << undone.takeLast();
            break;
        }
        QVERIFY2(f.text()->toPlainText() == done.last(), qPrintable(QString::number(step)));
    }
    // Back to the start, and forward to the end, one step at a time.
    while (done.size() > 1) {
        f.undo();
        undone << done.takeLast();
        QCOMPARE(f.text()->toPlainText(), done.last());
    }
    while (!undone.isEmpty()) {
        f.redo();
        done << undone.takeLast();
        QCOMPARE(f.text()->toPlainText(), done.last());
    }
}

void TestEditorUndo::newChangeForgetsWhatWasUndone()
{
    Typing f;
    QTest::keyClicks(f.text(), QStringLiteral("ab"));
    f.undo();
    QCOMPARE(f.editor->undoHistory().redoCount(), 1);
    QTest::keyClicks(f.text(), QStringLiteral("z"));
    QCOMPARE(f.editor->undoHistory().redoCount(), 0);
    f.redo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("az"));
}

void TestEditorUndo::changesOverASelectionComeBackWhole()
{
    Typing f;
    QTest::keyClicks(f.text(), QStringLiteral("one two three"));
    f.select(4, 3);
    QTest::keyClicks(f.text(), QStringLiteral("x"));
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));
    f.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one two three"));
    f.redo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));

    // A change far from the caret, as Replace All makes.
    QTextCursor away(f.text()->document());
    away.setPosition(0);
    away.insertText(QStringLiteral(">> "));
    f.text()->moveCursor(QTextCursor::End);
    f.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));
    QCOMPARE(f.editor->undoHistory().text(), f.text()->toPlainText());
}

void TestEditorUndo::openedFileStartsAHistoryOfItsOwn()
{
    Typing f;
    QTest::keyClicks(f.text(), QStringLiteral("draft"));
    f.dialogs.answers << QMessageBox::No;
    f.editor->openDocumentFile(f.document(QStringLiteral("talk.txt"), "the interview"));
    f.text()->setFocus();
    // The draft never comes back into the opened file's text, where a save would write it.
    f.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("the interview"));
    QVERIFY(!f.editor->document().modified);
    f.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.text(), QStringLiteral("!"));
    f.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("the interview|"));
    QCOMPARE(f.editor->undoHistory().text(), f.text()->toPlainText());
}

void TestEditorUndo::historyGrowsWithWhatWasTyped()
{
    UndoHistory history;
    history.reset(QString(), 0);
    QString text;
    for (int i = 0; i < 20000; ++i) {
        history.record({i, 0, QStringLiteral("x")}, i + 1);
        text += QLatin1Char('x');
    }
    QCOMPARE(history.text(), text);
    // A copy of the text per keystroke would be 20000 * 10000 characters on average.
    QVERIFY(history.memoryBytes() < 2 * 1024 * 1024);
    // A snapshot that does not fit the text is undone as it was made, never past its ends.
    history.reset(QStringLiteral("abc"), 0);
    history.record({0, 3, QStringLiteral("wxyz")}, 0);
    const auto edit = history.undo();
    QVERIFY(edit);
    QCOMPARE(history.text(), QStringLiteral("abc"));
    QVERIFY(history.redo());
    QCOMPARE(history.text(), QStringLiteral("wxyz"));
    QCOMPARE(history.undoCount(), 1);
    QCOMPARE(history.redoCount(), 0);
}

void TestEditorUndo::clipboardCarriesRtfAndPlainText()
{
    Typing f;
    f.text()->insertPlainText(QStringLiteral("keep this"));
    f.select(5, 4);
    f.text()->setSelectionBold(true);
    f.key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    QCOMPARE(copied->text(), QStringLiteral("this"));

    f.key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("keep "));
    f.key(Qt::Key_V, Qt::ControlModifier);
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("keep thisthis"));
    f.select(9, 4);
    QVERIFY(f.text()->selectionBold());
}

void TestEditorUndo::pasteTakesRtfFirst_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("both") << QByteArray("{\\rtf1 {\\i rich}}") << QStringLiteral("plain")
                          << QStringLiteral("rich");
    QTest::newRow("plain only") << QByteArray() << QStringLiteral("plain")
                                << QStringLiteral("plain");
    QTest::newRow("neither") << QByteArray() << QString() << QString();
}

void TestEditorUndo::pasteTakesRtfFirst()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, plain);
    QFETCH(QString, pasted);
    Typing f;
    auto* data = new QMimeData;
    if (!rtf.isEmpty())
        data->setData(QStringLiteral("text/rtf"), rtf);
    if (!plain.isEmpty())
        data->setText(plain);
    QApplication::clipboard()->setMimeData(data);
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.text()->toPlainText(), pasted);
}

void TestEditorUndo::printsThroughTheChosenPrinter()
{
    Typing f;
    f.text()->insertPlainText(QStringLiteral("Printed transcript line"));
    f.editor->print();
    QCOMPARE(f.dialogs.printDialogs, 1);

    const QString pdf = f.folder.filePath(QStringLiteral("out.pdf"));
    f.dialogs.printFiles << pdf;
    f.editor->print();
    QVERIFY(QFileInfo(pdf).size() > 0);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed to read the PDF back");
    QProcess reader;
    reader.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(reader.waitForFinished());
    QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).simplified(),
             QStringLiteral("Printed transcript line"));
}

QTEST_MAIN(TestEditorUndo)
#include "tst_editorundo.moc"
