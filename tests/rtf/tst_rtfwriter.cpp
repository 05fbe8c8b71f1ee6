#include "RtfTestSupport.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QTextCursor>
#include <QtTest>

using namespace RtfTest;

namespace {

// "plain:" then text, or HTML, in Arial 11 where nothing else is said.
void fill(QTextDocument& document, const QString& source)
{
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 11));
    if (source.startsWith(QLatin1String("plain:")))
        document.setPlainText(source.mid(6));
    else
        document.setHtml(source);
}

QString describe(const CharLook& look)
{
    return QStringLiteral("%1 %2pt%3%4%5%6 fg=%7 bg=%8")
        .arg(look.family)
        .arg(look.points)
        .arg(look.bold ? " b" : "", look.italic ? " i" : "", look.underline ? " u" : "",
             look.strike ? " s" : "", look.foreground.name(), look.background.name());
}

void compareLooks(const std::vector<CharLook>& actual, const std::vector<CharLook>& expected,
                  const QString& text)
{
    QCOMPARE(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        QVERIFY2(actual[i] == expected[i],
                 qPrintable(QStringLiteral("'%1' at %2: %3, not %4")
                                .arg(text.at(qsizetype(i)))
                                .arg(i)
                                .arg(describe(actual[i]), describe(expected[i]))));
    }
}

} // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void selection_data();
    void selection();
    void encoding_data();
    void encoding();
    void tablesHoldOnlyWhatIsUsed();
    void rewritingIsStable_data();
    void rewritingIsStable();
};

void TestRtfWriter::roundTrip_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("paragraphs") << "<p>Hello world</p><p>Second paragraph</p>";
    QTest::newRow("characters RTF escapes")
        << "<p style='white-space:pre-wrap'>back\\slash {braces}\ttab 1-2<br>line&nbsp;nb "
           "non&#8209;breaking</p>";
    QTest::newRow("words right after control words")
        << "<p><b>bold</b>1 <i>it</i> x<u>u</u>-y<s>s</s> </p>";
    QTest::newRow("each character attribute")
        << "<p>plain <b>bold</b> <i>italic</i> <u>under</u> <s>struck</s> "
           "<span style='font-family:Courier New'>courier</span> "
           "<span style='font-size:20pt'>big</span> <span style='font-size:10.5pt'>half</span> "
           "<span style='color:#c00000'>red</span> "
           "<span style='background-color:#ffff00'>marked</span></p>";
    QTest::newRow("attributes together and switched off")
        << "<p><b><i><u><s><span style='font-family:Times New Roman;font-size:15pt;"
           "color:#0000ff;background-color:#00ff00'>all</span></s></u></i></b> none "
           "<b>b<i>bi<u>biu</u>bi</i>b</b> <span style='color:#0000ff'>blue <span "
           "style='background-color:#00ff00'>on green</span></span> end</p>";
    QTest::newRow("text outside ASCII")
        << "<p>Café ß ÿ € “quotes” — … Œ ž</p><p>Привет мир</p><p>Καλημέρα</p>"
           "<p>日本語 中文 한국어</p><p>😀 𝄞 \uFFFD \uF0B7</p>";
    QTest::newRow("alignment") << "<p>left</p><p align=center>centre</p><p align=right>right</p>"
                                  "<p align=justify>justified</p>";
    QTest::newRow("bullets") << "<p>before</p><ul><li>one</li><li>two</li></ul><p>after</p>";
    QTest::newRow("nested and numbered lists")
        << "<ul><li>a<ul><li>a.1</li><li>a.2<ul type=square><li>deep</li></ul></li></ul></li>"
           "<li>b</li></ul><ol><li>first</li><li>second<ol type=a><li>sub</li></ol></li></ol>"
           "<ol type=I><li>roman</li></ol><ul><li>another list</li></ul>";
    QTest::newRow("a centred bullet") << "<ul><li align=center>centred item</li></ul>";
    QTest::newRow("empty paragraphs") << "plain:a\n\nb\n";
    QTest::newRow("empty document") << "plain:";
}

