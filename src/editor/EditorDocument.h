#pragma once

#include <QString>

// The open transcript's state: its file, whether it changed since it was opened, saved or
// created, and the number of the current untitled document.
class EditorDocument {
public:
    static constexpr int kLastUntitledNumber = 32767;

    QString path; // "" while the document is untitled
    bool modified = false;
    int untitledNumber = 1;
    // The language's word for an untitled document, followed by one space.
    QString untitledName;

    bool isUntitled() const { return path.isEmpty(); }
    // The name an untitled document is proposed under: "Untitled 3".
    QString untitledFileName() const { return untitledName + QString::number(untitledNumber); }
    // The path, or the untitled name while there is none.
    QString shownName() const { return isUntitled() ? untitledFileName() : path; }
    // The window caption: "<editor title> - <file name or untitled name>".
    QString caption(const QString& editorTitle) const;

    // A new untitled document: the next number, no path, unchanged.
    void startUntitled();
};
