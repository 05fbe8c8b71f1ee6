#pragma once

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextListFormat>

// The formats of a transcript as the editor makes one: plain words, a bold time, an italic
// speaker, a highlighted word and a bulleted summary.
struct TranscriptLooks {
    QTextCharFormat plain;
    QTextCharFormat time;
    QTextCharFormat speaker;
    QTextCharFormat marked;
    QTextListFormat bullets;

    TranscriptLooks()
    {
        plain.setFontFamilies({QStringLiteral("Liberation Serif")});
        plain.setFontPointSize(12);
        time = plain;
        time.setFontWeight(QFont::Bold);
        speaker = plain;
        speaker.setFontItalic(true);
        speaker.setForeground(QColor(0, 0, 160));
        marked = plain;
        marked.setBackground(QColor(255, 255, 0));
        bullets.setStyle(QTextListFormat::ListDisc);
    }
};
