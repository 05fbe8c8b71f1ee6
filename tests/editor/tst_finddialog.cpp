#include "EditorFixture.h"
#include "editor/FindDialog.h"
#include "editor/ReplaceAll.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <cerrno>

namespace {

QStringList listOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// An editor with its find dialog, the document and the dialog's texts ready.
struct FindFixture {
    EditorFixture editor;
    QPointer<FindDialog> dialog;

    explicit FindFixture(const QString& document = QString()) { text()->setPlainText(document); }
    ~FindFixture() { delete dialog.data(); }

    RichTextBox* text() const { return editor.text(); }
    RecordingDialogs& dialogs() { return editor.dialogs; }

    FindDialog* open(FindDialog::Mode mode)
    {
        dialog = new FindDialog(editor.state, editor.dialogs, text(), mode);
        dialog->bringForward();
        return dialog;
    }

    template <typename Widget> Widget* child(const char* name) const
    {
        auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
        if (!widget)
            qFatal("no %s in the find dialog", name);
        return widget;
    }
    QComboBox* findBox() const { return child<QComboBox>("findBox"); }
    QComboBox* replaceBox() const { return child<QComboBox>("replaceBox"); }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QString findCaption() const { return button("findButton")->text(); }
    QString replaceCaption() const { return button("replaceButton")->text(); }

    void press(const char* name, int times = 1) const
    {
        for (int i = 0; i < times; ++i)
            button(name)->click();
    }

    void select(int start, int length) const
    {
        text()->setSelectionStart(start);
        text()->setSelectionLength(length);
    }
    QPair<int, int> selection() const
    {
        return {text()->selectionStart(), text()->selectionLength()};
    }

    QString entry(int n) const { return editor.state.texts.entry(n); }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& message : editor.dialogs.messages)
            texts << message.text;
        return texts;
    }
};

using Positions = QList<int>;

} // namespace

class TestFindDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadTakesTheSelectionsFirstLine_data();
    void loadTakesTheSelectionsFirstLine();
    void loadSetsTheCaptionsOfTheMode_data();
    void loadSetsTheCaptionsOfTheMode();
    void findInAnEmptyDocumentIsNotFound();
    void findWalksTheMatchesThenStartsAgain_data();
    void findWalksTheMatchesThenStartsAgain();
    void replaceFindsFirstThenReplacesAndMovesOn();
    void replaceAllCountsEachOriginalOccurrenceOnce_data();
    void replaceAllCountsEachOriginalOccurrenceOnce();
    void replaceAllIsOneUndoStepAndKeepsTheFormatting();
    void replaceAllOverALongDocumentKeepsTheView();
    void readOnlyTextIsReportedAsAnError();
    void historyKeepsEachTextOnce_data();
    void historyKeepsEachTextOnce();
    void droppedTextGivesItsFirstLine_data();
    void droppedTextGivesItsFirstLine();
    void choosingFromTheListSearchesFromTheTop();
    void cancelOrLosingTheTextEndsTheDialog_data();
    void cancelOrLosingTheTextEndsTheDialog();
};

void TestFindDialog::loadTakesTheSelectionsFirstLine_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("findText");
    QTest::addColumn<bool>("cut");

    // The document: "  two words  \nsecond line\nthird"
    QTest::newRow("nothing selected") << 3 << 0 << QString() << false;
    QTest::newRow("trimmed") << 0 << 13 << QStringLiteral("two words") << false;
    // Trimmed before the cut: what stands before the break stays as selected.
    QTest::newRow("two lines") << 2 << 18 << QStringLiteral("two words  ") << true;
    QTest::newRow("a line break first") << 13 << 7 << QStringLiteral("second") << false;
    QTest::newRow("into the third line") << 14 << 15 << QStringLiteral("second line") << true;
}

void TestFindDialog::loadTakesTheSelectionsFirstLine()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, findText);
    QFETCH(bool, cut);

    FindFixture f(QStringLiteral("  two words  \nsecond line\nthird"));
    f.select(start, length);
    f.open(FindDialog::Mode::Replace);
    QCOMPARE(f.findBox()->currentText(), findText);
    QCOMPARE(f.dialog->session().findTextCut(), cut);
    QCOMPARE(listOf(f.findBox()), findText.isEmpty() ? QStringList() : QStringList{findText});
    QCOMPARE(f.replaceBox()->count(), 0);
}

