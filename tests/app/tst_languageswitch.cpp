// The language command on a whole run: the player, the editor and the open companion windows
// take the chosen file's texts, and the settings keep its name.

#include "Controls.h"
#include "FakeMediaPlayer.h"
#include "RealWait.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "StartedRun.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "bookmarks/BookmarkController.h"
#include "core/AppState.h"
#include "core/InterfaceTexts.h"
#include "core/ProgramFolder.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindow.h"
#include "editor/FindDialog.h"
#include "editor/RichTextBox.h"
#include "platform/Platform.h"
#include "player/PlayerWindow.h"
#include "recorder/Recorder.h"
#include "recorder/RecorderWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// A run started in First.lng (or another), a file of 131 lines, beside Second.lng, of 120 lines.
struct Run : StartedRun {
    explicit Run(const QString& language = QStringLiteral("First.lng"))
    {
        folder.writeLanguage(QStringLiteral("First.lng"), QStringLiteral("first"), 131);
        folder.writeLanguage(QStringLiteral("Second.lng"), QStringLiteral("second"), 120);
        QStringList settings(23, QStringLiteral("0"));
        settings[0] = language;
        start(settings);
        QTRY_VERIFY_WITH_TIMEOUT(session.editor->findChild<RichTextBox*>(), kRealWaitMs);
    }

    PlayerWindow* player() const { return session.player.get(); }
    QString langPath(const QString& name) const
    {
        return folder.filePath(QStringLiteral("Files/Lang/") + name);
    }
    // Chooses the path in the language dialog.
    void choose(const QString& path)
    {
        dialogs.chosenFiles.enqueue(path);
        action(player(), "languageAction")->trigger();
    }
    QString storedLanguage() const
    {
        return QString::fromUtf8(folder.readBytes(QStringLiteral("Files/Vocarta.ini")))
            .section(QStringLiteral("\r\n"), 0, 0);
    }
};

// The text a control shows: a menu's or a group's title, an action's, a label's or a button's
// caption, or (with `tip`) a widget's tooltip.
QString shown(const QObject* root, const QString& name, bool tip)
{
    const QObject* object = root ? root->findChild<QObject*>(name) : nullptr;
    if (!object)
        return QStringLiteral("<no %1>").arg(name);
    if (tip)
        return qobject_cast<const QWidget*>(object)->toolTip();
    if (const auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (const auto* entry = qobject_cast<const QAction*>(object))
        return entry->text();
    if (const auto* labelled = qobject_cast<const QLabel*>(object))
        return labelled->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(object))
        return group->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    return QStringLiteral("<%1 shows no text>").arg(name);
}

FindDialog* openFindDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<FindDialog*>(window); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

class TestLanguageSwitch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cancelledDialogChangesNothing();
    void everyCaptionFollows_data();
    void everyCaptionFollows();
    void shorterFileKeepsTheLaterTexts();
    void fileNotTakenReadsTheCurrentOneAgain_data();
    void fileNotTakenReadsTheCurrentOneAgain();
    void qtTextsFollowTheLanguage_data();
    void qtTextsFollowTheLanguage();

private:
    // One run switched from First.lng to Second.lng with every window open, for the captions.
    std::unique_ptr<Run> m_switched;
};

void TestLanguageSwitch::initTestCase()
{
    m_switched = std::make_unique<Run>();
    Run& run = *m_switched;
    run.session.bookmarks->toggleBookmarkWindow();
    action(run.session.editor, "findAction")->trigger();
    action(run.player(), "recordAction")->trigger();
    QVERIFY(run.session.bookmarks->window());
    QVERIFY(run.session.recorder->window());
    QVERIFY(openFindDialog());
    run.choose(run.langPath(QStringLiteral("Second.lng")));
}

void TestLanguageSwitch::cancelledDialogChangesNothing()
{
    Run run;
    const QByteArray settings = run.folder.readBytes(QStringLiteral("Files/Vocarta.ini"));
    QSignalSpy saved(run.player()->sessionKeeper(), &SessionKeeper::settingsSaved);
    run.folder.writeLanguage(QStringLiteral("First.lng"), QStringLiteral("changed"), 131);

    run.choose(QString());

    QCOMPARE(run.dialogs.fileDialogs.size(), 1);
    const FileDialogRequest& asked = run.dialogs.fileDialogs.first();
    QVERIFY(asked.open);
    QCOMPARE(asked.title, QStringLiteral("first 15"));
    QCOMPARE(asked.filters.first(), qMakePair(QStringLiteral("first"), QStringLiteral("*.lng")));
    QCOMPARE(asked.initialFolder, run.folder.filePath(QStringLiteral("Files/Lang")));
    QCOMPARE(saved.size(), 0);
    QCOMPARE(run.folder.readBytes(QStringLiteral("Files/Vocarta.ini")), settings);
    QCOMPARE(run.state.languageFile, QStringLiteral("First.lng"));
    QCOMPARE(action(run.player(), "openAction")->text(), QStringLiteral("first 3"));
}

