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
    Shell, // \object, \upr: own text dropped, \result or \ud shown
};

struct RtfCharProps {
    int font = -1; // -1: the document's default font
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

struct RtfGroupState {
    RtfDestination destination = RtfDestination::Text;
    int unicodeSkip = 1; // \uc
    RtfCharProps chars;
    RtfParaProps para;
};
