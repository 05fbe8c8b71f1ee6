#pragma once

#include "core/TimeMark.h"
#include "core/WaveformCommands.h"
#include "waveform/PeakBuilder.h"
#include "waveform/WaveformOptions.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class InterfaceTexts;
class PlayerCommands;
class WaveformView;

// The waveform window: a tool window beside the player showing the current recording's sound,
// its playhead, bookmarks and transcript timestamps. A click seeks the player; a click on a
// timestamp's mark asks for the caret to go there. The peaks are built only while the window is
// shown, so a user who never opens it never decodes anything. Its options (shown, the span across,
// the normalised view) are kept in their file as they change.
class WaveformWindow : public QWidget, public WaveformCommands {
    Q_OBJECT
public:
    using MarkSource = std::function<TimeMarks()>;

    // `optionsPath` "" keeps no options.
    WaveformWindow(const InterfaceTexts& texts, PlayerCommands& player,
                   PeakBuilder::DecoderFactory decoders, const QString& cacheFolder,
                   const QString& optionsPath = QString(), QWidget* parent = nullptr);
    ~WaveformWindow() override;

    // Where the bookmarks and the timestamps are read from, again each second while shown.
    void setMarkSources(MarkSource bookmarks, MarkSource timestamps);
    void retranslate();

    // WaveformCommands
    QWidget* window() override { return this; }
    bool isWanted() const override { return m_options.shown; }
    void setWanted(bool wanted) override;

    // Peaks scaled to the loudest one, or to full scale.
    void setNormalised(bool normalised);

    WaveformView* view() const { return m_view; }
    const PeakBuilder& builder() const { return m_builder; }

Q_SIGNALS:
    // A timestamp's mark was clicked: the editor's caret is to go to it.
    void timestampChosen(double seconds);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Starts on the player's recording when it is not the one shown.
    void followMedia();
    void showPlayhead();
    void readMarks();
    void showFailure(const QString& reason);
    // Writes the options when they changed; a failure is logged.
    void saveOptions();

    const InterfaceTexts& m_texts;
    PlayerCommands& m_player;
    PeakBuilder m_builder;
    WaveformView* m_view;
    QTimer m_playheadTimer;
    QTimer m_marksTimer;
    MarkSource m_bookmarks;
    MarkSource m_timestamps;
    QString m_optionsPath;
    WaveformOptions m_options;
    WaveformOptions m_savedOptions;
    // Zooming writes the options once it has come to rest.
    QTimer m_saveTimer;
};
