#include "RtfTestSupport.h"
#include "rtf/RtfReader.h"

#include <QFile>
#include <QTextCursor>
#include <QtTest>

using namespace RtfTest;

namespace {

QByteArray corpusFile(const QString& name)
{
    QFile file(QStringLiteral(RTF_CORPUS_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(file.fileName()));
    return file.readAll();
}

// "snippet|attributes": every character of the snippet's first occurrence has exactly the
// attributes b, i, u, s, fg=#rrggbb and bg=#rrggbb listed, and the pt=N and f=Family given
// (f= takes the rest of the line).
void checkSpan(const QString& span, const QString& text, const std::vector<CharLook>& looks)
{
    const qsizetype bar = span.lastIndexOf(u'|');
    const QString snippet = span.left(bar);
    QString attributes = span.mid(bar + 1);
    const qsizetype at = text.indexOf(snippet);
    QVERIFY2(at >= 0, qPrintable(QStringLiteral("not in the text: ") + snippet));

    CharLook expected;
    QString family;
    if (const qsizetype f = attributes.indexOf(QLatin1String("f=")); f >= 0) {
        family = attributes.mid(f + 2);
        attributes.truncate(f);
    }
    double points = 0;
    for (const QString& attribute : attributes.split(u' ', Qt::SkipEmptyParts)) {
        if (attribute == QLatin1String("b"))
            expected.bold = true;
        else if (attribute == QLatin1String("i"))
            expected.italic = true;
        else if (attribute == QLatin1String("u"))
            expected.underline = true;
        else if (attribute == QLatin1String("s"))
            expected.strike = true;
        else if (attribute.startsWith(QLatin1String("pt=")))
            points = attribute.mid(3).toDouble();
        else if (attribute.startsWith(QLatin1String("fg=")))
            expected.foreground = QColor(attribute.mid(3));
        else if (attribute.startsWith(QLatin1String("bg=")))
            expected.background = QColor(attribute.mid(3));
        else
            QFAIL(qPrintable(QStringLiteral("unknown attribute ") + attribute));
    }
    for (qsizetype i = at; i < at + snippet.size(); ++i) {
        CharLook look = looks[size_t(i)];
        const QString where = snippet + QStringLiteral(" at ") + QString::number(i - at);
        if (!family.isEmpty())
            QVERIFY2(look.family == family, qPrintable(where + QStringLiteral(": ") + look.family));
        if (points > 0)
            QVERIFY2(look.points == points, qPrintable(where));
        look.family.clear();
        look.points = 0;
        QVERIFY2(look == expected, qPrintable(where));
    }
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void corpus_data();
    void corpus();
    void brokenInput_data();
    void brokenInput();
    void insert_data();
    void insert();
    void readLeavesNothingToUndo();
};

void TestRtfReader::corpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<QStringList>("spans");

    QTest::newRow("plain text, escapes and special characters")
        << "plain.rtf"
        << QStringLiteral("Hello {world} \\ back\nTab\there\u2028next\n"
                          "Dash\u2014dash\u2013\u2022 \u2018q\u2019 \u201Cdq\u201D\n"
                          "No\u00A0break opthyphen non\u2011break\nSplit over lines\nEscaped break")
        << QStringList{"l", "l", "l", "l", "l", "l"} << QStringList{"Hello {world}|pt=12 f=Arial"};
    QTest::newRow("character formatting")
        << "formatting.rtf"
        << QStringLiteral("Plain bolditalicunderstruck\nB1 B0 I1 I0 U1 U0 V1 V0\n"
                          "dottedwordsdoublewavecoloureddouble struck end\n"
                          "TimesCourier 18tiny default\nall plain")
        << QStringList{"l", "l", "l", "l", "l"}
        << QStringList{"Plain |pt=10 f=Arial",
                       "bold|b",
                       "italic|i",
                       "under|u",
                       "struck|s",
                       "B1|b",
                       " B0 |",
                       "I1|i",
                       " I0 |",
                       "U1|u",
                       " U0 |",
                       "V1|u",
                       " V0|",
                       "dottedwordsdoublewave|u",
                       "coloured|",
                       "double struck|s",
                       " end|",
                       "Times|pt=10 f=Times New Roman",
                       "Courier 18|pt=18 f=Courier New",
                       "tiny|pt=1",
                       " default|pt=10 f=Arial",
                       "all|b i u s pt=20",
                       " plain|pt=12 f=Arial"};
    QTest::newRow("colours and highlights")
        << "colors.rtf" << QStringLiteral("redblueautomarkedshadedpatternednone")
        << QStringList{"l"}
        << QStringList{"red|fg=#ff0000",    "blue|fg=#0000ff",      "auto|", "marked|bg=#ffff00",
                       "shaded|bg=#0000ff", "patterned|bg=#ff0000", "none|"};
    QTest::newRow("alignment, kept until \\pard")
        << "alignment.rtf"
        << QStringLiteral("Centre\nStill centre\nLeft\nRight\nJustified\ninside group\n"
                          "Last without mark")
        << QStringList{"c", "c", "l", "r", "j", "c", "r"} << QStringList{};
    QTest::newRow("bullets as simple editors write them")
        << "wordpad-bullets.rtf"
        << QStringLiteral("Before\nFirst\nSecond\nBetween\nOne\nTwo\nContinued\nAfter")
        << QStringList{"l", "l•1", "l•1", "l", "l#2", "l#2", "l", "l"}
        << QStringList{"First|pt=11 f=Calibri"};
    QTest::newRow("lists as word processors write them")
        << "word-lists.rtf"
        << QStringLiteral("Intro\nApple\nGreen\nPear\nMiddle\nStep\nDetail\nUnknown list\nOutro")
        << QStringList{"l", "l•1", "l◦2@2", "l•1", "l", "l#3", "la4@2", "l•5", "l"}
        << QStringList{"Apple|f=Times New Roman"};
    QTest::newRow("code pages of the fonts' character sets")
        << "charsets.rtf"
        << QStringLiteral("Café €5 “quoted”\nПривет, мир\nΚαλημέρα κόσμε\nPříliš žluťoučký kůň\n"
                          "İstanbul ğüşöç\nĄžuolas ėžys\nשלום\nسلام\nViê\u0323t\nสวัสดี\n"
                          "Καλημέρα κόσμε\nДаé")
        << QStringList(12, "l") << QStringList{"Да|f=Arial Cyr", "é|f=Arial"};
    QTest::newRow("the document's code page")
        << "ansicpg1251.rtf" << QStringLiteral("Привет, мир\nЁж") << QStringList(2, "l")
        << QStringList{};
    QTest::newRow("a multi-byte code page")
        << "shiftjis.rtf" << QStringLiteral("日本語のテキスト\nLatin漢字") << QStringList(2, "l")
        << QStringList{"漢字|f=MS Mincho"};
    QTest::newRow("the Symbol font")
        << "symbol.rtf" << QStringLiteral("αβγ • ≥ → •|J") << QStringList{"l"}
        << QStringList{"αβγ|f=Symbol", "J|f=Wingdings"};
    QTest::newRow("Unicode characters and their fallbacks")
        << "unicode.rtf"
        << QStringLiteral("При\nД okД same\nЖzero\n\uF0B7€ \U0001F600\n\uFFFD lone\n"
                          "“quote”\nЮникод")
        << QStringList(7, "l") << QStringList{};
    QTest::newRow("what is not shown")
        << "destinations.rtf"
        << QStringLiteral("Visible text\nPicture gone\nBinary gone\nshown result\nlink text\n7\n"
                          "Foot\nShown again\nAfter pictures")
        << QStringList(9, "l") << QStringList{"link text|u", "Shown again|"};
    QTest::newRow("table cells") << "table.rtf"
                                 << QStringLiteral("Before\nA1\tB1\t\nA2\tB2\t\nAfter")
                                 << QStringList(4, "l") << QStringList{};
    QTest::newRow("a nested table, flattened into its cell without its fallback")
        << "word-nested-table.rtf"
        << QStringLiteral(
               "Before\nOuter one\nInner alpha\tInner beta\t\nInner gamma\tInner delta\t\n"
               "Outer tail\tOuter two\t\nAfter")
        << QStringList(6, "l") << QStringList{};
    QTest::newRow("fonts chosen per class of character")
        << "east-asian-runs.rtf" << QStringLiteral("見出し\nWord “quoted”日本\n“Western” 漢字")
        << QStringList(3, "l")
        << QStringList{"見出し|f=MS Mincho", "Word |f=Century", "“quoted”日本|f=MS Mincho",
                       "“Western” |f=Arial", "漢字|f=MS Mincho"};
    QTest::newRow("a double-byte run in a Western document")
        << "east-asian-heading.rtf" << QStringLiteral("見出し\nBody") << QStringList(2, "l")
        << QStringList{"見出し|pt=16 f=MS Mincho", "Body|f=Times New Roman"};
    QTest::newRow("a destination's star without its backslash")
        << "star-without-backslash.rtf" << QStringLiteral("Kept text* star") << QStringList{"l"}
        << QStringList{};
    QTest::newRow("unbalanced braces")
        << "unbalanced.rtf" << QStringLiteral("One two\nbold nested still bold\n Unclosed")
        << QStringList(3, "l")
        << QStringList{"One two|f=Arial", "bold |b", "nested|b i", " Unclosed|b"};
    QTest::newRow("a truncated file") << "truncated.rtf" << QStringLiteral("Whole\nHalf boéld")
                                      << QStringList(2, "l") << QStringList{"boéld|b"};
    QTest::newRow("numbers out of range")
        << "huge-numbers.rtf" << QStringLiteral("bigsmall normal\nnegfarcolred\nxy\nIndents")
        << QStringList(4, "l")
        << QStringList{"big|pt=1638", "small|pt=1", " normal|pt=12", "neg|f=Arial",
                       "far|f=Huge",  "col|",       "red|fg=#ff00ff"};
    QTest::newRow("Outlook's encapsulated HTML")
        << "outlook-html.rtf"
        << QStringLiteral(
               "Good morning,\nthe interview is on Friday at ten\u2028in room\u00A04\u2019s end.")
        << QStringList{"l", "l"} << QStringList{"on Friday|b", " at ten|"};
    QTest::newRow("no font table")
        << "no-fonttable.rtf" << QStringLiteral("Nothing declared bold") << QStringList{"l"}
        << QStringList{"Nothing declared|pt=12", " bold|b"};
}

void TestRtfReader::corpus()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QStringList, blocks);
    QFETCH(QStringList, spans);

    QTextDocument document;
    RtfReader::read(corpusFile(file), &document);
    QCOMPARE(RtfTest::text(document), text);
    QCOMPARE(RtfTest::blocks(document), blocks);
    const std::vector<CharLook> looks = RtfTest::looks(document);
    for (const QString& span : spans) {
        checkSpan(span, text, looks);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestRtfReader::brokenInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const int deep = 100000;
    QTest::newRow("deep nesting") << "{\\rtf1 " + QByteArray(deep, '{') + "deep" +
                                         QByteArray(deep, '}') + " after}"
                                  << "deep after";
    QTest::newRow("deep nesting never closed")
        << "{\\rtf1 " + QByteArray("{\\b ").repeated(deep) + "x"
        << "x";
    QTest::newRow("a skipped group nested deeply")
        << "{\\rtf1 a{\\*\\x " + QByteArray(deep, '{') + "hidden" + QByteArray(deep, '}') + "}b}"
        << "ab";
    QTest::newRow("\\bin longer than the file")
        << QByteArray("{\\rtf1 a\\bin2147483647 bcd}") << "a";
    QTest::newRow("\\bin below zero") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("a backslash at the end") << QByteArray("{\\rtf1 a\\") << "a";
    QTest::newRow("a word cut at the end") << QByteArray("{\\rtf1 a\\pa") << "a";
    QTest::newRow("not RTF at all") << QByteArray("plain text") << "plain text";
    QTest::newRow("only closing braces") << QByteArray(1000, '}') + "x"
                                         << "x";
    QTest::newRow("a very long control word") << "{\\rtf1 \\" + QByteArray(1 << 20, 'a') + " x}"
                                              << "x";
    QTest::newRow("a very long number") << "{\\rtf1 \\fs" + QByteArray(1 << 20, '9') + " x}"
                                        << "x";
    QTest::newRow("control characters")
        << QByteArray("{\\rtf1 a\x01\x7f\0b\\u0?\\u13?c}", 23) << "abc";
    QTest::newRow("characters that would split blocks")
        << QByteArray("{\\rtf1 a\\u8233?b\\u-560?c\\u-559?d\\u-4?e}") << "a\u2028bcde";
    QTest::newRow("the end inside a second list table")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0}\\listid1}}"
                      "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                      "\\ls1 item\\par last{\\*\\listtable")
        << "item\nlast";
    QTest::newRow("a paragraph mark in a font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari\\par al;}}\\f0 x}") << "x";
}

