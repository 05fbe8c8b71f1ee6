#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QVariantMap>

class PlayerCommands;

// The MPRIS player interface over the player window's own commands: PlayPause is the toggle with
// its step back, Next and Previous are the skips, Rate moves by the speed steps, Volume is the
// slider, LoopStatus is the loop. Times are microseconds, as MPRIS counts them.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ hasMedia)
    Q_PROPERTY(bool CanGoPrevious READ hasMedia)
    Q_PROPERTY(bool CanPlay READ hasMedia)
    Q_PROPERTY(bool CanPause READ hasMedia)
    Q_PROPERTY(bool CanSeek READ hasMedia)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    // `service` is the registered object; its call context answers a call with an error.
    MprisPlayerAdaptor(PlayerCommands* player, QObject* service);

    QString playbackStatus() const;
    double rate() const;
    void setRate(double rate);
    // "Track" while the player loops; "Track" or "Playlist" starts the loop, "None" leaves it.
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    double minimumRate() const;
    double maximumRate() const;
    bool hasMedia() const;
    bool canControl() const { return true; }

    // The properties whose changes PropertiesChanged announces, by their D-Bus names.
    QVariantMap announcedProperties() const;
    // The current recording's track: a new one for every file opened.
    QDBusObjectPath trackId() const;

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

Q_SIGNALS:
    void Seeked(qlonglong position);

private:
    bool isPlaying() const;
    double durationSeconds() const;
    void moveTo(double seconds);

    PlayerCommands* m_player;
    const QDBusContext* m_calls;
    // The file the track number was given for.
    mutable QString m_trackUrl;
    mutable int m_trackNumber = 0;
};
