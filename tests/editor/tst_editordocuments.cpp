#include "Controls.h"
#include "EditorFixture.h"
#include "editor/LayoutLimits.h"
#include "platform/OnScreen.h"
#include "platform/TextFile.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

class TestEditorDocuments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionFollowsTheDocument();
    void untitledNumberStopsAtItsLimit();
    void newAsksOnlyAboutAModifiedText_data();
    void newAsksOnlyAboutAModifiedText();
    void yesWithACancelledSaveKeepsTheText_data();
    void yesWithACancelledSaveKeepsTheText();
    void saveOfAnUnchangedDocumentWritesNothing();
    void saveAfterNewAsksForANameAndLeavesTheOldFile();
    void saveAsProposesTheUntitledNameAndAsksBeforeReplacing();
    void formatFollowsTheFileName();
    void fontBoxesReachTheSelectionAndANewDocument();
    void windowFitsAScreen800PixelsWide();
    void failedSaveIsToldAndTheDocumentStaysModified();
    void openReadsRtfAndPlainText_data();
    void openReadsRtfAndPlainText();
    void openOfAMissingFileKeepsTheDocument();
    void subtitlesComeInAndTranscriptsGoOut();
    void recentDocumentsMoveAndAreKept();
    void closingQuestion_data();
    void closingQuestion();
};

void TestEditorDocuments::captionFollowsTheDocument()
{
    DocumentFixture f;
    QCOMPARE(f.window.windowTitle(), QStringLiteral("en 96 - en 97 1"));
    f.type(QStringLiteral("words"));
    f.files.newDocument();
    f.dialogs.answers << QMessageBox::No;
    QCOMPARE(f.window.windowTitle(), QStringLiteral("en 96 - en 97 1"));
    f.files.newDocument();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("en 96 - en 97 2"));

    const QString path = f.document(QStringLiteral("Lecture 3.rtf"), "{\\rtf1 Hello}");
    f.files.openDocumentFile(path);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("en 96 - Lecture 3.rtf"));
}

void TestEditorDocuments::untitledNumberStopsAtItsLimit()
{
    EditorDocument document;
    document.untitledNumber = EditorDocument::kLastUntitledNumber - 1;
    document.startUntitled();
    document.startUntitled();
    QCOMPARE(document.untitledNumber, EditorDocument::kLastUntitledNumber);
}

void TestEditorDocuments::newAsksOnlyAboutAModifiedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("empty") << QString() << false << 0 << 0 << true;
    QTest::newRow("unchanged since saved") << QStringLiteral("words") << true << 0 << 0 << true;
    QTest::newRow("cancel") << QStringLiteral("words") << false << int(QMessageBox::Cancel) << 1
                            << false;
    QTest::newRow("no") << QStringLiteral("words") << false << int(QMessageBox::No) << 1 << true;
    QTest::newRow("yes") << QStringLiteral("words") << false << int(QMessageBox::Yes) << 1 << true;
}

void TestEditorDocuments::newAsksOnlyAboutAModifiedText()
{
    QFETCH(QString, typed);
    QFETCH(bool, saved);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(bool, cleared);

    DocumentFixture f;
    const QString path = f.document(QStringLiteral("a.txt"), "");
    f.files.openDocumentFile(path);
    f.type(typed);
    if (saved)
        QCOMPARE(f.files.save(), DocumentCommands::SaveOutcome::Saved);
    f.dialogs.messages.clear();
    f.dialogs.answers << QMessageBox::StandardButton(answer);

    f.files.newDocument();

    QCOMPARE(f.dialogs.messages.size(), questions);
    if (questions) {
        QCOMPARE(f.dialogs.messages.first().text, f.entry(Text::DocumentModified));
        QCOMPARE(f.dialogs.messages.first().title, f.entry(Text::ProgramName));
    }
    QCOMPARE(f.text()->toPlainText().isEmpty(), cleared);
    if (answer == QMessageBox::Yes)
        QCOMPARE(f.folder.readBytes(QStringLiteral("docs/a.txt")), QByteArray("words"));
}

void TestEditorDocuments::yesWithACancelledSaveKeepsTheText_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("new") << false;
    QTest::newRow("open") << true;
}

