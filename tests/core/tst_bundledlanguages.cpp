// The language files shipped in data/Files/Lang: complete, well formed, and fitting the way the
// program decorates their texts.

#include "core/InterfaceTexts.h"
#include "mock/Accelerators.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>
#include <vector>

namespace {

const QStringList kLanguages = {QStringLiteral("Brazilian.lng"), QStringLiteral("Hungarian.lng"),
                                QStringLiteral("Italiano.lng"),  QStringLiteral("Russian.lng"),
                                QStringLiteral("Spanish.lng"),   QStringLiteral("Français.lng"),
                                QStringLiteral("Svenska.lng"),   QStringLiteral("English.lng")};

// Lines the program reads but never shows; they stay empty so that later numbers hold.
const QSet<int> kUnused = {24, 28, 29, 58, 69, 73, 83, 108, 109, 119};
constexpr int kLastUsed = 142;
// The timestamp and recovery texts.
constexpr int kFirstTimestampEntry = 144;
constexpr int kLastTimestampEntry = 156;
// The foot pedal and speaker label texts.
constexpr int kFirstPedalEntry = 171;
constexpr int kLastPedalEntry = 197;
// The sound clean-up texts.
constexpr int kFirstSoundEntry = int(Text::SoundCleanUpMenu);
constexpr int kLastSoundEntry = int(Text::SoundCleanUpTitle);
// Used beyond the contiguous blocks.
const QSet<int> kUsedLater = {int(Text::AboutText),
                              int(Text::ReadFailed),
                              int(Text::NoWebBrowser),
                              int(Text::RecoveryKeptAside),
                              int(Text::RecoveryUnavailable),
                              int(Text::RecordingBrokeOff),
                              int(Text::LanguageFileNotTaken),
                              int(Text::NotATextDocument),
                              int(Text::TimestampAfterStepBack),
                              int(Text::SoundServerNotAnswering),
                              int(Text::RecordingStarting),
                              int(Text::ExportPreambleLeftOut),
                              int(Text::SubtitlesSkipped),
                              int(Text::ExportOverTranscript),
                              int(Text::ExportFormatUnknown),
                              int(Text::Subtitles),
                              int(Text::ExportTranscript),
                              int(Text::TextWithoutTimestamps),
                              int(Text::OpeningFile),
                              int(Text::FileBeyondLimits),
                              int(Text::WaveformWindow),
                              int(Text::ShowWaveform),
                              int(Text::SoundNotDrawn),
                              int(Text::WaveformNormalised),
                              int(Text::HideWaveform),
                              int(Text::ContinuingFrom),
                              int(Text::ResumeWhereLeft),
                              int(Text::PauseWhileTyping)};

QString languagePath(const QString& file)
{
    return QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/") + file;
}

// The file as the start-up reading takes it, read once per run.
const InterfaceTexts& loaded(const QString& file)
{
    static QHash<QString, InterfaceTexts> cache;
    if (!cache.contains(file)) {
        InterfaceTexts texts;
        const QString error = texts.loadStrict(languagePath(file));
        if (!error.isEmpty())
            qFatal("%s: %s", qPrintable(file), qPrintable(error));
        cache.insert(file, texts);
    }
    return cache[file];
}

bool isUsed(int n)
{
    return (n <= kLastUsed && !kUnused.contains(n)) ||
           (n >= kFirstTimestampEntry && n <= kLastTimestampEntry) ||
           (n >= kFirstPedalEntry && n <= kLastPedalEntry) ||
           (n >= kFirstSoundEntry && n <= kLastSoundEntry) || kUsedLater.contains(n);
}

void addLanguageRows()
{
    QTest::addColumn<QString>("file");
    for (const QString& file : kLanguages)
        QTest::newRow(qPrintable(file)) << file;
}

// The caption a window builds from entry n; -n stands for entry n with "&" put in front (the
// language command, the find button). Appended words or dots carry no accelerator.
QString menuCaption(const InterfaceTexts& texts, int n)
{
    if (n < 0)
        return QStringLiteral("&") + texts.entry(-n);
    return texts.entry(n);
}

// One menu entry (or button) is the set of entries its caption shows in its different states.
using MenuEntry = std::vector<int>;
struct Menu {
    const char* name;
    std::vector<MenuEntry> entries;
};

// The menus' entries are checked against the windows' command tables in tst_commandtables.
const std::vector<Menu> kMenus = {
    {"find dialog", {{-56, 57}, {59}, {60}, {61}, {63}, {64}, {21}}},
};

enum class Rule {
    NoAmpersand,         // the code puts "&" in front
    EndsInLetterOrDigit, // the code appends "...", ":" or more words
    EndsWithEllipsis,    // the code cuts the last three characters for a filter description
};

} // namespace

