#pragma once

#include "core/SoundFilters.h"

#include <QObject>
#include <functional>

class Dialogs;
class InterfaceTexts;
class MediaPlayer;
class QWidget;

// The sound clean-up the player applies: it holds the filters, hands their chain to the engine
// as soon as they change, keeps them in their file, and switches off what the engine refuses,
// saying so.
class SoundCleanUp : public QObject {
    Q_OBJECT
public:
    // `owner` owns the box that reports a refusal.
    SoundCleanUp(MediaPlayer* media, const InterfaceTexts& texts, Dialogs* dialogs, QWidget* owner);

    // Reads the filters from their file and applies them; a file that cannot be read leaves the
    // defaults.
    void load(const QString& path);
    const SoundFilters& filters() const { return m_filters; }
    // New filters: applied at once and kept in the file.
    void setFilters(const SoundFilters& filters);
    void change(const std::function<void(SoundFilters&)>& edit);

    // What the title line adds while the sound goes through a filter; "" otherwise.
    QString captionMark() const;

Q_SIGNALS:
    void changed();

private:
    void apply(const SoundFilters& filters);
    void refuse(const QString& chain, const QString& reason);
    // The names of the filters set in `filters`, as the menu shows them.
    QStringList namesOf(const SoundFilters& filters) const;

    MediaPlayer* m_media;
    const InterfaceTexts& m_texts;
    Dialogs* m_dialogs;
    QWidget* m_owner;
    QString m_path;
    SoundFilters m_filters;
    // The filters before the last change: what a refusal falls back towards.
    SoundFilters m_previous;
};
