#pragma once

#include <QObject>

// What the player window tells those who show its state outside the program (the desktop's media
// controls): each signal says that a value may have changed, to be read again from the player.
class PlayerEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // Playing, paused or stopped, as the play button shows it.
    void playStateChanged();
    // A recording was opened or closed, or its length became known.
    void mediaChanged();
    // The position moved other than by playing on: a skip, the step back of a pause, a seek.
    void positionMoved();
    void rateChanged();
    void volumeChanged();
    // A loop started, ended or moved.
    void loopChanged();
};