Q_DECLARE_METATYPE(Rule)

class TestBundledLanguages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileLayout_data() { addLanguageRows(); }
    void fileLayout();
    void usedEntriesFilled_data() { addLanguageRows(); }
    void usedEntriesFilled();
    void italianBuiltInCaptions_data();
    void italianBuiltInCaptions();
    void decorationFits_data();
    void decorationFits();
    void stateTextsDiffer_data();
    void stateTextsDiffer();
    void menuAcceleratorsDistinct_data();
    void menuAcceleratorsDistinct();
    void qtLocaleLeadsBack_data() { addLanguageRows(); }
    void qtLocaleLeadsBack();
};

void TestBundledLanguages::qtLocaleLeadsBack()
{
    // The locale named for Qt's texts is the one whose users get this file.
    QFETCH(QString, file);
    QCOMPARE(defaultLanguageFile(QLocale(qtLocaleName(file))), file);
}

void TestBundledLanguages::fileLayout()
{
    QFETCH(QString, file);
    QFile f(languagePath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.errorString()));
    const QByteArray bytes = f.readAll();

    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "byte order mark");
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString content = utf8(bytes);
    QVERIFY2(!utf8.hasError(), "not valid UTF-8");
    QVERIFY2(content.endsWith(QStringLiteral("\r\n")), "last line without CR LF");

    const QStringList lines = content.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), InterfaceTexts::kCount);
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        QVERIFY2(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')),
                 qPrintable(QStringLiteral("line %1 has a bare line break").arg(n)));
        QCOMPARE(line.left(InterfaceTexts::kLabelLength),
                 QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')));
        if (!isUsed(n))
            QVERIFY2(line.size() == InterfaceTexts::kLabelLength,
                     qPrintable(QStringLiteral("unused line %1 has a text").arg(n)));
    }
}

void TestBundledLanguages::usedEntriesFilled()
{
    QFETCH(QString, file);
    InterfaceTexts texts;
    QCOMPARE(texts.loadStrict(languagePath(file)), QString());
    for (int n = 0; n < InterfaceTexts::kCount; ++n) {
        if (!isUsed(n))
            continue;
        const QString text = texts.entry(n);
        QVERIFY2(!text.isEmpty(), qPrintable(QStringLiteral("entry %1 is empty").arg(n)));
        // The code glues spaces and words around many entries; stray blanks would double them.
        QVERIFY2(text == text.trimmed(),
                 qPrintable(QStringLiteral("entry %1 has outer blanks: \"%2\"").arg(n).arg(text)));
    }
    // The play and pause prompts put the suggested seconds in place of this mark.
    QVERIFY(texts.text(Text::SuggestedSeconds).contains(QStringLiteral("nnn")));
}

void TestBundledLanguages::italianBuiltInCaptions_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("builtIn");

    // Captions shown as the entry stands.
    const std::vector<std::pair<int, const char*>> plain = {
        {20, "OK"}, {21, "Cancel"}, {22, "Descrizione"}, {90, "G"},      {115, "i"},     {91, "S"},
        {92, "b"},  {106, "Right"}, {107, "Left"},       {111, "Start"}, {114, "PAUSE"},
    };
    for (const auto& [entry, caption] : plain)
        QTest::addRow("%d", entry) << entry << QString() << QString() << QString::fromUtf8(caption);

    // Captions the code completes: the shown result is the built-in caption.
    QTest::addRow("118 before :") << 118 << QString() << QStringLiteral(":")
                                  << QStringLiteral("Home Page:");
}

void TestBundledLanguages::italianBuiltInCaptions()
{
    QFETCH(int, entry);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    QFETCH(QString, builtIn);
    const InterfaceTexts& texts = loaded(QStringLiteral("Italiano.lng"));
    QCOMPARE(prefix + texts.entry(entry) + suffix, builtIn);
}

