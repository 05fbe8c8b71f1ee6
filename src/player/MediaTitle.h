#pragma once

#include <QString>

// The title line of the player: the recording's name (or its full path) and its length.
namespace MediaTitle {

// The part of a path after its last separator; the whole path when it has none.
QString fileName(const QString& path);

// The caption: the shown name with every "&" doubled, " - ", and the length with ":" between
// its numbers; then the mark, when there is one, in brackets.
QString caption(const QString& path, bool fullPath, const QString& durationText,
                const QString& mark = QString());

// What separates a state the player is in (a loop) from the caption; the title line shortens
// the caption before it, never the state.
inline QString noteSeparator()
{
    return QStringLiteral("  \u00b7  ");
}

// Point size of the title for a caption of that many characters.
int fontPoints(qsizetype captionLength);

// A time text of the engine with ":" as its only separator.
QString colons(const QString& timeText);

} // namespace MediaTitle
