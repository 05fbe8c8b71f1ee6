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

// Keys typed into the text area of a shown window: the editor's, or the document commands' own.
template <typename Base> struct Typing : Base {
    Typing()
    {
        QWidget* window = this->text()->window();
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("the window did not show");
        this->text()->setFocus();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(this->text(), key, modifiers);
    }
    void select(int start, int length) const
    {
        this->text()->setSelectionStart(start);
        this->text()->setSelectionLength(length);
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
    void newChangeForgetsWhatWasUndone();
    void changesOverASelectionComeBackWhole();
    void newOrOpenedDocumentStartsAHistoryOfItsOwn();
    void historyGrowsWithWhatWasTyped();
    void randomChangesUndoToTextsThatWere();
    void clipboardCarriesRtfAndPlainText();
    void pasteTakesRtfFirst_data();
    void pasteTakesRtfFirst();
    void printsThroughTheChosenPrinter();
};

void TestEditorUndo::typedCharactersGoBackOneByOne()
{
    Typing<DocumentFixture> f;
    QTest::keyClicks(f.text(), QStringLiteral("abc"));
    const QStringList back{QStringLiteral("ab|"), QStringLiteral("a|"), QStringLiteral("|")};
    for (const QString& expected : back) {
        f.undo.undo();
        QCOMPARE(shown(f.text()), expected);
    }
    // Only the empty document's snapshot is left: nothing more to undo.
    f.undo.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("|"));
    const QStringList again{QStringLiteral("a|"), QStringLiteral("ab|"), QStringLiteral("abc|")};
    for (const QString& expected : again) {
        f.undo.redo();
        QCOMPARE(shown(f.text()), expected);
    }
    QVERIFY(f.files.document().modified);
    QCOMPARE(f.undo.history().text(), f.text()->toPlainText());
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
    Typing<DocumentFixture> f;
    f.text()->insertPlainText(typed);
    f.select(start, length);
    f.key(Qt::Key(key));
    f.undo.undo();
    QCOMPARE(shown(f.text()), afterUndo);
}

void TestEditorUndo::sameLengthChangeComesBack()
{
    Typing<DocumentFixture> f;
    QTest::keyClicks(f.text(), QStringLiteral("abc"));
    f.select(1, 1);
    QTest::keyClicks(f.text(), QStringLiteral("x"));
    const int steps = f.undo.history().undoCount();
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("abc"));
    QCOMPARE(f.undo.history().undoCount(), steps - 1);
    // The next undo takes out the character typed before it.
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("ab"));
}

void TestEditorUndo::newChangeForgetsWhatWasUndone()
{
    Typing<DocumentFixture> f;
    QTest::keyClicks(f.text(), QStringLiteral("ab"));
    f.undo.undo();
    QCOMPARE(f.undo.history().redoCount(), 1);
    QTest::keyClicks(f.text(), QStringLiteral("z"));
    QCOMPARE(f.undo.history().redoCount(), 0);
    f.undo.redo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("az"));
}

void TestEditorUndo::changesOverASelectionComeBackWhole()
{
    Typing<DocumentFixture> f;
    QTest::keyClicks(f.text(), QStringLiteral("one two three"));
    f.select(4, 3);
    QTest::keyClicks(f.text(), QStringLiteral("x"));
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one two three"));
    f.undo.redo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));

    // A change far from the caret, as Replace All makes.
    QTextCursor away(f.text()->document());
    away.setPosition(0);
    away.insertText(QStringLiteral(">> "));
    f.text()->moveCursor(QTextCursor::End);
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));
    QCOMPARE(::replaceAll(*f.text(), QStringLiteral("one"), QStringLiteral("two")), 1);
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("one x three"));
    QCOMPARE(f.undo.history().text(), f.text()->toPlainText());
}

void TestEditorUndo::newOrOpenedDocumentStartsAHistoryOfItsOwn()
{
    Typing<DocumentFixture> f;
    QTest::keyClicks(f.text(), QStringLiteral("draft"));
    f.dialogs.answers << QMessageBox::No;
    f.files.openDocumentFile(f.document(QStringLiteral("talk.txt"), "the interview"));
    f.text()->setFocus();
    // The draft never comes back into the opened file's text, where a save would write it.
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("the interview"));
    QVERIFY(!f.files.document().modified);
    f.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.text(), QStringLiteral("!"));
    f.undo.undo();
    QCOMPARE(shown(f.text()), QStringLiteral("the interview|"));
    QCOMPARE(f.undo.history().text(), f.text()->toPlainText());
    // Nor does a new document take the text before it back.
    QTest::keyClicks(f.text(), QStringLiteral("?"));
    f.dialogs.answers << QMessageBox::No;
    f.files.newDocument();
    f.text()->setFocus();
    f.undo.undo();
    QCOMPARE(f.text()->toPlainText(), QString());
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

void TestEditorUndo::randomChangesUndoToTextsThatWere()
{
    QRandomGenerator random(24);
    UndoHistory history;
    history.reset(QString(), 0);
    QString shown; // changed only by the edits that undo and redo give
    int caret = 0;
    QStringList done{shown};
    QStringList undone;
    for (int step = 0; step < 2000; ++step) {
        QString after = shown;
        const int at = random.bounded(int(after.size()) + 1);
        const int kind = random.bounded(5);
        if (kind == 0) { // typing
            after.insert(at, QLatin1Char("ao "[random.bounded(3)]));
            caret = at + 1;
        } else if (kind == 1) { // a paste over a selection
            after.replace(at, random.bounded(int(after.size()) - at + 1), QStringLiteral("alpha"));
            caret = at + 5;
        } else if (kind == 2) { // Replace All
            after.replace(QStringLiteral("alpha"), QStringLiteral("omega"));
            caret = std::min(caret, int(after.size()));
        } else if (const auto edit = kind == 3 ? history.undo() : history.redo()) {
            shown.replace(edit->start, edit->length, edit->text);
            caret = edit->caret;
            (kind == 3 ? undone : done) << (kind == 3 ? done : undone).takeLast();
        }
        if (kind < 3) {
            history.record(UndoHistory::difference(shown, after), caret);
            shown = after;
            done << after;
            undone.clear();
        }
        QVERIFY2(shown == done.last(), qPrintable(QString::number(step)));
    }
}

void TestEditorUndo::clipboardCarriesRtfAndPlainText()
{
    Typing<EditorFixture> f;
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
    Typing<EditorFixture> f;
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
    Typing<DocumentFixture> f;
    f.text()->insertPlainText(QStringLiteral("Printed transcript line"));
    f.files.print();
    QCOMPARE(f.dialogs.printDialogs, 1);

    const QString pdf = f.folder.filePath(QStringLiteral("out.pdf"));
    f.dialogs.printFiles << pdf;
    f.files.print();
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
