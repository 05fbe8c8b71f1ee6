#pragma once

#include <QString>
#include <QStringList>
#include <array>

class InterfaceTexts;

// A text that Ctrl+1 ... Ctrl+9 write at the caret of the transcript, such as a speaker's label.
struct Snippet {
    QString text;
    // Begins a paragraph of its own.
    bool newParagraph = false;
    // The player's position as a timestamp comes first.
    bool timestamp = false;

    bool operator==(const Snippet&) const = default;
};

// The nine snippets, kept in "Files/Snippets.ini" once the user has changed them: three lines
// each, the text taken as written after "=" (its spaces count):
//
//   Text1=INTERVIEWER:
//   NewParagraph1=yes
//   Timestamp1=no
struct Snippets {
    static constexpr int kCount = 9;
    std::array<Snippet, kCount> slots;

    bool operator==(const Snippets&) const = default;

    static constexpr char kFileName[] = "Snippets.ini";

    // Before the user changes them: the two speaker labels of the interface's language, each
    // beginning a paragraph.
    static Snippets defaults(const InterfaceTexts& texts);

    static Snippets parse(const QStringList& lines);
    QStringList lines() const;
};