void TestFindDialog::loadSetsTheCaptionsOfTheMode_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<QString>("title");

    QTest::newRow("find") << false << QStringLiteral("en 56...");
    QTest::newRow("replace") << true << QStringLiteral("Replace...");
}

void TestFindDialog::loadSetsTheCaptionsOfTheMode()
{
    QFETCH(bool, replacing);
    QFETCH(QString, title);

    FindFixture f;
    f.editor.state.texts.setText(Text::Replace, QStringLiteral("Rep&lace"));
    f.text()->window()->show();
    f.open(replacing ? FindDialog::Mode::Replace : FindDialog::Mode::Find);
    QCOMPARE(f.dialog->windowTitle(), title);
    QVERIFY(f.dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!f.dialog->parentWidget());
    // Over the editor it works on.
    const QPoint offCentre =
        f.dialog->frameGeometry().center() - f.text()->window()->frameGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 2);

    QCOMPARE(f.findCaption(), QStringLiteral("&en 56"));
    QCOMPARE(f.replaceCaption(), QStringLiteral("Rep&lace..."));
    QCOMPARE(f.button("replaceAllButton")->text(), QStringLiteral("en 61"));
    QCOMPARE(f.button("cancelButton")->text(), QStringLiteral("en 21"));
    QCOMPARE(f.child<QLabel>("findLabel")->text(), QStringLiteral("en 56"));
    QCOMPARE(f.child<QLabel>("replaceLabel")->text(), QStringLiteral("en 60"));
    QCOMPARE(f.child<QGroupBox>("optionsGroup")->title(), QStringLiteral("en 62"));
    QCOMPARE(f.child<QCheckBox>("wholeWordBox")->text(), QStringLiteral("en 63"));
    QCOMPARE(f.child<QCheckBox>("matchCaseBox")->text(), QStringLiteral("en 64"));

    QCOMPARE(f.button("replaceButton")->isEnabled(), replacing);
    QCOMPARE(f.button("replaceAllButton")->isEnabled(), replacing);
    QCOMPARE(f.child<QLabel>("replaceLabel")->isEnabled(), replacing);
    QCOMPARE(f.replaceBox()->isEnabled(), replacing);
    QVERIFY(f.button("findButton")->isEnabled());
}

void TestFindDialog::findInAnEmptyDocumentIsNotFound()
{
    FindFixture f;
    f.editor.state.texts.setText(Text::TextNotFound, QStringLiteral("Text &not found."));
    f.open(FindDialog::Mode::Find);
    f.findBox()->setEditText(QStringLiteral("cat"));
    f.press("findButton");
    QCOMPARE(f.dialogs().messages.size(), 1);
    const auto& message = f.dialogs().messages.first();
    QCOMPARE(message.icon, QMessageBox::Information);
    QCOMPARE(message.title, QStringLiteral("Vocarta"));
    QCOMPARE(message.text, QStringLiteral("Text not found."));
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(f.findCaption(), QStringLiteral("&en 56"));
}

void TestFindDialog::findWalksTheMatchesThenStartsAgain_data()
{
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<Positions>("matches");

    // The document: "a cat, two cats, a CAT". The session's own test has the rules; these rows
    // are the boxes' options.
    QTest::newRow("whole word") << true << false << Positions{2, 19};
    QTest::newRow("match case") << false << true << Positions{2, 11};
}

void TestFindDialog::findWalksTheMatchesThenStartsAgain()
{
    QFETCH(bool, wholeWord);
    QFETCH(bool, matchCase);
    QFETCH(Positions, matches);

    FindFixture f(QStringLiteral("a cat, two cats, a CAT"));
    f.open(FindDialog::Mode::Find);
    f.child<QCheckBox>("wholeWordBox")->setChecked(wholeWord);
    f.child<QCheckBox>("matchCaseBox")->setChecked(matchCase);
    f.findBox()->setEditText(QStringLiteral("cat"));

    for (int match : matches) {
        f.press("findButton");
        QCOMPARE(f.selection(), qMakePair(match, 3));
        QCOMPARE(f.findCaption(), QStringLiteral("en 57"));
    }
    QVERIFY(f.dialogs().messages.isEmpty());

    f.press("findButton");
    QCOMPARE(f.messageTexts(), QStringList{QStringLiteral("en 66")});
    QCOMPARE(f.findCaption(), QStringLiteral("&en 56"));
    QCOMPARE(f.selection(), qMakePair(matches.last(), 3));

    f.press("findButton");
    QCOMPARE(f.dialogs().messages.size(), 1);
    QCOMPARE(f.selection(), qMakePair(matches.first(), 3));
    QCOMPARE(f.findCaption(), QStringLiteral("en 57"));
}