void TestLanguageSwitch::everyCaptionFollows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("tip");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* window, const char* control, const QString& expected,
                        bool tip = false) {
        QTest::addRow("%s %s", window, control)
            << QString::fromLatin1(window) << QString::fromLatin1(control) << tip << expected;
    };
    // Second.lng ends before entry 120: the later ones keep First.lng's texts, and those beyond
    // First.lng's end the built-in English ones.
    const auto entry = [](int n) {
        if (n >= 131)
            return InterfaceTexts::builtInEntry(n);
        return QStringLiteral("%1 %2").arg(n < 120 ? "second" : "first").arg(n);
    };
    const auto tip = [&](int n) { return QLatin1Char(' ') + entry(n) + QLatin1Char(' '); };
    // Every menu and entry of the two tables: the caption, or the other caption its state shows.
    const auto captions = [&](const char* window, const auto& rows) {
        using Kind = typename std::remove_cvref_t<decltype(rows)>::value_type::Kind;
        for (const auto& command : rows) {
            const bool captioned = command.kind == Kind::Command || command.kind == Kind::Menu ||
                                   command.kind == Kind::Submenu;
            if (!captioned || command.fixedCaption || (command.flags & CommandFlag::OwnCaption))
                continue;
            const auto decorated = [&](Text text) {
                return QString((command.flags & CommandFlag::Accelerated) ? "&" : "") +
                       entry(int(text)) + ((command.flags & CommandFlag::Ellipsis) ? "..." : "");
            };
            QString expected = decorated(command.caption);
            if (command.otherCaption)
                expected += QLatin1Char('|') + decorated(*command.otherCaption);
            row(window, command.name, expected);
        }
    };
    captions("player", PlayerWindow::commandTable());
    captions("editor", EditorWindow::commandTable());
    const std::pair<const char*, int> playerTips[] = {{"openButton", 3},
                                                      {"playButton", 78},
                                                      {"stopButton", 79},
                                                      {"forwardButton", 77},
                                                      {"backButton", 76}};
    for (const auto& [control, n] : playerTips)
        row("player", control, tip(n), true);
    row("bookmarks", "addBookmarkButton", tip(93), true);
    row("bookmarks", "removeBookmarkButton", tip(100), true);

    const std::pair<const char*, int> findTexts[] = {
        {"findLabel", 56},    {"replaceLabel", 60}, {"replaceAllButton", 61}, {"cancelButton", 21},
        {"optionsGroup", 62}, {"wholeWordBox", 63}, {"matchCaseBox", 64}};
    for (const auto& [control, n] : findTexts)
        row("find", control, entry(n));
    const std::pair<const char*, int> recorderTexts[] = {
        {"optionsBox", 137}, {"channelsLabel", 138}, {"frequencyLabel", 139},
        {"bitsLabel", 140},  {"timeTitle", 141},     {"bytesTitle", 142},
        {"stopButton", 9},   {"leftLabel", 107},     {"rightLabel", 106}};
    for (const auto& [control, n] : recorderTexts)
        row("recorder", control, entry(n));
    row("recorder", "startButton", QStringLiteral("&") + entry(111));
}

void TestLanguageSwitch::everyCaptionFollows()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(bool, tip);
    QFETCH(QString, expected);
    const Run& run = *m_switched;
    QCOMPARE(run.state.languageFile, QStringLiteral("Second.lng"));
    QCOMPARE(run.storedLanguage(), QStringLiteral("Second.lng"));

    const QObject* root = run.player();
    if (window == QLatin1String("editor"))
        root = run.session.editor.get();
    else if (window == QLatin1String("bookmarks"))
        root = run.session.bookmarks->window();
    else if (window == QLatin1String("find"))
        root = openFindDialog();
    else if (window == QLatin1String("recorder"))
        root = run.session.recorder->window();
    // An entry of two captions shows either, as its state says.
    const QString text = shown(root, control, tip);
    QVERIFY2(expected.split(QLatin1Char('|')).contains(text), qPrintable(text + " / " + expected));
}