void TestRtfWriter::roundTrip()
{
    QFETCH(QString, source);

    QTextDocument original;
    fill(original, source);
    const QByteArray rtf = RtfWriter::write(original);
    QVERIFY(RtfReader::isRtf(rtf));
    QTextDocument copy;
    RtfReader::read(rtf, &copy);

    QCOMPARE(text(copy), text(original));
    compareLooks(looks(copy), looks(original), text(original));
    QCOMPARE(blocks(copy), blocks(original));
}

void TestRtfWriter::selection_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("blocks");

    const QString document =
        QStringLiteral("<p>One <b>two</b> three</p><p align=center>Second</p><p>Third</p>");
    QTest::newRow("within a paragraph") << document << 2 << 9 << QStringList{"l"};
    QTest::newRow("across paragraphs") << document << 10 << 17 << QStringList{"l", "c"};
    QTest::newRow("with the paragraph mark") << document << 14 << 21 << QStringList{"c", "l"};
    QTest::newRow("list items") << "<ul><li>one</li><li>two</li></ul><p>three</p>" << 1 << 6
                                << QStringList{"l•1", "l•1"};
}

void TestRtfWriter::selection()
{
    QFETCH(QString, source);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, blocks);

    QTextDocument original;
    fill(original, source);
    QTextCursor cursor(&original);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextDocument copy;
    RtfReader::read(RtfWriter::writeSelection(cursor), &copy);

    const QString expectedText = text(original).mid(from, to - from);
    QCOMPARE(text(copy), expectedText);
    const std::vector<CharLook> all = looks(original);
    compareLooks(looks(copy), std::vector<CharLook>(all.begin() + from, all.begin() + to),
                 expectedText);
    QCOMPARE(RtfTest::blocks(copy), blocks);
}

void TestRtfWriter::encoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("Latin-1 with its byte") << "é" << QByteArray("\\u233\\'e9");
    QTest::newRow("code page 1252 with its byte") << "€" << QByteArray("\\u8364\\'80");
    QTest::newRow("no byte in code page 1252") << "П" << QByteArray("\\u1055\\'3f");
    QTest::newRow("above 32767 below zero") << "가" << QByteArray("\\u-21504\\'3f");
    QTest::newRow("a surrogate pair as two") << "😀" << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
    QTest::newRow("escapes") << "{\\}" << QByteArray("\\{\\\\\\}");
}

void TestRtfWriter::encoding()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, rtf);

    QTextDocument document;
    document.setPlainText(text);
    const QByteArray written = RtfWriter::write(document);
    QVERIFY2(written.contains(rtf), written.constData());
    QVERIFY(written.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"));
    for (const char byte : written)
        QVERIFY(byte > 0 && byte < 0x7f); // 7-bit, as RTF is
}

void TestRtfWriter::tablesHoldOnlyWhatIsUsed()
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 11));
    QTextCursor cursor(&document);
    QTextCharFormat unused;
    unused.setFontFamilies({QStringLiteral("Unused Family")});
    unused.setForeground(QColor(1, 2, 3));
    cursor.insertText(QStringLiteral("gone"), unused);
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertText(QStringLiteral("kept"), QTextCharFormat());

    QByteArray rtf = RtfWriter::write(document);
    QVERIFY2(!rtf.contains("Unused Family") && !rtf.contains("colortbl"), rtf.constData());
    QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"), rtf.constData());

    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    cursor.insertText(QStringLiteral("red"), red);
    cursor.insertText(QStringLiteral("again"), red);
    rtf = RtfWriter::write(document);
    QVERIFY2(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;}"), rtf.constData());
}

// What the writer wrote reads back to a document it writes the same way, whatever was read first.
void TestRtfWriter::rewritingIsStable_data()
{
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("a tab in a font name") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari\tal;}}\\f0 x}");
    QTest::newRow("structure in a font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\u-4?\\u8233?\\u59?B;}}\\f0 x}");
    QTest::newRow("an empty font name") << QByteArray("{\\rtf1{\\fonttbl{\\f0;}}\\f0 x}");
    QTest::newRow("an empty list item at the end")
        << QByteArray("{\\rtf1 a\\par{\\*\\pn\\pnlvlblt}\\par}");
}

void TestRtfWriter::rewritingIsStable()
{
    QFETCH(QByteArray, rtf);

    QTextDocument first;
    RtfReader::read(rtf, &first);
    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    RtfReader::read(written, &second);
    QCOMPARE(RtfWriter::write(second), written);
}

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
