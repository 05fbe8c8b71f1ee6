#include "Controls.h"
#include "EditorFixture.h"
#include "editor/EditorKeys.h"
#include "editor/EditorToolbar.h"
#include "editor/FindDialog.h"
#include "editor/FontBoxes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

Q_DECLARE_METATYPE(KeyAction)

namespace {

// How the editor window comes forward.
enum class Forward { Shown, BackFromThePlayer, PlayerDialog, DialogLeftOpen };

bool bringForward(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace

class TestEditorKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyTable_data();
    void keyTable();
    void italianKeysFollowTheLanguageFile();
    void eachKeyRunsItsCommandOnce_data();
    void eachKeyRunsItsCommandOnce();
    void functionKeysReachThePlayerWhenTheyComeUp();
    void escapeEndsTheProgramThroughThePlayer();
    void styleToggleMakesAMixedSelectionWhole();
    void undoOfAFormatChangeModifiesTheDocument();
    void sizeStepsLeaveTheSizeBoxAlone();
    void fontBoxesIgnoreWhatIsNoFontOrSize_data();
    void fontBoxesIgnoreWhatIsNoFontOrSize();
    void colourComesFromTheDialog();
    void bulletAndAlignmentApplyToEveryParagraphTouched();
    void findCommandsShareOneDialog();
    void keyboardIsInTheTextWhenTheWindowComesForward_data();
    void keyboardIsInTheTextWhenTheWindowComesForward();
};

void TestEditorKeys::keyTable_data()
{
    QTest::addColumn<bool>("press");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("italian");
    QTest::addColumn<KeyAction>("action");

    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const auto player = [](PlayerCommand c) { return KeyAction{std::nullopt, c, true}; };
    const auto editor = [](EditorCommand c) { return KeyAction{c, std::nullopt, true}; };
    const KeyAction swallowed{std::nullopt, std::nullopt, true};
    const KeyAction nothing;

    QTest::newRow("down Ctrl+M") << true << int(Qt::Key_M) << ctrl << false
                                 << player(PlayerCommand::AddBookmark);
    QTest::newRow("down Ctrl+Q") << true << int(Qt::Key_Q) << ctrl << false
                                 << player(PlayerCommand::Exit);
    QTest::newRow("down Ctrl+F4") << true << int(Qt::Key_F4) << ctrl << false
                                  << player(PlayerCommand::CloseMedia);
    QTest::newRow("down Ctrl+F6") << true << int(Qt::Key_F6) << ctrl << false
                                  << player(PlayerCommand::SlowDown);
    QTest::newRow("down Ctrl+F9") << true << int(Qt::Key_F9) << ctrl << false
                                  << player(PlayerCommand::CleanUp);
    QTest::newRow("down Ctrl+Z") << true << int(Qt::Key_Z) << ctrl << false << swallowed;
    QTest::newRow("down Ctrl+Shift+M") << true << int(Qt::Key_M) << ctrlShift << false << nothing;
    QTest::newRow("down F5") << true << int(Qt::Key_F5) << 0 << false << nothing;
    QTest::newRow("up Ctrl+Z") << false << int(Qt::Key_Z) << ctrl << false
                               << editor(EditorCommand::Undo);
    QTest::newRow("up Ctrl+V") << false << int(Qt::Key_V) << ctrl << false
                               << editor(EditorCommand::Paste);
    QTest::newRow("up Ctrl+Shift+Z") << false << int(Qt::Key_Z) << ctrlShift << false << nothing;
    QTest::newRow("up Ctrl+B") << false << int(Qt::Key_B) << ctrl << false
                               << editor(EditorCommand::Bold);
    QTest::newRow("up Ctrl+B, Italian") << false << int(Qt::Key_B) << ctrl << true << nothing;
    QTest::newRow("up Ctrl+G, Italian")
        << false << int(Qt::Key_G) << ctrl << true << editor(EditorCommand::Bold);
    QTest::newRow("up Ctrl+S, Italian")
        << false << int(Qt::Key_S) << ctrl << true << editor(EditorCommand::Underline);
    QTest::newRow("up Ctrl+S") << false << int(Qt::Key_S) << ctrl << false << nothing;
    QTest::newRow("up F6 with Ctrl")
        << false << int(Qt::Key_F6) << ctrl << false << player(PlayerCommand::SkipBack);
    QTest::newRow("up Shift+F7") << false << int(Qt::Key_F7) << int(Qt::ShiftModifier) << false
                                 << player(PlayerCommand::SkipForward);
    QTest::newRow("up F11") << false << int(Qt::Key_F11) << 0 << false
                            << player(PlayerCommand::FullPath);
    QTest::newRow("up F1") << false << int(Qt::Key_F1) << 0 << false << player(PlayerCommand::Help);
    QTest::newRow("down Ctrl+L") << true << int(Qt::Key_L) << ctrl << false
                                 << player(PlayerCommand::Loop);
    QTest::newRow("up F2") << false << int(Qt::Key_F2) << 0 << false
                           << player(PlayerCommand::LoopStart);
    QTest::newRow("up F4") << false << int(Qt::Key_F4) << 0 << false
                           << player(PlayerCommand::LoopEnd);
    QTest::newRow("up Ctrl+F9, the clean-up switched as it went down")
        << false << int(Qt::Key_F9) << ctrl << false << nothing;
    QTest::newRow("up Ctrl+F4, closed as it went down")
        << false << int(Qt::Key_F4) << ctrl << false << nothing;
}

void TestEditorKeys::keyTable()
{
    QFETCH(bool, press);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, italian);
    QFETCH(KeyAction, action);
    const auto held = Qt::KeyboardModifiers(modifiers) | Qt::KeypadModifier;
    const KeyAction found =
        press ? EditorKeys::onPress(key, held) : EditorKeys::onRelease(key, held, italian);
    QVERIFY(found == action);
}

