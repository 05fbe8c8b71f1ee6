#pragma once

#include "rtf/RtfReaderState.h"

#include <QColor>
#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <vector>

// The tables at the head of an RTF document: fonts, colours and lists, and the document's code
// page. The reader fills them; the paragraphs refer to them by number.
struct RtfFont {
    QString family;
    int charset = -1;
    int codePage = 0; // \cpg, which outranks the charset
};

struct RtfListLevel {
    int numberFormat = 0; // \levelnfc: 23 is a bullet, 0 decimal...
    int bulletStyle = 0;  // the QTextListFormat::Style its \leveltext shows; 0 if none known
};

struct RtfListDefinition {
    int id = 0;
    std::vector<RtfListLevel> levels;
};

struct RtfListOverride {
    int listId = 0;
    int index = 0; // the \ls number paragraphs give
};

class RtfTables {
public:
    int ansiCodePage = 1252;
    int defaultFont = 0;
    QHash<int, RtfFont> fonts;
    std::vector<QColor> colors; // an invalid colour is automatic
    std::vector<RtfListDefinition> lists;
    std::vector<RtfListOverride> listOverrides;

    // The font's family, or nothing when the table has no such font.
    const RtfFont* font(int number) const;
    // The code page of the font's text, in a run of the given class of characters.
    int codePageOf(int fontNumber, RtfCharClass charClass = RtfCharClass::None) const;
    QColor color(int index) const;
    // Indexes the lists once their tables are read.
    void indexLists();
    // The list style of \lsN at a level.
    QTextListFormat::Style listStyle(int listOverride, int level) const;

private:
    int codePageOfFont(int fontNumber) const;

    QHash<int, int> m_listOfOverride; // \ls number -> list id
    QHash<int, size_t> m_listById;    // list id -> index in lists
};