void TestEditorDocuments::yesWithACancelledSaveKeepsTheText()
{
    QFETCH(bool, open);
    DocumentFixture f;
    const QString other = f.document(QStringLiteral("other.txt"), "other");
    f.type(QStringLiteral("unsaved words"));
    f.dialogs.answers << QMessageBox::Yes;
    // The save dialog is cancelled; the open dialog would offer the other file.
    f.dialogs.chosenFiles << QString() << other;

    if (open)
        f.files.openDocument();
    else
        f.files.newDocument();

    QCOMPARE(f.text()->toPlainText(), QStringLiteral("unsaved words"));
    QVERIFY(f.files.document().modified);
    QCOMPARE(f.files.document().untitledNumber, 1);
    QCOMPARE(f.dialogs.fileDialogs.size(), 1);
}

void TestEditorDocuments::saveOfAnUnchangedDocumentWritesNothing()
{
    DocumentFixture f;
    QCOMPARE(f.files.save(), DocumentCommands::SaveOutcome::NothingToSave);
    QVERIFY(f.dialogs.fileDialogs.isEmpty());

    const QString path = f.document(QStringLiteral("a.txt"), "as on disk");
    f.files.openDocumentFile(path);
    f.folder.writeBytes(QStringLiteral("docs/a.txt"), "changed outside");
    QCOMPARE(f.files.save(), DocumentCommands::SaveOutcome::NothingToSave);
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/a.txt")), QByteArray("changed outside"));
}

void TestEditorDocuments::saveAfterNewAsksForANameAndLeavesTheOldFile()
{
    DocumentFixture f;
    const QString old = f.document(QStringLiteral("old.txt"), "old");
    f.files.openDocumentFile(old);
    f.files.newDocument();
    f.type(QStringLiteral("new words"));
    f.dialogs.chosenFiles << f.path(QStringLiteral("new.txt"));

    QCOMPARE(f.files.save(), DocumentCommands::SaveOutcome::Saved);

    QCOMPARE(f.dialogs.fileDialogs.size(), 1);
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/old.txt")), QByteArray("old"));
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/new.txt")), QByteArray("new words"));
    QCOMPARE(f.files.document().path, f.path(QStringLiteral("new.txt")));
    QVERIFY(!f.files.document().modified);
}

void TestEditorDocuments::saveAsProposesTheUntitledNameAndAsksBeforeReplacing()
{
    DocumentFixture f;
    f.state.editorFolder = f.folder.filePath(QStringLiteral("docs"));
    const QString existing = f.document(QStringLiteral("kept.rtf"), "kept");
    f.type(QStringLiteral("words"));
    f.dialogs.chosenFiles << existing;
    f.dialogs.answers << QMessageBox::No;

    QCOMPARE(f.files.saveAs(), DocumentCommands::SaveOutcome::Cancelled);

    const FileDialogRequest request = f.dialogs.fileDialogs.first();
    QCOMPARE(request.fileName, QStringLiteral("en 97 1"));
    QCOMPARE(request.defaultExtension, QStringLiteral("rtf"));
    QCOMPARE(request.initialFolder, f.state.editorFolder);
    QCOMPARE(request.title, f.entry(Text::SaveAsTitle));
    QCOMPARE(request.filters.size(), 2);
    QCOMPARE(request.filters.at(0).second, QStringLiteral("*.rtf"));
    QCOMPARE(request.filters.at(1).second, QStringLiteral("*.txt"));
    QCOMPARE(f.dialogs.messages.last().text,
             f.entry(Text::FileExists) + QStringLiteral("\n\n") + f.entry(Text::ReplaceFile));
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/kept.rtf")), QByteArray("kept"));
    QVERIFY(f.files.document().isUntitled());
}