void TestFindDialog::replaceFindsFirstThenReplacesAndMovesOn()
{
    FindFixture f(QStringLiteral("a cat and a cat."));
    f.open(FindDialog::Mode::Replace);
    f.findBox()->setEditText(QStringLiteral("cat"));
    f.replaceBox()->setEditText(QStringLiteral("lion"));
    f.press("findButton");
    QCOMPARE(f.findCaption(), QStringLiteral("en 57"));

    // The match already selected is found again, and only found.
    f.press("replaceButton");
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("a cat and a cat."));
    QCOMPARE(f.selection(), qMakePair(2, 3));
    QCOMPARE(f.replaceCaption(), QStringLiteral("en 59"));

    f.press("replaceButton");
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("a lion and a cat."));
    QCOMPARE(f.selection(), qMakePair(13, 3));
    QCOMPARE(f.findCaption(), QStringLiteral("en 57"));

    f.press("replaceButton");
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("a lion and a lion."));
    QCOMPARE(f.findCaption(), QStringLiteral("&en 56"));
    QCOMPARE(f.replaceCaption(), QStringLiteral("en 59"));
    QVERIFY(f.dialogs().messages.isEmpty());

    f.press("replaceButton");
    QCOMPARE(f.messageTexts(), QStringList{QStringLiteral("en 65")});
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("a lion and a lion."));
}

void TestFindDialog::replaceAllCountsEachOriginalOccurrenceOnce_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("none") << QStringLiteral("a dog") << QStringLiteral("cat")
                          << QStringLiteral("lion") << QStringLiteral("a dog") << 0;
    QTest::newRow("nothing to find") << QStringLiteral("a dog") << QStringLiteral("  ")
                                     << QStringLiteral("lion") << QStringLiteral("a dog") << 0;
    QTest::newRow("any case, inside words")
        << QStringLiteral("Cat cat cats CAT") << QStringLiteral("cat") << QStringLiteral("dog")
        << QStringLiteral("dog dog dogs dog") << 4;
    QTest::newRow("trimmed") << QStringLiteral("a cat") << QStringLiteral(" cat ")
                             << QStringLiteral(" lion ") << QStringLiteral("a lion") << 1;
    QTest::newRow("replacement holds the text")
        << QStringLiteral("a-a-a") << QStringLiteral("a") << QStringLiteral("aa")
        << QStringLiteral("aa-aa-aa") << 3;
    QTest::newRow("no overlaps") << QStringLiteral("aaaaa") << QStringLiteral("aa")
                                 << QStringLiteral("b") << QStringLiteral("bba") << 2;
    QTest::newRow("removed") << QStringLiteral("a cat, a cat") << QStringLiteral("cat") << QString()
                             << QStringLiteral("a , a ") << 2;
    QTest::newRow("over paragraphs")
        << QStringLiteral("cat\ncat\n\ncat") << QStringLiteral("cat") << QStringLiteral("lion")
        << QStringLiteral("lion\nlion\n\nlion") << 3;
}

