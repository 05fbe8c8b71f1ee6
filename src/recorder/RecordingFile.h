#pragma once

#include <QString>

namespace RecordingFile {

// The first of "<folder>/Rec 01.wav", "Rec 02.wav", ... "Rec 10.wav", ... that does not exist.
QString defaultPath(const QString& folder);

// Whether two paths name the same file: as written, or through links and relative parts.
bool sameFile(const QString& a, const QString& b);

} // namespace RecordingFile