void TestEditorDocuments::formatFollowsTheFileName()
{
    DocumentFixture f;
    QDir().mkpath(f.folder.filePath(QStringLiteral("docs")));
    f.type(QStringLiteral("Così è\nseconda riga"));
    f.dialogs.chosenFiles << f.path(QStringLiteral("plain.TXT")) << f.path(QStringLiteral("rich"));
    QCOMPARE(f.files.saveAs(), DocumentCommands::SaveOutcome::Saved);
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/plain.TXT")),
             QStringLiteral("Così è\r\nseconda riga").toUtf8());

    f.type(QStringLiteral("!"));
    QCOMPARE(f.files.saveAs(), DocumentCommands::SaveOutcome::Saved);
    // Proposed under its own name, with the filter of its kind.
    QCOMPARE(f.dialogs.fileDialogs.last().fileName, QStringLiteral("plain.TXT"));
    QCOMPARE(f.dialogs.fileDialogs.last().filterIndex, 2);
    const QByteArray rich = f.folder.readBytes(QStringLiteral("docs/rich"));
    QVERIFY(rich.startsWith("{\\rtf1"));

    // What was written reads back as it was typed.
    f.files.newDocument();
    f.files.openDocumentFile(f.path(QStringLiteral("rich")));
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("Così è\nseconda riga!"));
}

// A screen of 1600 pixels at twice the scale is 800 wide: the editor must fit it whole.
void TestEditorDocuments::windowFitsAScreen800PixelsWide()
{
    EditorFixture f;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(area.width(), 800);
    f.editor->setGeometry(area.left(), area.top(), 1660, 990);
    f.editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    keepOnScreen(f.editor.get());
    QVERIFY2(area.contains(f.editor->frameGeometry()),
             qPrintable(QStringLiteral("%1 wide").arg(f.editor->frameGeometry().width())));
}

// The boxes' font goes to the selection, and a new document types in it.
void TestEditorDocuments::fontBoxesReachTheSelectionAndANewDocument()
{
    EditorFixture f;
    DocumentCommands* files = f.editor->documentCommands();
    files->openDocumentFile(f.document(
        QStringLiteral("times.rtf"), "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs40 Times}"));
    const auto shown = [&f] {
        f.text()->selectAll();
        return QStringLiteral("%1 %2")
            .arg(f.text()->selectionFontName())
            .arg(f.text()->selectionFontSize());
    };
    auto* fontBox = named<QComboBox>(f.editor, "fontBox");
    const QString family = fontBox->itemText(fontBox->count() - 1);
    f.text()->selectAll();
    fontBox->setEditText(family);
    named<QComboBox>(f.editor, "sizeBox")->setEditText(QStringLiteral("16"));
    const QString selection = shown();
    // The last document's format at the caret is not the boxes'.
    f.editor->runToolbarZone(EditorToolbar::Zone::Larger);
    f.text()->moveCursor(QTextCursor::End);
    f.dialogs.answers << QMessageBox::No;
    files->newDocument();
    QTest::keyClicks(f.text(), QStringLiteral("new"));
    QCOMPARE(selection + QStringLiteral(", then ") + shown(),
             family + QStringLiteral(" 16, then ") + family + QStringLiteral(" 16"));
}

void TestEditorDocuments::failedSaveIsToldAndTheDocumentStaysModified()
{
    DocumentFixture f;
    const QString path = f.document(QStringLiteral("a.txt"), "before");
    f.files.openDocumentFile(path);
    f.type(QStringLiteral(" after"));
    // The folder becomes a file's place that cannot hold the save's temporary file.
    QFile::remove(path);
    QDir(f.folder.filePath(QStringLiteral("docs"))).removeRecursively();
    f.folder.writeBytes(QStringLiteral("docs"), "a file where the folder was");

    QCOMPARE(f.files.save(), DocumentCommands::SaveOutcome::Failed);

    QVERIFY(f.files.document().modified);
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().title, f.entry(Text::ProgramName));
    QVERIFY(f.dialogs.messages.first().text.startsWith(f.entry(Text::SaveFailed) + '\n' + path));
    QVERIFY(f.files.recentDocuments()->list().caption(0) == path);
}

void TestEditorDocuments::openReadsRtfAndPlainText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    QTest::newRow("rtf") << QByteArray("{\\rtf1\\ansi {\\b bold} plain\\par next}")
                         << QStringLiteral("bold plain\nnext");
    QTest::newRow("utf-8") << QStringLiteral("città\r\nè").toUtf8() << QStringLiteral("città\nè");
    QTest::newRow("windows-1252") << QByteArray("caf\xe9 \x80") << QStringLiteral("café €");
    QTest::newRow("brace but no rtf") << QByteArray("{notes}") << QStringLiteral("{notes}");
}

