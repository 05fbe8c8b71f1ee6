#pragma once

#include "core/PlayState.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <optional>

class CaptionLabel;
class PointerLabel;
class QLabel;
class SkinButton;
class VolumeKnob;
struct AppState;

// The player's skinned face: buttons, display panel, title, progress bar, position text, volume
// knob and speed text. It shows what the window tells it and reports the user's clicks.
class PlayerFace : public QWidget {
    Q_OBJECT
public:
    explicit PlayerFace(const AppState& state, QWidget* parent = nullptr);

    // The skin's picture files, those the face shows first at the head of the list.
    static QStringList skinPictureNames();
    // The face alone, without the side bands that a wider window adds.
    int faceWidth() const;
    // The display panel's picture, the background of the value dialogs.
    QPixmap displayPicture() const;

    // Tooltips from the interface text table.
    void retranslate();
    // The skin's hand pointer over the transport buttons.
    void showHandPointer();
    void setMediaControlsEnabled(bool enabled);
    // Hover pictures left behind when a window opens over the button.
    void dropOpenHover();
    void dropRecordHover();

    // The knob where it was left, or in the middle of its track.
    void restoreKnob(std::optional<double> knobTop);
    void setKnobValue(int value);
    // Moves the knob to the value, as a drag would.
    void moveKnobTo(int value);
    int knobValue() const;
    double knobTop() const;

    // A title in a size its length fits.
    void showTitle(const QString& caption);
    void setCaption(const QString& caption);
    // Nothing will play: the title line says so, the reason in its tooltip.
    void showEngineMissing(const QString& text, const QString& reason);
    void showMediaOpening();
    void showMediaClosed();
    void showPlayState(PlayState state, bool playing);
    void showPositionText(const QString& text);
    // The progress bar filled to `share` of the length.
    void showProgress(double share);
    // "0:00 / <length>" and an empty progress bar.
    void showStartPosition(const QString& length);
    void resetPositionDisplay();
    // The speed text, red, fading to white.
    void showSpeed(double rate);
    void showVolume(int percent);
    // The fade timer's step: the speed or volume text turns from red back to white.
    void stepLabelFade();

Q_SIGNALS:
    void openClicked();
    void backClicked();
    void playClicked();
    void stopClicked();
    void forwardClicked();
    void recordClicked();
    // A click on the position text, `x` twips from its left.
    void positionClicked(double x);
    // The user moved the knob.
    void volumeChanged();

private:
    // Which text the fade works on.
    enum class FadedLabel { Volume, Speed };

    QString imagePath(const QString& name) const;
    // Gives the button its picture files, by their names in Files/.
    void setPictures(SkinButton* button, const char* normal, const char* hover);
    void startFade(int level);

    const AppState& m_state;
    QWidget* m_face;
    SkinButton* m_openButton = nullptr;
    SkinButton* m_backButton = nullptr;
    SkinButton* m_playButton = nullptr;
    SkinButton* m_stopButton = nullptr;
    SkinButton* m_forwardButton = nullptr;
    SkinButton* m_recordButton = nullptr;
    QLabel* m_displayPanel = nullptr;
    CaptionLabel* m_titleLabel = nullptr;
    QLabel* m_progressBar = nullptr;
    PointerLabel* m_positionLabel = nullptr;
    VolumeKnob* m_volumeKnob = nullptr;
    QLabel* m_volumeLabel = nullptr;
    QLabel* m_speedLabel = nullptr;

    QTimer m_fadeTimer{this};
    // Green and blue of the faded text: below 0 at rest, 255 when white again.
    bool m_showsPause = false;
    int m_fadeLevel = -15;
    FadedLabel m_fadedLabel = FadedLabel::Volume;
};