void TestBundledLanguages::decorationFits_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("entry");
    QTest::addColumn<Rule>("rule");

    struct Check {
        Rule rule;
        const char* name;
        std::vector<int> entries;
    };
    const std::vector<Check> checks = {
        {Rule::NoAmpersand, "no &", {15, 56, 111, 112}},
        // 33/40 take " 60.", 75 " <path>?", 96 " - <name>", 97 " 1", the others "..." or ":".
        {Rule::EndsInLetterOrDigit, "open end", {33, 40, 56, 59, 75, 96, 97, 104, 118, 125, 126}},
        {Rule::EndsWithEllipsis, "ends with ...", {15}},
    };
    for (const QString& file : kLanguages) {
        for (const Check& check : checks) {
            for (int entry : check.entries)
                QTest::addRow("%s %d %s", qPrintable(file), entry, check.name)
                    << file << entry << check.rule;
        }
    }
}

void TestBundledLanguages::decorationFits()
{
    QFETCH(QString, file);
    QFETCH(int, entry);
    QFETCH(Rule, rule);
    const InterfaceTexts& texts = loaded(file);
    const QString text = texts.entry(entry);
    QVERIFY(!text.isEmpty());
    switch (rule) {
    case Rule::NoAmpersand:
        QVERIFY2(!text.contains(QLatin1Char('&')), qPrintable(text));
        break;
    case Rule::EndsInLetterOrDigit:
        QVERIFY2(text.back().isLetterOrNumber(), qPrintable(text));
        break;
    case Rule::EndsWithEllipsis:
        QVERIFY2(text.endsWith(QStringLiteral("...")), qPrintable(text));
        break;
    }
}

void TestBundledLanguages::stateTextsDiffer_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("firstPrefix");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");

    // The program tells these states apart by the caption or tag text alone.
    for (const QString& file : kLanguages) {
        const QByteArray lang = file.toUtf8();
        QTest::addRow("%s play/pause", lang.constData()) << file << QString() << 7 << 8;
        QTest::addRow("%s bookmarks show/hide", lang.constData()) << file << QString() << 84 << 85;
        QTest::addRow("%s editor show/hide", lang.constData()) << file << QString() << 86 << 116;
        QTest::addRow("%s recording/paused", lang.constData()) << file << QString() << 113 << 114;
        QTest::addRow("%s find/find next", lang.constData())
            << file << QStringLiteral("&") << 56 << 57;
    }
}

void TestBundledLanguages::stateTextsDiffer()
{
    QFETCH(QString, file);
    QFETCH(QString, firstPrefix);
    QFETCH(int, first);
    QFETCH(int, second);
    const InterfaceTexts& texts = loaded(file);
    // Compared as the user sees them, so they differ by more than an accelerator mark.
    QVERIFY(!StripAmpersands(texts.entry(first)).isEmpty());
    const QString shownFirst = StripAmpersands(firstPrefix + texts.entry(first));
    QVERIFY2(shownFirst != StripAmpersands(texts.entry(second)), qPrintable(shownFirst));
}

void TestBundledLanguages::menuAcceleratorsDistinct_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("menu");
    for (const QString& file : kLanguages) {
        for (int m = 0; m < int(kMenus.size()); ++m)
            QTest::addRow("%s %s", qPrintable(file), kMenus[m].name) << file << m;
    }
}

void TestBundledLanguages::menuAcceleratorsDistinct()
{
    QFETCH(QString, file);
    QFETCH(int, menu);
    const InterfaceTexts& texts = loaded(file);

    QHash<QChar, QString> owner; // accelerator -> caption that took it
    for (const MenuEntry& states : kMenus[menu].entries) {
        QSet<QChar> keysOfEntry;
        for (int n : states) {
            const QString caption = menuCaption(texts, n);
            const QString keys = accelerators(caption);
            QVERIFY2(keys.size() <= 1,
                     qPrintable(QStringLiteral("more than one accelerator: %1").arg(caption)));
            for (QChar key : keys)
                keysOfEntry.insert(key);
        }
        for (QChar key : keysOfEntry) {
            const QString caption = menuCaption(texts, states.front());
            QVERIFY2(!owner.contains(key), qPrintable(QStringLiteral("\"%1\" and \"%2\" share &%3")
                                                          .arg(owner.value(key), caption, key)));
            owner.insert(key, caption);
        }
    }
    QVERIFY(!owner.isEmpty());
}

QTEST_GUILESS_MAIN(TestBundledLanguages)
#include "tst_bundledlanguages.moc"
