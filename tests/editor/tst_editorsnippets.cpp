#include "EditorFixture.h"
#include "editor/SnippetCommands.h"
#include "editor/SnippetDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

Q_DECLARE_METATYPE(Snippet)

class TestEditorSnippets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ctrlDigitInsertsTheSnippet_data();
    void ctrlDigitInsertsTheSnippet();
    void defaultsSpeakTheInterfaceLanguage_data();
    void defaultsSpeakTheInterfaceLanguage();
    void handEditedLinesWithoutANameAreSkipped();
    void editedSnippetsAreKeptInTheirFile();
    void entriesShowTheSnippetsAndAFailedSaveIsTold();
};

namespace {

// The fixture with a recording open at 1:15, the editor shown with the keyboard.
struct Fixture : EditorFixture {
    Fixture()
    {
        openMedia(75.4);
        editor->show();
        active = QTest::qWaitForWindowActive(editor.get());
        text()->setFocus();
    }
    // Menu shortcuts reach only the active window.
    bool active = false;
};

} // namespace

void TestEditorSnippets::ctrlDigitInsertsTheSnippet_data()
{
    QTest::addColumn<Snippet>("snippet");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("after");

    const QString label = QStringLiteral("ANSWER: ");
    QTest::newRow("plain, mid-line")
        << Snippet{"[laughs]", false, false} << "so yes" << 3 << "so [laughs]yes";
    QTest::newRow("new paragraph after text")
        << Snippet{label, true, false} << "A question?" << 11 << "A question?\nANSWER: ";
    QTest::newRow("new paragraph, caret already at one's start")
        << Snippet{label, true, false} << "Line\n"
        << 5 << "Line\nANSWER: ";
    QTest::newRow("timestamp, no paragraph")
        << Snippet{label, false, true} << "" << 0 << "[00:01:15] ANSWER: ";
    QTest::newRow("timestamp and paragraph")
        << Snippet{label, true, true} << "Well." << 5 << "Well.\n[00:01:15] ANSWER: ";
    QTest::newRow("paragraph splits the line at the caret")
        << Snippet{label, true, true} << "one two" << 4 << "one \n[00:01:15] ANSWER: two";
    QTest::newRow("empty slot does nothing") << Snippet{"", true, true} << "words" << 5 << "words";
}

void TestEditorSnippets::ctrlDigitInsertsTheSnippet()
{
    QFETCH(Snippet, snippet);
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, after);
    Fixture f;
    QVERIFY(f.active);
    // Every slot holds the snippet under test: each key must reach its own.
    for (int slot = 0; slot < Snippets::kCount; ++slot) {
        Snippets snippets;
        snippets.slots[size_t(slot)] = snippet;
        f.editor->snippetCommands()->set(snippets);
        f.text()->setPlainText(before);
        QTextCursor cursor = f.text()->textCursor();
        cursor.setPosition(caret);
        f.text()->setTextCursor(cursor);
        QTest::keyClick(f.text(), Qt::Key(Qt::Key_1 + slot), Qt::ControlModifier);
        QCOMPARE(f.text()->toPlainText(), after);
        QCOMPARE(f.text()->textCursor().position(), caret + after.size() - before.size());
        // A key of another slot writes nothing.
        QTest::keyClick(f.text(), Qt::Key(Qt::Key_1 + (slot + 1) % Snippets::kCount),
                        Qt::ControlModifier);
        QCOMPARE(f.text()->toPlainText(), after);
    }
    // One undo takes the snippet away whole, paragraph and timestamp included.
    if (after != before) {
        f.editor->runEditorCommand(EditorCommand::Undo);
        QCOMPARE(f.text()->toPlainText(), before);
    }
}

void TestEditorSnippets::defaultsSpeakTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("English") << "English.lng"
                             << "INTERVIEWER: "
                             << "ANSWER: ";
    QTest::newRow("Italiano") << "Italiano.lng"
                              << "INTERVISTATORE: "
                              << "RISPOSTA: ";
}

void TestEditorSnippets::defaultsSpeakTheInterfaceLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, first);
    QFETCH(QString, second);
    EditorFixture f;
    QVERIFY(f.state.texts.load(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/") + language));
    f.editor->retranslate();
    const Snippets& snippets = f.editor->snippetCommands()->snippets();
    QCOMPARE(snippets.slots[0], (Snippet{first, true, false}));
    QCOMPARE(snippets.slots[1], (Snippet{second, true, false}));
    for (int slot = 2; slot < Snippets::kCount; ++slot)
        QCOMPARE(snippets.slots[size_t(slot)], Snippet());
}

void TestEditorSnippets::handEditedLinesWithoutANameAreSkipped()
{
    const Snippets read =
        Snippets::parse({QStringLiteral(" =x"), QStringLiteral("="), QStringLiteral("Text3=A")});
    QCOMPARE(read.slots[2].text, QStringLiteral("A"));
}

void TestEditorSnippets::editedSnippetsAreKeptInTheirFile()
{
    Snippets edited;
    {
        EditorFixture f;
        f.editor->snippetCommands()->edit();
        auto* dialog = f.editor->findChild<SnippetDialog*>(QStringLiteral("snippetDialog"));
        QVERIFY(dialog);
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("snippetText3"));
        text->setText(QStringLiteral("DOTT. ROSSI:  "));
        dialog->findChild<QCheckBox*>(QStringLiteral("snippetTimestamp3"))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("snippetText1"))->clear();
        dialog->accept();
        edited = f.editor->snippetCommands()->snippets();
        QCOMPARE(edited.slots[2], (Snippet{"DOTT. ROSSI:  ", false, true}));
        QCOMPARE(edited.slots[0].text, QString());

        // Another run, in another language: the user's texts stay as written.
        f.editor.reset();
        f.folder.writeLanguage(QStringLiteral("Other.lng"), QStringLiteral("xx"));
        f.state.texts.load(f.folder.filePath(QStringLiteral("Files/Lang/Other.lng")));
        f.editor = std::make_unique<EditorWindow>(f.state, Platform{&f.media, &f.dialogs, nullptr},
                                                  &f.player);
        QCOMPARE(f.editor->snippetCommands()->snippets(), edited);
    }
}

void TestEditorSnippets::entriesShowTheSnippetsAndAFailedSaveIsTold()
{
    EditorFixture f;
    f.state.texts.setText(Text::SaveFailed, QStringLiteral("Not saved"));
    const QString file = f.state.filesPath(QLatin1String(Snippets::kFileName));
    QVERIFY(QDir().mkpath(file));
    Snippets snippets;
    snippets.slots[2] = {QStringLiteral(" Q & A:\tnext "), false, false};
    snippets.slots[8] = {QStringLiteral("END"), true, true};
    f.editor->snippetCommands()->set(snippets);

    // The menu shows the filled slots only, each as one line with its own "&".
    QStringList shown;
    for (const char* name : SnippetCommands::kActionNames) {
        const auto* entry = f.editor->findChild<QAction*>(QLatin1String(name));
        if (entry->isVisible())
            shown << entry->text();
    }
    for (const auto& message : std::as_const(f.dialogs.messages))
        shown << message.text.section(QLatin1Char('\n'), 0, 1).replace(file, QStringLiteral("F"));
    QCOMPARE(shown.join(QStringLiteral(" | ")),
             QStringLiteral("&3   Q && A: next | &9   END | Not saved\nF"));
    QCOMPARE(f.editor->snippetCommands()->snippets(), snippets);
}

QTEST_MAIN(TestEditorSnippets)
#include "tst_editorsnippets.moc"