void TestEditorDocuments::openReadsRtfAndPlainText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    DocumentFixture f;
    f.files.openDocumentFile(f.document(QStringLiteral("doc"), bytes));
    QCOMPARE(f.text()->toPlainText(), shown);
    QVERIFY(!f.files.document().modified);
}

void TestEditorDocuments::openOfAMissingFileKeepsTheDocument()
{
    DocumentFixture f;
    const QString path = f.document(QStringLiteral("a.txt"), "kept");
    f.files.openDocumentFile(path);
    f.files.openDocumentFile(f.path(QStringLiteral("gone.rtf")));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().text,
             f.entry(Text::FileMissing) + QLatin1Char('\n') + f.path(QStringLiteral("gone.rtf")));
    // So does a file beyond what the text area lays out fast; the message names it.
    const QString unusual =
        f.document(QStringLiteral("b.txt"), QByteArray(LayoutLimits::kMaxUnbrokenLength + 1, 'x'));
    f.files.openDocumentFile(unusual);
    QCOMPARE(f.dialogs.messages.size(), 2);
    const QString refusal = f.dialogs.messages.last().text;
    QVERIFY(refusal.startsWith(f.entry(Text::FileBeyondLimits).section(QLatin1String("%1"), 0, 0)));
    QVERIFY(refusal.endsWith(QLatin1Char('\n') + unusual));
    QCOMPARE(f.files.document().path, path);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("kept"));

    // A cancelled dialog or a blank name does nothing.
    f.dialogs.chosenFiles << QStringLiteral("   ");
    f.files.openDocument();
    f.files.openDocument();
    QCOMPARE(f.dialogs.messages.size(), 2);
    QCOMPARE(f.files.document().path, path);

    const QString binary =
        f.document(QStringLiteral("image.rtf"), QByteArray("\x89PNG\r\n\0\0", 8));
    f.files.openDocumentFile(binary);
    QCOMPARE(f.dialogs.messages.last().text, f.entry(Text::CannotOpenFile) + QLatin1Char('\n') +
                                                 binary + QLatin1Char('\n') +
                                                 f.entry(Text::NotATextDocument));
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("kept"));
}

void TestEditorDocuments::subtitlesComeInAndTranscriptsGoOut()
{
    DocumentFixture f;
    // In: a paragraph per cue, as a new document; what could not be read is told once.
    f.files.openDocumentFile(
        f.document(QStringLiteral("talk.srt"),
                   "1\r\n00:00:01,500 --> 00:00:03,000\r\nANNA: Hello there\r\n\r\n"
                   "2\r\nno time here\r\n\r\n"
                   "3\r\n00:01:02,000 --> 00:01:04,000\r\nGood morning\r\n"));
    QCOMPARE(f.text()->toPlainText(),
             QStringLiteral("[00:00:01] ANNA: Hello there\n[00:01:02] Good morning"));
    QVERIFY(f.files.document().isUntitled() && f.files.document().modified);
    QCOMPARE(f.dialogs.messages.size(), 1);

    // Out: the format follows the name; plain text can leave the timestamps out.
    f.dialogs.chosenFiles << f.path(QStringLiteral("out.srt")) << f.path(QStringLiteral("out.txt"));
    f.dialogs.chosenFilters << 1 << 6;
    f.files.exportTranscript();
    f.files.exportTranscript();
    QCOMPARE(f.dialogs.fileDialogs.last().filters.at(5).first,
             f.entry(Text::TextWithoutTimestamps));
    // A cue lasts 7 s at most; the last one ends after a reading time without media.
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/out.srt")),
             QByteArray("1\r\n00:00:01,000 --> 00:00:08,000\r\nANNA: Hello there\r\n\r\n"
                        "2\r\n00:01:02,000 --> 00:01:03,000\r\nGood morning\r\n\r\n"));
    QCOMPARE(f.folder.readBytes(QStringLiteral("docs/out.txt")),
             QByteArray("ANNA: Hello there\r\nGood morning"));
}

