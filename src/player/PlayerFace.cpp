#include "player/PlayerFace.h"

#include "core/AppState.h"
#include "platform/SkinImage.h"
#include "platform/Twips.h"
#include "player/CaptionLabel.h"
#include "player/Colours.h"
#include "player/FaceAccessibility.h"
#include "player/MediaTitle.h"
#include "player/PlayerLayout.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"
#include "player/VolumeKnob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kFadeMs = 100;
constexpr int kFadeStep = 15;
constexpr int kFadeEnd = 254;

// Tooltips show no accelerator marks.
QString padded(const QString& text)
{
    return QStringLiteral(" ") + StripAmpersands(text) + QStringLiteral(" ");
}

} // namespace

PlayerFace::PlayerFace(const AppState& state, QWidget* parent)
    : QWidget(parent), m_state(state), m_face(new QWidget(this))
{
    using namespace PlayerLayout;
    FaceAccessibility::install();
    // The face keeps its size; the window around it may be wider when the menu titles need it,
    // the sides in the face's own background colour.
    setObjectName(QStringLiteral("playerFrame"));
    Colours::fillBackground(this, QColor(QLatin1String(kFaceColour)));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    QWidget* face = m_face;
    face->setFixedSize(Twips::toPixels(kFaceWidth), Twips::toPixels(kFaceHeight));
    row->addStretch();
    row->addWidget(face);
    row->addStretch();

    auto* background = new QLabel(face);
    background->setObjectName(QStringLiteral("faceBackground"));
    background->setScaledContents(true);
    background->setPixmap(SkinImage::pixmap(imagePath(QStringLiteral("sfondo.jpg"))));
    Twips::place(background, 0, 0, kFaceWidth, kFaceHeight);

    m_displayPanel = new QLabel(face);
    m_displayPanel->setObjectName(QStringLiteral("displayPanel"));
    m_displayPanel->setScaledContents(true);
    m_displayPanel->setPixmap(SkinImage::pixmap(imagePath(QStringLiteral("display.jpg"))));
    Twips::place(m_displayPanel, kDisplay.left, kDisplay.top, kDisplay.width, kDisplay.height);

    m_progressBar = new QLabel(face);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    Colours::fillBackground(m_progressBar, QColor(240, 160, 48, 90));
    Twips::place(m_progressBar, kPosition.left, kPosition.top, 0, kPosition.height);

    const auto whiteLabel = [face]<typename Label>(const char* name, const Box& box, int points,
                                                   Qt::Alignment alignment) {
        auto* label = new Label(face);
        label->setObjectName(QLatin1String(name));
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        Colours::setText(label, Qt::white);
        label->setAlignment(alignment);
        Twips::place(label, box.left, box.top, box.width, box.height);
        return label;
    };
    m_titleLabel = whiteLabel.operator()<CaptionLabel>("titleLabel", kTitle, 14,
                                                       Qt::AlignLeft | Qt::AlignVCenter);
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->hide();
    m_positionLabel = whiteLabel.operator()<PointerLabel>("positionLabel", kPosition, 9,
                                                          Qt::AlignLeft | Qt::AlignVCenter);
    m_positionLabel->setText(QStringLiteral("0:00 / 0:00"));
    m_speedLabel = whiteLabel.operator()<QLabel>("speedLabel", kSpeed, 9, Qt::AlignCenter);
    Colours::setText(m_speedLabel, Qt::red);
    m_speedLabel->hide();
    m_volumeLabel = whiteLabel.operator()<QLabel>("volumeLabel", kVolumeText, 8, Qt::AlignCenter);
    m_volumeLabel->setText(QStringLiteral("100%"));

    const auto button = [this, face](const char* name, const Box& box, const char* normal,
                                     const char* hover, void (PlayerFace::*clicked)()) {
        auto* b = new SkinButton(face);
        b->setObjectName(QLatin1String(name));
        Twips::place(b, box.left, box.top, box.width, box.height);
        setPictures(b, normal, hover);
        connect(b, &SkinButton::clicked, this, clicked);
        return b;
    };
    m_openButton =
        button("openButton", kOpenButton, "Apri.bmp", "Apri2.bmp", &PlayerFace::openClicked);
    m_openButton->setHoverShift(QPoint(Twips::toPixels(kOpenShift), Twips::toPixels(kOpenShift)));
    // The open dialog has taken the pointer away without a move off the button.
    connect(m_openButton, &SkinButton::clicked, this, &PlayerFace::dropOpenHover);
    m_backButton =
        button("backButton", kBackButton, "bac.jpg", "bac2.jpg", &PlayerFace::backClicked);
    m_playButton =
        button("playButton", kPlayButton, "play.jpg", "play2.jpg", &PlayerFace::playClicked);
    m_stopButton =
        button("stopButton", kStopButton, "stop.jpg", "stop2.jpg", &PlayerFace::stopClicked);
    m_forwardButton =
        button("forwardButton", kForwardButton, "for.jpg", "for2.jpg", &PlayerFace::forwardClicked);
    m_recordButton =
        button("recordButton", kRecordButton, "rec.jpg", "rec2.jpg", &PlayerFace::recordClicked);
    // The keyboard starts on Play, so that Space in the player plays and pauses, as in any player,
    // rather than opening the file dialog; clicks never move it.
    m_playButton->setFocus();

    // Made after the buttons, so that Tab goes through the face from left to right.
    m_volumeKnob = new VolumeKnob(imagePath(QStringLiteral("volume-knob.png")),
                                  imagePath(QStringLiteral("volume-track.png")), face);

    m_fadeTimer.setObjectName(QStringLiteral("labelFadeTimer"));
    connect(&m_fadeTimer, &QTimer::timeout, this, &PlayerFace::stepLabelFade);
    connect(m_positionLabel, &PointerLabel::released, this, [this](Qt::MouseButton, QPoint at) {
        Q_EMIT positionClicked(Twips::fromPixels(at.x()));
    });
    connect(m_volumeKnob, &VolumeKnob::volumeChanged, this, &PlayerFace::volumeChanged);
    connect(m_volumeKnob, &VolumeKnob::touched, this, [this] { startFade(-15); });
    connect(m_volumeKnob, &VolumeKnob::trackPressed, this, [this] {
        m_fadeLevel = -15;
        Colours::setText(m_volumeLabel, Qt::red);
    });
}

