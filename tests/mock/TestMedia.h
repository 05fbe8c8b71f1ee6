#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Media files that tests write for themselves.
namespace TestMedia {

// A 16-bit mono PCM WAV holding a sine tone.
bool writeTone(const QString& path, double seconds, int sampleRate = 44100);
// A 16-bit stereo PCM WAV with the tone on the left channel and silence on the right.
bool writeLeftTone(const QString& path, double seconds, int sampleRate = 44100);
// The root mean square level of each channel of a 16-bit stereo PCM WAV.
QList<double> stereoLevels(const QString& path);
// A silent 8 kHz WAV whose samples are left as a sparse hole, so hours cost nothing.
bool writeSilence(const QString& path, double seconds);
// Bytes no decoder accepts, behind a WAV header that promises sound.
bool writeCorrupt(const QString& path);

// Encodes a WAV to MP3 with the Debian `lame` tool.
bool lameAvailable();
bool encodeMp3(const QString& wavPath, const QString& mp3Path, const QStringList& options = {});

} // namespace TestMedia