void TestLanguageSwitch::shorterFileKeepsTheLaterTexts()
{
    const Run& run = *m_switched;
    auto* toolbar = run.session.editor->findChild<EditorToolbar*>();

    for (int n = 0; n < 120; ++n)
        QCOMPARE(run.state.texts.entry(n), QStringLiteral("second %1").arg(n));
    for (int n = 120; n <= 130; ++n)
        QCOMPARE(run.state.texts.entry(n), QStringLiteral("first %1").arg(n));
    QCOMPARE(action(run.player(), "smartPlayAction")->text(), QStringLiteral("first 124"));
    QCOMPARE(action(run.player(), "speedUpAction")->text(), QStringLiteral("first 130"));
    QCOMPARE(run.session.bookmarks->window()->windowTitle(), QStringLiteral("first 120"));
    QCOMPARE(toolbar->styleLetter(EditorToolbar::Zone::Bold), QStringLiteral("second 90"));
    // Entries no file gave read English, never an empty caption.
    QCOMPARE(run.state.texts.entry(131), shippedEnglish(131));
    QCOMPARE(run.state.texts.text(Text::AboutText), shippedEnglish(int(Text::AboutText)));
}

void TestLanguageSwitch::fileNotTakenReadsTheCurrentOneAgain_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("content");
    const QStringList good = QStringList(201, QStringLiteral("000other"));
    QStringList broken = good;
    broken[7] = QStringLiteral("x");
    QTest::newRow("no Lang folder in the path") << QStringLiteral("elsewhere/Other.lng") << good;
    QTest::newRow("another Lang folder") << QStringLiteral("elsewhere/Lang/Other.lng") << good;
    QTest::newRow("a file the next start would refuse")
        << QStringLiteral("Files/Lang/Other.lng") << broken;
}

void TestLanguageSwitch::fileNotTakenReadsTheCurrentOneAgain()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, content);
    Run run;
    run.folder.write(chosen, content);
    // The current file changed on disk since start: its new texts show.
    run.folder.writeLanguage(QStringLiteral("First.lng"), QStringLiteral("again"), 131);
    QSignalSpy saved(run.player()->sessionKeeper(), &SessionKeeper::settingsSaved);

    run.choose(run.folder.filePath(chosen));

    QCOMPARE(run.state.languageFile, QStringLiteral("First.lng"));
    QCOMPARE(action(run.player(), "openAction")->text(), QStringLiteral("again 3"));
    QCOMPARE(action(run.session.editor, "newAction")->text(), QStringLiteral("again 42"));
    QCOMPARE(saved.size(), 1);
    QCOMPARE(run.storedLanguage(), QStringLiteral("First.lng"));
    // A file in the language folder was refused for its content, and the user is told why.
    const bool refused = chosen.startsWith(QStringLiteral("Files/"));
    QCOMPARE(run.dialogs.messages.size(), refused ? 1 : 0);
    if (refused)
        QCOMPARE(run.dialogs.messages.last().text,
                 run.state.texts.plain(Text::LanguageFileNotTaken) + "\n" +
                     run.folder.filePath(chosen) + "\nline 8 is too short");
}

void TestLanguageSwitch::qtTextsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("started");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("cancel");
    const auto row = [](const char* name, const char* started, const char* chosen, QString cancel) {
        QTest::newRow(name) << QString(started) << QString(chosen) << cancel;
    };
    row("Russian from the start", "Russian.lng", "", QStringLiteral("Отмена"));
    row("Hungarian chosen", "First.lng", "Hungarian.lng", QStringLiteral("Mégse"));
    row("Brazilian after Russian", "Russian.lng", "Brazilian.lng", "Cancelar");
    row("back to English", "Russian.lng", "English.lng", "Cancel");
    row("a language file of the user's", "Hungarian.lng", "Second.lng", "Cancel");
}

void TestLanguageSwitch::qtTextsFollowTheLanguage()
{
    QFETCH(QString, started);
    QFETCH(QString, chosen);
    QFETCH(QString, cancel);
    Run run(started);
    if (!chosen.isEmpty())
        run.choose(run.langPath(chosen));
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), cancel);
}

QTEST_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