QStringList PlayerFace::skinPictureNames()
{
    return {QStringLiteral("sfondo.jpg"),       QStringLiteral("display.jpg"),
            QStringLiteral("volume-track.png"), QStringLiteral("volume-knob.png"),
            QStringLiteral("play.jpg"),         QStringLiteral("stop.jpg"),
            QStringLiteral("bac.jpg"),          QStringLiteral("for.jpg"),
            QStringLiteral("rec.jpg"),          QStringLiteral("Apri.bmp"),
            QStringLiteral("vocarta.png"),      QStringLiteral("Indica.ico"),
            QStringLiteral("play2.jpg"),        QStringLiteral("pause.jpg"),
            QStringLiteral("pause2.jpg"),       QStringLiteral("stop2.jpg"),
            QStringLiteral("bac2.jpg"),         QStringLiteral("for2.jpg"),
            QStringLiteral("rec2.jpg"),         QStringLiteral("Apri2.bmp")};
}

int PlayerFace::faceWidth() const
{
    return m_face->width();
}

QPixmap PlayerFace::displayPicture() const
{
    return m_displayPanel->pixmap();
}

QString PlayerFace::imagePath(const QString& name) const
{
    return m_state.filesPath(name);
}

void PlayerFace::setPictures(SkinButton* button, const char* normal, const char* hover)
{
    button->setPictures(imagePath(QLatin1String(normal)), imagePath(QLatin1String(hover)));
}

void PlayerFace::retranslate()
{
    const InterfaceTexts& t = m_state.texts;
    m_openButton->setToolTip(padded(t.text(Text::OpenFile)));
    m_playButton->setToolTip(padded(t.text(Text::PlayPauseTip)));
    m_stopButton->setToolTip(padded(t.text(Text::StopTip)));
    m_forwardButton->setToolTip(padded(t.text(Text::SkipForwardTip)));
    m_backButton->setToolTip(padded(t.text(Text::SkipBackTip)));
    m_volumeKnob->setKnobToolTip(padded(t.text(Text::VolumeTip)));
    // What a screen reader says of each: the menu's caption, and the tip as the description.
    const auto describe = [](QWidget* widget, const QString& name, const QString& description) {
        widget->setAccessibleName(StripAmpersands(name));
        widget->setAccessibleDescription(StripAmpersands(description));
    };
    describe(m_openButton, t.text(Text::OpenFile), QString());
    describe(m_backButton, t.text(Text::SkipBack), t.text(Text::SkipBackTip));
    describe(m_playButton, t.text(m_showsPause ? Text::Pause : Text::Play),
             t.text(Text::PlayPauseTip));
    describe(m_stopButton, t.text(Text::Stop), t.text(Text::StopTip));
    describe(m_forwardButton, t.text(Text::SkipForward), t.text(Text::SkipForwardTip));
    describe(m_recordButton, t.text(Text::Record), QString());
    describe(m_volumeKnob, t.text(Text::Volume), t.text(Text::VolumeKeys));
    describe(m_progressBar, t.text(Text::Position), t.text(Text::PositionDescription));
    m_positionLabel->setAccessibleDescription(t.text(Text::PositionDescription));
}