void TestFindDialog::replaceAllCountsEachOriginalOccurrenceOnce()
{
    QFETCH(QString, document);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, result);
    QFETCH(int, count);

    FindFixture f(document);
    f.editor.state.texts.setText(Text::ReplacementsMade, QStringLiteral("Replacements &made:"));
    // A selection that is no occurrence stays as it is.
    f.select(0, 1);
    f.open(FindDialog::Mode::Replace);
    // The search options are not Replace All's.
    f.child<QCheckBox>("wholeWordBox")->setChecked(true);
    f.child<QCheckBox>("matchCaseBox")->setChecked(true);
    f.findBox()->setEditText(find);
    f.replaceBox()->setEditText(replacement);
    f.press("replaceAllButton");

    QCOMPARE(f.text()->toPlainText(), result);
    QCOMPARE(f.dialogs().messages.size(), 1);
    const auto& message = f.dialogs().messages.first();
    QCOMPARE(message.icon, QMessageBox::NoIcon);
    QCOMPARE(message.title, QStringLiteral("Vocarta"));
    QCOMPARE(message.text, QStringLiteral("Replacements made: \n%1 en 68").arg(count));
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestFindDialog::replaceAllIsOneUndoStepAndKeepsTheFormatting()
{
    const QString original = QStringLiteral("a cat, a CAT, the end");
    const QString replaced = QStringLiteral("a lion, a lion, the end");
    RichTextBox text;
    text.setPlainText(original);
    text.setSelectionStart(9);
    text.setSelectionLength(3);
    text.setSelectionBold(true);
    const int undoSteps = text.document()->availableUndoSteps();
    QSignalSpy changes(text.document(), &QTextDocument::contentsChange);

    QCOMPARE(replaceAll(text, QStringLiteral("cat"), QStringLiteral("lion")), 2);
    QCOMPARE(text.toPlainText(), replaced);
    // One change told to the layout, however many replacements.
    QCOMPARE(changes.size(), 1);
    const auto bold = [&text](int start, int length) {
        text.setSelectionStart(start);
        text.setSelectionLength(length);
        return text.selectionBold();
    };
    QVERIFY(!bold(2, 4));
    QVERIFY(bold(10, 4));
    QVERIFY(!bold(9, 1));
    QVERIFY(!bold(14, 1));

    // Qt counts each insertion and removal in availableUndoSteps, but one undo() takes back the
    // whole edit block, and only it: the bold stays.
    QVERIFY(text.document()->availableUndoSteps() > undoSteps);
    text.undo();
    QCOMPARE(text.toPlainText(), original);
    QCOMPARE(text.document()->availableUndoSteps(), undoSteps);
    QVERIFY(bold(9, 3));
    text.redo();
    QCOMPARE(text.toPlainText(), replaced);
}

void TestFindDialog::replaceAllOverALongDocumentKeepsTheView()
{
    // Long enough that the layout after the change goes on in the background.
    QStringList lines;
    for (int i = 0; i < 4000; ++i)
        lines << QStringLiteral("%1 the cat sat on the mat, and the CAT looked at the dog").arg(i);
    RichTextBox text;
    text.resize(400, 300);
    text.setPlainText(lines.join(QLatin1Char('\n')));
    text.show();
    QVERIFY(QTest::qWaitForWindowExposed(&text));
    const qreal height = text.document()->documentLayout()->documentSize().height();
    QScrollBar* bar = text.verticalScrollBar();
    // The scroll bar takes the laid-out height.
    QTRY_VERIFY(qAbs(bar->maximum() + bar->pageStep() - height) < 2);
    bar->setValue(bar->maximum() * 9 / 10);
    const int value = bar->value();
    const int topLine = text.cursorForPosition(QPoint(0, 0)).blockNumber();
    QVERIFY(topLine > 1000);

    QCOMPARE(replaceAll(text, QStringLiteral("cat"), QStringLiteral("fox")), 8000);
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), value);
    QCOMPARE(text.cursorForPosition(QPoint(0, 0)).blockNumber(), topLine);
    QCOMPARE(text.document()->documentLayout()->documentSize().height(), height);
    QCOMPARE(text.document()->findBlockByNumber(3999).text(),
             QStringLiteral("3999 the fox sat on the mat, and the fox looked at the dog"));
    text.undo();
    QCOMPARE(text.document()->findBlockByNumber(0).text(),
             QStringLiteral("0 the cat sat on the mat, and the CAT looked at the dog"));
}