void TestRtfReader::brokenInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);

    QTextDocument document;
    RtfReader::read(rtf, &document);
    QCOMPARE(RtfTest::text(document), text);
}

void TestRtfReader::insert_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");
    QTest::addColumn<QStringList>("blocks");

    QTest::newRow("into a paragraph")
        << "abcd" << 2 << 2 << QByteArray("{\\rtf1 XY\\par}") << "abXYcd" << 4 << QStringList{"l"};
    QTest::newRow("over a selection")
        << "abcd" << 3 << 1 << QByteArray("{\\rtf1 Z}") << "aZd" << 2 << QStringList{"l"};
    QTest::newRow("paragraphs") << "abcd" << 2 << 2 << QByteArray("{\\rtf1 X\\par Y\\par}")
                                << "abX\nYcd" << 5 << QStringList{"l", "l"};
    QTest::newRow("with the last paragraph's mark")
        << "abcd" << 2 << 2 << QByteArray("{\\rtf1 X\\par Y\\par\\par}") << "abX\nY\ncd" << 6
        << QStringList{"l", "l", "l"};
    QTest::newRow("a paragraph's format comes with its mark")
        << "abcd" << 2 << 2 << QByteArray("{\\rtf1\\pard\\qc X\\par\\pard\\qr Y\\par}")
        << "abX\nYcd" << 5 << QStringList{"c", "l"};
    QTest::newRow("bullets") << "" << 0 << 0
                             << QByteArray(
                                    "{\\rtf1{\\*\\pn\\pnlvlblt}One\\par Two\\par\\pard\\par}")
                             << "One\nTwo\n"
                             << 8 << QStringList{"l•1", "l•1", "l"};
}

void TestRtfReader::insert()
{
    QFETCH(QString, before);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QByteArray, rtf);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);
    QFETCH(QStringList, blocks);

    QTextDocument document;
    document.setPlainText(before);
    QTextCursor cursor(&document);
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    RtfReader::insert(rtf, cursor);
    QCOMPARE(RtfTest::text(document), after);
    QCOMPARE(cursor.position(), cursorAfter);
    QVERIFY(!cursor.hasSelection());
    QCOMPARE(RtfTest::blocks(document), blocks);

    document.undo();
    QCOMPARE(document.toPlainText(), before);
    QVERIFY(!document.isUndoAvailable());
}

void TestRtfReader::readLeavesNothingToUndo()
{
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("typed"));
    QVERIFY(document.isUndoAvailable());
    RtfReader::read("{\\rtf1 read}", &document);
    QCOMPARE(document.toPlainText(), QStringLiteral("read"));
    QVERIFY(!document.isUndoAvailable());
    QVERIFY(document.isUndoRedoEnabled());
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