void PlayerFace::showHandPointer()
{
    if (const auto hand = SkinImage::pointer(imagePath(QStringLiteral("Indica.ico")))) {
        for (SkinButton* b :
             {m_openButton, m_playButton, m_backButton, m_stopButton, m_forwardButton})
            b->setCursor(*hand);
    }
}

void PlayerFace::setMediaControlsEnabled(bool enabled)
{
    for (QWidget* button : {m_playButton, m_stopButton, m_forwardButton, m_backButton})
        button->setEnabled(enabled);
}

void PlayerFace::dropOpenHover()
{
    m_openButton->dropHover();
}

void PlayerFace::dropRecordHover()
{
    m_recordButton->dropHover();
}

void PlayerFace::restoreKnob(std::optional<double> knobTop)
{
    m_volumeKnob->centre();
    if (knobTop)
        m_volumeKnob->setStoredKnobTop(*knobTop);
}

void PlayerFace::setKnobValue(int value)
{
    m_volumeKnob->setValue(value);
}

void PlayerFace::moveKnobTo(int value)
{
    m_volumeKnob->moveToValue(value);
}

int PlayerFace::knobValue() const
{
    return m_volumeKnob->value();
}

double PlayerFace::knobTop() const
{
    return m_volumeKnob->knobTop();
}

void PlayerFace::showTitle(const QString& caption)
{
    m_titleLabel->setCaption(caption);
    QFont font = m_titleLabel->font();
    font.setPointSize(MediaTitle::fontPoints(m_titleLabel->caption().size()));
    m_titleLabel->setFont(font);
}

void PlayerFace::setCaption(const QString& caption)
{
    m_titleLabel->setCaption(caption);
}

void PlayerFace::showEngineMissing(const QString& text, const QString& reason)
{
    m_titleLabel->setCaption(text, reason);
    showMediaOpening();
}

void PlayerFace::showMediaOpening()
{
    m_titleLabel->show();
    m_displayPanel->show();
}

void PlayerFace::showMediaClosed()
{
    m_positionLabel->setText(QStringLiteral("0:00 / 0:00"));
    m_titleLabel->hide();
    m_progressBar->hide();
    m_displayPanel->hide();
}

void PlayerFace::showPlayState(PlayState state, bool playing)
{
    if (state == PlayState::Playing) {
        m_backButton->setEnabled(true);
        m_forwardButton->setEnabled(true);
        m_progressBar->show();
    }
    // However the state changed (a key, the smart-play cycle, the end of the media), the button
    // shows it; the pointer only decides between its normal and its hover picture.
    if (playing)
        setPictures(m_playButton, "pause.jpg", "pause2.jpg");
    else
        setPictures(m_playButton, "play.jpg", "play2.jpg");
    m_showsPause = playing;
    m_playButton->setAccessibleName(
        StripAmpersands(m_state.texts.text(playing ? Text::Pause : Text::Play)));
}

void PlayerFace::showPositionText(const QString& text)
{
    m_positionLabel->setText(text);
}

void PlayerFace::showProgress(double share)
{
    m_progressBar->resize(Twips::toPixels(std::floor(PlayerLayout::kPosition.width * share)),
                          m_progressBar->height());
}

void PlayerFace::showStartPosition(const QString& length)
{
    m_positionLabel->setText(QStringLiteral("0:00 / ") + length);
    m_progressBar->resize(0, m_progressBar->height());
}

void PlayerFace::resetPositionDisplay()
{
    m_progressBar->hide();
    m_positionLabel->move(m_progressBar->pos());
    m_positionLabel->setText(QStringLiteral("0:00 / 0:00"));
}

void PlayerFace::showSpeed(double rate)
{
    m_fadedLabel = FadedLabel::Speed;
    m_speedLabel->setText(QLocale().toString(rate, 'g', QLocale::FloatingPointShortest) +
                          QStringLiteral(" x"));
    m_speedLabel->show();
    startFade(0);
}

void PlayerFace::showVolume(int percent)
{
    m_volumeLabel->setText(QString::number(percent) + QStringLiteral("%"));
}

void PlayerFace::startFade(int level)
{
    m_fadeLevel = level;
    m_fadeTimer.start(kFadeMs);
}

void PlayerFace::stepLabelFade()
{
    m_fadeLevel += kFadeStep;
    QLabel* faded = m_fadedLabel == FadedLabel::Speed ? m_speedLabel : m_volumeLabel;
    const int level = std::clamp(m_fadeLevel, 0, 255);
    Colours::setText(faded, QColor(255, level, level));
    if (m_fadeLevel > kFadeEnd) {
        m_fadeLevel = -kFadeStep;
        m_fadeTimer.stop();
        m_fadedLabel = FadedLabel::Volume;
    }
}