void TestFindDialog::readOnlyTextIsReportedAsAnError()
{
    FindFixture f(QStringLiteral("a cat"));
    f.text()->setReadOnly(true);
    f.open(FindDialog::Mode::Replace);
    f.findBox()->setEditText(QStringLiteral("cat"));
    f.replaceBox()->setEditText(QStringLiteral("lion"));
    f.press("replaceAllButton");
    f.press("replaceButton", 2);

    QCOMPARE(f.text()->toPlainText(), QStringLiteral("a cat"));
    QCOMPARE(f.dialogs().messages.size(), 2);
    for (const auto& message : f.dialogs().messages) {
        QCOMPARE(message.icon, QMessageBox::Critical);
        QCOMPARE(message.text, qt_error_string(EPERM));
        QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

void TestFindDialog::historyKeepsEachTextOnce_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("list");

    const QString cat = QStringLiteral("cat");
    QTest::newRow("already there") << cat << QStringList{cat};
    QTest::newRow("other case") << QStringLiteral("Cat") << QStringList{cat, QStringLiteral("Cat")};
    QTest::newRow("blank") << QStringLiteral("   ") << QStringList{cat};
    QTest::newRow("new") << QStringLiteral("dog") << QStringList{cat, QStringLiteral("dog")};
    QTest::newRow("spaces kept") << QStringLiteral(" dog")
                                 << QStringList{cat, QStringLiteral(" dog")};
}

void TestFindDialog::historyKeepsEachTextOnce()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, list);

    // Find and Replace both keep the texts of both boxes.
    for (const char* command : {"findButton", "replaceButton"}) {
        FindFixture f(QStringLiteral("a cat"));
        f.select(2, 3);
        f.open(FindDialog::Mode::Replace);
        f.replaceBox()->setEditText(QStringLiteral("cat"));
        f.press(command);
        f.findBox()->setEditText(typed);
        f.replaceBox()->setEditText(typed);
        f.press(command);
        QCOMPARE(listOf(f.findBox()), list);
        QCOMPARE(listOf(f.replaceBox()), list);
        QCOMPARE(f.findBox()->currentText(), typed);
    }
}

void TestFindDialog::droppedTextGivesItsFirstLine_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("onFindBox");
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<bool>("cut");

    // The document: "a cat\nnext"; 3 selects "cat", 8 "cat\nnext", which the load cuts.
    QTest::newRow("find box, two lines")
        << 3 << true << QStringLiteral("  dropped words \r\nsecond")
        << QStringLiteral("dropped words") << true;
    QTest::newRow("find box, one line after a cut")
        << 8 << true << QStringLiteral(" words ") << QStringLiteral("words") << false;
    QTest::newRow("replace box, two lines")
        << 3 << false << QStringLiteral("lion\u2029second") << QStringLiteral("lion") << false;
    QTest::newRow("replace box after a cut")
        << 8 << false << QStringLiteral("lion") << QStringLiteral("lion") << true;
}

void TestFindDialog::droppedTextGivesItsFirstLine()
{
    QFETCH(int, selected);
    QFETCH(bool, onFindBox);
    QFETCH(QString, dropped);
    QFETCH(QString, boxText);
    QFETCH(bool, cut);

    FindFixture f(QStringLiteral("a cat\nnext"));
    f.select(2, selected);
    f.open(FindDialog::Mode::Replace);
    QComboBox* target = onFindBox ? f.findBox() : f.replaceBox();
    QComboBox* other = onFindBox ? f.replaceBox() : f.findBox();
    target->setEditText(QStringLiteral("old"));
    other->setEditText(QStringLiteral("typed"));

    QMimeData data;
    data.setText(dropped);
    // A drop reaches the widget that took the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target->lineEdit(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(target->lineEdit(), &drop);

    QVERIFY(drop.isAccepted());
    // Never a move: a text dragged out of the editor stays there.
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
    QCOMPARE(target->currentText(), boxText);
    QCOMPARE(f.dialog->session().findTextCut(), cut);
    QVERIFY(listOf(target).contains(boxText));
    QVERIFY(listOf(other).contains(QStringLiteral("typed")));
}

void TestFindDialog::choosingFromTheListSearchesFromTheTop()
{
    FindFixture f(QStringLiteral("a cat, a cat"));
    f.select(9, 3);
    f.open(FindDialog::Mode::Find);
    Q_EMIT f.findBox()->activated(0);
    QCOMPARE(f.selection(), qMakePair(0, 0));
}

void TestFindDialog::cancelOrLosingTheTextEndsTheDialog_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("editor gone") << false;
}

void TestFindDialog::cancelOrLosingTheTextEndsTheDialog()
{
    QFETCH(bool, cancel);

    FindFixture f(QStringLiteral("a cat"));
    f.open(FindDialog::Mode::Find);
    QVERIFY(f.dialog->isVisible());
    if (cancel)
        f.press("cancelButton");
    else
        f.editor.editor.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.dialog.isNull());
}

QTEST_MAIN(TestFindDialog)
#include "tst_finddialog.moc"
