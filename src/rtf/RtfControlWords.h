#pragma once

#include <string_view>

// The control words the reader acts on. Any other word is ignored; one that follows \* makes the
// reader skip its group.
enum class RtfWord : unsigned char {
    Unknown,
    SkipDestination, // a group whose content is never shown
    FontTable,
    ColorTable,
    ListTable,
    ListOverrideTable,
    Pn,              // a paragraph's numbering, as simple editors write it
    Shell,           // a group whose own text is not shown but whose \result or \ud is
    ShellText,       // \result, \ud
    DocumentCharset, // \ansi, \mac, \pc, \pca: the code page in value
    AnsiCodePage,
    DefaultFont,
    Font,
    AssociatedFont, // \af
    CharClass,      // \loch, \hich, \dbch: the RtfCharClass in value
    ComplexScript,  // \rtlch, \ltrch, \fcsN: whether \af names the complex-script font
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    List,
    ListLevel,
    LevelNumberFormat,
    LevelText,
    ListId,
    ListOverride,
    ListOverrideIndex, // \ls
    ListLevelIndex,    // \ilvl
    PnBullet,
    PnBody,
    PnLevel,
    PnContinue,
    PnNumberStyle, // the QTextListFormat::Style in value
    Par,
    Pard,
    Align, // the Qt alignment in value
    Cell,
    NestTableProps,
    NestRow,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    StrikeDouble,
    FontSize,
    Foreground,
    Background,
    Hidden,
    Unicode,
    UnicodeSkip,
    Bin,
    Character, // the character in value
};

struct RtfWordInfo {
    RtfWord word = RtfWord::Unknown;
    int value = 0;
};

RtfWordInfo rtfWordInfo(std::string_view name);
