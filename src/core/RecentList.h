#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The four most recently used files, newest first. A free slot holds its placeholder caption
// ("<prefix>1" .. "<prefix>4"); any caption beginning with the prefix counts as free.
class RecentList {
public:
    static constexpr int kSize = 4;

    explicit RecentList(QString placeholderPrefix = QStringLiteral("mnuRecent"));

    QString caption(int index) const { return m_captions.at(index); }
    bool isUsed(int index) const;
    bool anyUsed() const;

    // Puts the path first: an entry already holding it moves up, otherwise the oldest is
    // dropped. Paths compare exactly, letter case included. A path with a line break cannot be
    // a line of the list file: it is not taken (false).
    bool touch(const QString& path);

    // Takes the non-empty lines of a list file; returns whether any line was taken.
    bool takeLines(const QStringList& lines);
    QStringList lines() const;

    bool load(const QString& path);
    // False when the file cannot be written, with the reason in error.
    [[nodiscard]] bool save(const QString& path, QString* error = nullptr) const;

private:
    QString m_prefix;
    std::array<QString, kSize> m_captions;
};
