// The windows' command tables against every bundled language: each entry can be found by a name
// of its own, and no two entries of a menu share an accelerator.

#include "core/InterfaceTexts.h"
#include "core/MenuCommands.h"
#include "editor/EditorWindow.h"
#include "mock/Accelerators.h"
#include "player/PlayerWindow.h"

#include <QDir>
#include <QSet>
#include <QtTest>

namespace {

// An entry as its menu shows it: every caption it can have.
struct ListedEntry {
    QString menu;
    QString name;
    QStringList captions;
};

template <typename Window>
std::vector<ListedEntry> listed(const char* window, const std::vector<CommandRow<Window>>& rows,
                                const InterfaceTexts& texts)
{
    using Kind = typename CommandRow<Window>::Kind;
    const QString bar = QString::fromLatin1(window) + QStringLiteral(" menu bar");
    QStringList menus;
    std::vector<ListedEntry> entries;
    for (const CommandRow<Window>& row : rows) {
        if (row.kind == Kind::Menu)
            menus.clear();
        else if (row.kind == Kind::EndSubmenu)
            menus.removeLast();
        if (row.kind != Kind::Command && row.kind != Kind::Menu && row.kind != Kind::Submenu)
            continue;
        ListedEntry entry{menus.isEmpty() ? bar : menus.last(), QString::fromLatin1(row.name), {}};
        if (row.fixedCaption)
            entry.captions += QString::fromUtf8(row.fixedCaption);
        else if (!(row.flags & CommandFlag::OwnCaption))
            entry.captions += MenuCommands::caption(texts, row.caption, row.flags);
        if (row.otherCaption)
            entry.captions += MenuCommands::caption(texts, *row.otherCaption, row.flags);
        entries.push_back(entry);
        if (row.kind != Kind::Command)
            menus += QString::fromLatin1(window) + QLatin1Char(' ') + entry.name;
    }
    return entries;
}

std::vector<ListedEntry> listedEntries(const QString& languageFile)
{
    InterfaceTexts texts;
    const QString error =
        texts.loadStrict(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/") + languageFile);
    if (!error.isEmpty())
        qFatal("%s: %s", qPrintable(languageFile), qPrintable(error));
    std::vector<ListedEntry> entries = listed("player", PlayerWindow::commandTable(), texts);
    for (ListedEntry& entry : listed("editor", EditorWindow::commandTable(), texts))
        entries.push_back(entry);
    return entries;
}

} // namespace

class TestCommandTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyEntryHasANameOfItsOwn();
    void acceleratorsDistinctPerMenu_data();
    void acceleratorsDistinctPerMenu();
};

void TestCommandTables::everyEntryHasANameOfItsOwn()
{
    QSet<QString> names;
    for (const ListedEntry& entry : listedEntries(QStringLiteral("English.lng"))) {
        const QString window = entry.menu.section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!entry.name.isEmpty(), qPrintable(entry.captions.join(QLatin1Char('/'))));
        QVERIFY2(!names.contains(window + entry.name), qPrintable(entry.name));
        names.insert(window + entry.name);
    }
}

void TestCommandTables::acceleratorsDistinctPerMenu_data()
{
    QTest::addColumn<QString>("file");
    const QDir folder(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang"));
    const QStringList files = folder.entryList({QStringLiteral("*.lng")}, QDir::Files);
    QCOMPARE(files.size(), 8);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestCommandTables::acceleratorsDistinctPerMenu()
{
    QFETCH(QString, file);
    QHash<QString, QString> owner; // menu and accelerator -> the caption that took it
    for (const ListedEntry& entry : listedEntries(file)) {
        QSet<QChar> keysOfEntry;
        for (const QString& caption : entry.captions) {
            const QString keys = accelerators(caption);
            QVERIFY2(keys.size() <= 1, qPrintable(entry.menu + QStringLiteral(": ") + caption));
            for (QChar key : keys)
                keysOfEntry.insert(key);
        }
        for (QChar key : keysOfEntry) {
            const QString place = entry.menu + QLatin1Char(' ') + key;
            QVERIFY2(
                !owner.contains(place),
                qPrintable(QStringLiteral("%1: \"%2\" and \"%3\" share &%4")
                               .arg(entry.menu, owner.value(place), entry.captions.first(), key)));
            owner.insert(place, entry.captions.first());
        }
    }
}

QTEST_MAIN(TestCommandTables)
#include "tst_commandtables.moc"