void TestEditorKeys::italianKeysFollowTheLanguageFile()
{
    QVERIFY(EditorKeys::usesItalianKeys(QStringLiteral("ITALIANO.LNG")));
    QVERIFY(!EditorKeys::usesItalianKeys(QStringLiteral("Italiano.lng.bak")));
    QVERIFY(!EditorKeys::usesItalianKeys(QStringLiteral("English.lng")));
}

void TestEditorKeys::eachKeyRunsItsCommandOnce_data()
{
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");

    QTest::newRow("English Ctrl+B")
        << QStringLiteral("English.lng") << int(Qt::Key_B) << true << false;
    QTest::newRow("English Ctrl+U")
        << QStringLiteral("English.lng") << int(Qt::Key_U) << false << true;
    QTest::newRow("Italian Ctrl+G")
        << QStringLiteral("Italiano.lng") << int(Qt::Key_G) << true << false;
    QTest::newRow("Italian Ctrl+B")
        << QStringLiteral("Italiano.lng") << int(Qt::Key_B) << false << false;
}

void TestEditorKeys::eachKeyRunsItsCommandOnce()
{
    QFETCH(QString, languageFile);
    QFETCH(int, key);
    QFETCH(bool, bold);
    QFETCH(bool, underline);

    EditorFixture f(languageFile);
    f.editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    RichTextBox* box = f.text();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("one two"));
    box->selectAll();
    // Ctrl let go before the letter: what was held when it went down counts.
    QTest::keyPress(box, Qt::Key(key), Qt::ControlModifier);
    QTest::keyRelease(box, Qt::Key(key), Qt::NoModifier);
    QCOMPARE(box->selectionBold(), bold);
    QCOMPARE(box->selectionUnderline(), underline);

    // Undo has a menu shortcut and a key of the text area: one press, one step back.
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral(" three"));
    const int steps = f.editor->undoController()->history().undoCount();
    QTest::keyPress(box, Qt::Key_Z, Qt::ControlModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(box, &repeat);
    QTest::keyRelease(box, Qt::Key_Z, Qt::NoModifier);
    QCOMPARE(f.editor->undoController()->history().undoCount(), steps - 1);
    QVERIFY(box->toPlainText() != QStringLiteral("one two three"));
    QTest::keyClick(box, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.editor->undoController()->history().undoCount(), steps);
    QCOMPARE(box->toPlainText(), QStringLiteral("one two three"));
}

