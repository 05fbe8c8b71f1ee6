#pragma once

#include "core/Timestamp.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

struct ImportSummary {
    int cues = 0;    // read into paragraphs
    int skipped = 0; // malformed, left out
};

// Reads SRT and WebVTT subtitles as a transcript: one paragraph per cue, its start as a
// timestamp in the chosen style, a voice ("<v Anna>") as the speaker label "Anna: ". Styling tags
// are dropped; a cue without a readable time line is left out and counted. Never fails.
namespace SubtitleImport {

// Whether the file name ends in .srt or .vtt, in any letter case.
bool isSubtitleFile(const QString& path);
// Whether the bytes open with the WebVTT signature.
bool isWebVtt(const QByteArray& data);

// Replaces the document's content, leaving nothing to undo. WebVTT when the bytes say so, else SRT.
ImportSummary read(const QByteArray& data, QTextDocument* document, Timestamp::Style style);

} // namespace SubtitleImport