void TestEditorDocuments::recentDocumentsMoveAndAreKept()
{
    EditorFixture f;
    DocumentCommands* files = f.editor->documentCommands();
    QAction* separator = f.editor->findChild<QAction*>(QStringLiteral("recentSeparator"));
    QVERIFY(!separator->isVisible());
    QStringList paths;
    for (const char* name : {"A.txt", "B.txt", "C.txt", "D.txt", "E.txt"})
        paths << f.document(QString::fromLatin1(name), name);

    for (int i = 0; i < 5; ++i)
        files->openDocumentFile(paths[i]);
    recentAction(f.editor, 2)->trigger();
    QCOMPARE(files->recentDocuments()->list().lines(),
             (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    QVERIFY(separator->isVisible());

    const auto onDisk = readTextLines(f.state.filesPath(QStringLiteral("LastFilesEditor.ini")));
    QVERIFY(onDisk);
    QCOMPARE(*onDisk, files->recentDocuments()->list().lines());

    // The next run finds them.
    f.editor.reset();
    f.editor =
        std::make_unique<EditorWindow>(f.state, Platform{&f.media, &f.dialogs, nullptr}, &f.player);
    QCOMPARE(f.editor->documentCommands()->recentDocuments()->list().lines(), *onDisk);
    QAction* first = f.editor->findChild<QAction*>(QStringLiteral("recentAction1"));
    QVERIFY(first->isVisible());
    QCOMPARE(first->toolTip(), paths[2]);
}

void TestEditorDocuments::closingQuestion_data()
{
    QTest::addColumn<bool>("titled");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("chooseFile");
    QTest::addColumn<int>("expected");

    using A = EditorCommands::ExitAnswer;
    QTest::newRow("cancel") << true << QList<int>{QMessageBox::Cancel} << false << int(A::Cancel);
    QTest::newRow("no") << true << QList<int>{QMessageBox::No} << false << int(A::Proceed);
    QTest::newRow("yes, titled") << true << QList<int>{QMessageBox::Yes} << false
                                 << int(A::Proceed);
    QTest::newRow("yes, untitled, dialog cancelled")
        << false << QList<int>{QMessageBox::Yes} << false << int(A::Cancel);
    QTest::newRow("yes, untitled, saved")
        << false << QList<int>{QMessageBox::Yes} << true << int(A::Proceed);
}

void TestEditorDocuments::closingQuestion()
{
    QFETCH(bool, titled);
    QFETCH(QList<int>, answers);
    QFETCH(bool, chooseFile);
    QFETCH(int, expected);

    DocumentFixture f;
    f.state.editorFolder = f.folder.filePath(QStringLiteral("docs"));
    const QString path = f.document(QStringLiteral("talk.txt"), "");
    if (titled)
        f.files.openDocumentFile(path);
    f.type(QStringLiteral("transcript"));
    // Asked also while the window is hidden.
    f.window.hide();
    for (int answer : answers)
        f.dialogs.answers << QMessageBox::StandardButton(answer);
    if (chooseFile)
        f.dialogs.chosenFiles << f.path(QStringLiteral("chosen.txt"));

    QCOMPARE(int(f.files.askToSaveBeforeExit()), expected);

    const auto& question = f.dialogs.messages.first();
    QCOMPARE(question.title, QStringLiteral("Vocarta"));
    QCOMPARE(question.text, f.entry(Text::SaveChangesTo) + ' ' +
                                (titled ? path : QStringLiteral("en 97 1")) + '?');
    if (!titled && !f.dialogs.fileDialogs.isEmpty()) {
        QCOMPARE(f.dialogs.fileDialogs.first().fileName, QStringLiteral("en 97 1"));
        QCOMPARE(f.dialogs.fileDialogs.first().initialFolder, f.state.editorFolder);
    }
    const bool saved =
        answers.first() == QMessageBox::Yes && expected == int(EditorCommands::ExitAnswer::Proceed);
    QCOMPARE(f.folder.readBytes(titled ? QStringLiteral("docs/talk.txt")
                                       : QStringLiteral("docs/chosen.txt")),
             saved ? QByteArray("transcript") : QByteArray());
    // Nothing is ever written without an extension into the working folder.
    QVERIFY(!QFileInfo::exists(QStringLiteral("en 97 1")));
}

QTEST_MAIN(TestEditorDocuments)
#include "tst_editordocuments.moc"