void TestEditorKeys::functionKeysReachThePlayerWhenTheyComeUp()
{
    EditorFixture f;
    f.editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    RichTextBox* box = f.text();
    box->setFocus();

    QTest::keyPress(box, Qt::Key_F5);
    QVERIFY(f.player.commands.isEmpty());
    QTest::keyRelease(box, Qt::Key_F5);
    QCOMPARE(f.player.commands, QList<PlayerCommand>{PlayerCommand::PlayPause});

    // Ctrl+F6 slows down as it goes down and, F6 being F6 whatever is held, skips back as it
    // comes up.
    f.player.commands.clear();
    QTest::keyClick(box, Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(f.player.commands,
             (QList<PlayerCommand>{PlayerCommand::SlowDown, PlayerCommand::SkipBack}));
    QVERIFY(box->toPlainText().isEmpty());

    // Held down, F6 repeats; it skips back once, when it comes up.
    f.player.commands.clear();
    for (bool last : {false, false, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier, QString(), !last);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier, QString(), !last);
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
    QCOMPARE(f.player.commands, QList<PlayerCommand>{PlayerCommand::SkipBack});
}

void TestEditorKeys::escapeEndsTheProgramThroughThePlayer()
{
    EditorFixture f;
    f.editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    f.text()->setFocus();
    QTest::keyClick(f.text(), Qt::Key_Escape);
    QTest::keyClick(f.text(), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(f.player.commands, (QList<PlayerCommand>{PlayerCommand::Exit, PlayerCommand::Exit}));
}

void TestEditorKeys::styleToggleMakesAMixedSelectionWhole()
{
    EditorFixture f;
    f.type(QStringLiteral("half bold"));
    RichTextBox* box = f.text();
    box->setSelectionStart(0);
    box->setSelectionLength(4);
    f.editor->runToolbarZone(EditorToolbar::Zone::Bold);
    box->setSelectionStart(0);
    box->setSelectionLength(9);
    QVERIFY(!box->selectionBold());

    f.editor->runToolbarZone(EditorToolbar::Zone::Bold);
    QVERIFY(box->selectionBold());
    f.editor->runToolbarZone(EditorToolbar::Zone::Bold);
    QVERIFY(!box->selectionBold());
    box->setSelectionLength(0);
    box->setSelectionStart(2);
    box->setSelectionLength(3);
    QVERIFY(!box->selectionBold());
}

// The text keeps its words; the change undone was the user's all the same. The text then has the
// keyboard.
void TestEditorKeys::undoOfAFormatChangeModifiesTheDocument()
{
    EditorFixture f;
    QVERIFY(bringForward(f.editor.get()));
    DocumentCommands* files = f.editor->documentCommands();
    files->openDocumentFile(f.document(QStringLiteral("a.rtf"), "{\\rtf1 words}"));
    f.text()->selectAll();
    f.editor->runToolbarZone(EditorToolbar::Zone::Bold);
    QCOMPARE(files->save(), DocumentCommands::SaveOutcome::Saved);
    named<QComboBox>(f.editor, "fontBox")->setFocus();
    f.editor->runToolbarZone(EditorToolbar::Zone::Undo);
    QCOMPARE(QStringLiteral("%1 %2")
                 .arg(files->document().modified)
                 .arg(QApplication::focusWidget()->objectName()),
             QStringLiteral("1 textBox"));
}

void TestEditorKeys::sizeStepsLeaveTheSizeBoxAlone()
{
    EditorFixture f;
    f.type(QStringLiteral("words"));
    RichTextBox* box = f.text();
    auto* sizeBox = f.editor->findChild<QComboBox*>(QStringLiteral("sizeBox"));
    box->selectAll();
    f.editor->runToolbarZone(EditorToolbar::Zone::Larger);
    QCOMPARE(box->selectionFontSize(), 13.0);
    QCOMPARE(sizeBox->currentText(), QStringLiteral("12"));

    // A selection of two sizes has none to step from.
    box->setSelectionStart(0);
    box->setSelectionLength(2);
    f.editor->runToolbarZone(EditorToolbar::Zone::Smaller);
    box->selectAll();
    QCOMPARE(box->selectionFontSize(), 0.0);
    f.editor->runToolbarZone(EditorToolbar::Zone::Larger);
    box->setSelectionStart(0);
    box->setSelectionLength(2);
    QCOMPARE(box->selectionFontSize(), 12.0);
}

void TestEditorKeys::fontBoxesIgnoreWhatIsNoFontOrSize_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("shown"); // announced | the boxes' font
    QTest::newRow("listed") << QStringLiteral("20") << QStringLiteral("20 | Arial 20");
    QTest::newRow("typed") << QStringLiteral("17.5") << QStringLiteral("17.5 | Arial 17.5");
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral(" | Arial 12");
    QTest::newRow("negative") << QStringLiteral("-4") << QStringLiteral(" | Arial 12");
    QTest::newRow("beyond word processors")
        << QStringLiteral("1639") << QStringLiteral(" | Arial 12");
    QTest::newRow("words") << QStringLiteral("big") << QStringLiteral(" | Arial 12");
    QTest::newRow("empty") << QString() << QStringLiteral(" | Arial 12");
}

void TestEditorKeys::fontBoxesIgnoreWhatIsNoFontOrSize()
{
    QFETCH(QString, size);
    QFETCH(QString, shown);
    QWidget window;
    FontBoxes boxes(&window);
    QStringList announced;
    connect(&boxes, &FontBoxes::fontNameChosen, [&](const QString& name) { announced << name; });
    connect(&boxes, &FontBoxes::fontSizeChosen,
            [&](double points) { announced << QString::number(points); });
    boxes.nameBox()->setEditText(QStringLiteral("No Such Font Family"));
    boxes.sizeBox()->setEditText(size);
    const QFont font = boxes.chosenFont();
    QCOMPARE(QStringLiteral("%1 | %2 %3")
                 .arg(announced.join(QLatin1Char(' ')), font.family())
                 .arg(font.pointSizeF()),
             shown);
}

void TestEditorKeys::colourComesFromTheDialog()
{
    EditorFixture f;
    f.type(QStringLiteral("words"));
    f.text()->selectAll();
    f.dialogs.chosenColours << QColor() << QColor(Qt::red);
    f.editor->runToolbarZone(EditorToolbar::Zone::Colour);
    QCOMPARE(f.text()->textCursor().charFormat().foreground().color(), QColor(Qt::black));
    f.editor->runToolbarZone(EditorToolbar::Zone::Colour);
    f.dialogs.chosenColours << QColor(Qt::blue);
    f.editor->runToolbarZone(EditorToolbar::Zone::Colour);
    // Each chooser starts from black, whatever colour the text has.
    QCOMPARE(f.dialogs.colourStarts, (QList<QColor>{Qt::black, Qt::black, Qt::black}));
    QCOMPARE(f.text()->textCursor().charFormat().foreground().color(), QColor(Qt::blue));
}

void TestEditorKeys::bulletAndAlignmentApplyToEveryParagraphTouched()
{
    EditorFixture f;
    f.type(QStringLiteral("one\ntwo\nthree"));
    RichTextBox* box = f.text();
    box->setSelectionStart(1);
    box->setSelectionLength(5); // "ne\ntw"
    f.editor->runToolbarZone(EditorToolbar::Zone::Bullet);
    f.editor->runToolbarZone(EditorToolbar::Zone::AlignRight);
    QTextBlock block = box->document()->begin();
    QVERIFY(block.textList());
    QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    block = block.next();
    QVERIFY(block.textList());
    QCOMPARE(block.textList(), box->document()->begin().textList());
    QVERIFY(!block.next().textList());
    QVERIFY(box->selectionBullet());

    f.editor->runToolbarZone(EditorToolbar::Zone::Bullet);
    QVERIFY(!box->document()->begin().textList());
    QVERIFY(!box->document()->begin().next().textList());
}

void TestEditorKeys::findCommandsShareOneDialog()
{
    EditorFixture f;
    f.editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    f.text()->setFocus();
    QTest::keyClick(f.text(), Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(f.text(), Qt::Key_F3);
    const auto dialogs = QApplication::topLevelWidgets();
    QList<FindDialog*> found;
    for (QWidget* w : dialogs) {
        if (auto* d = qobject_cast<FindDialog*>(w); d && d->isVisible())
            found << d;
    }
    QCOMPARE(found.size(), 1);
    // Opened for replacing, it stays so.
    QCOMPARE(found.first()->mode(), FindDialog::Mode::Replace);
    QPointer<FindDialog> dialog = found.first();
    f.editor->hideFindDialog();
    QTRY_VERIFY(!dialog);
}

void TestEditorKeys::keyboardIsInTheTextWhenTheWindowComesForward_data()
{
    QTest::addColumn<Forward>("way");
    QTest::addColumn<QString>("shown");
    QTest::newRow("shown") << Forward::Shown << QStringLiteral("editorWindow textBox 2");
    QTest::newRow("back from the player")
        << Forward::BackFromThePlayer << QStringLiteral("editorWindow textBox 2");
    QTest::newRow("Ctrl+M, the player's dialog closed")
        << Forward::PlayerDialog << QStringLiteral("editorWindow textBox 2");
    QTest::newRow("Ctrl+M, the dialog stays")
        << Forward::DialogLeftOpen << QStringLiteral("dialog answer 2");
}

void TestEditorKeys::keyboardIsInTheTextWhenTheWindowComesForward()
{
    QFETCH(Forward, way);
    QFETCH(QString, shown);
    EditorFixture f;
    QDialog dialog(&f.player.player);
    dialog.setObjectName(QStringLiteral("dialog"));
    (new QLineEdit(&dialog))->setObjectName(QStringLiteral("answer"));
    f.player.onCommand = [&] {
        QVERIFY(bringForward(&dialog));
        if (way == Forward::PlayerDialog)
            dialog.close();
    };
    f.type(QStringLiteral("hello"));
    f.text()->setSelectionStart(2);
    QVERIFY(bringForward(f.editor.get()));
    if (way == Forward::BackFromThePlayer) {
        // The font box had the keyboard before the player came forward.
        f.editor->findChild<QComboBox*>(QStringLiteral("fontBox"))->setFocus();
        QVERIFY(bringForward(&f.player.player) && bringForward(f.editor.get()));
    }
    if (way >= Forward::PlayerDialog)
        QTest::keyClick(f.text(), Qt::Key_M, Qt::ControlModifier);
    const auto name = [](const QWidget* w) { return w ? w->objectName() : QString(); };
    QTRY_COMPARE(QStringLiteral("%1 %2 %3")
                     .arg(name(QApplication::activeWindow()), name(QApplication::focusWidget()))
                     .arg(f.text()->textCursor().position()),
                 shown);
}

QTEST_MAIN(TestEditorKeys)
#include "tst_editorkeys.moc"
