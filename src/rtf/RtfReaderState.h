#pragma once

#include <QTextListFormat>

// What a group of the reader carries: where its text goes and the character and paragraph
// properties in force. Each group starts with a copy of its parent's.

enum class RtfDestination : unsigned char {
    Text,
    Skip,
    FontTable,
    ColorTable,
    ListTable,
    LevelText, // a list level's text: its bullet
    ListOverrideTable,
    Pn,
    NestTableProps, // a nested table's row: only its end, \nestrow, matters
    Shell,          // \object, \upr: own text dropped, \result or \ud shown
};

struct RtfCharProps {
    int font = -1; // the font the text is shown in and decoded with; -1: the document's default
    int halfPoints = 24;
    int foreground = 0; // colour table index; 0 is automatic
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;

    bool operator==(const RtfCharProps&) const = default;
};

enum class RtfListSource : unsigned char {
    None,
    Pn,    // {\*\pn ...}: simple editors
    Table, // \lsN \ilvlN against the list tables: word processors
};

struct RtfParaProps {
    int alignment = Qt::AlignLeft;
    RtfListSource list = RtfListSource::None;
    int level = 0;
    int listOverride = 0; // \ls
    bool pnBullet = false;
    int pnNumberStyle = QTextListFormat::ListDecimal;
};

// Word in an East Asian locale gives each class of character a font of its own: \loch, \hich or
// \dbch names the class of the text that follows, \af the font of the class named last, and \f
// the font of the text, which is also that of the class named last.
enum class RtfCharClass : unsigned char { None, Low, High, Double };

struct RtfFontSelection {
    static constexpr int kUnset = -2;

    int plain = -1; // \f
    int classFont[4] = {kUnset, kUnset, kUnset, kUnset};
    RtfCharClass charClass = RtfCharClass::None;
    bool complexScript = false; // after \rtlch or \fcs1, \af names the complex-script font

    int font() const
    {
        const int chosen = classFont[int(charClass)];
        return chosen == kUnset ? plain : chosen;
    }
};

struct RtfGroupState {
    RtfDestination destination = RtfDestination::Text;
    int unicodeSkip = 1; // \uc
    RtfCharProps chars;
    RtfParaProps para;
    RtfFontSelection fonts;
};
