#pragma once

#include "core/TimeMark.h"
#include "waveform/Peaks.h"

#include <QPixmap>
#include <QWidget>
#include <optional>

// The recording's peaks as a strip, one column of lowest and highest sample per pixel, with the
// playhead, the bookmarks and the transcript's timestamps over them. It shows a span of the
// recording, from the whole of it down to about a second across; while playing it turns the page
// when the playhead leaves the span, unless the user has scrolled elsewhere.
class WaveformView : public QWidget {
    Q_OBJECT
public:
    // The narrowest span shown across the strip.
    static constexpr double kNarrowestSpan = 1.0;

    explicit WaveformView(QWidget* parent = nullptr);

    // The peaks shown; not owned. Call peaksChanged() as they fill in.
    void setPeaks(const Peaks* peaks);
    void peaksChanged();
    // The recording's length, which bounds the span (the peaks may not have reached it yet).
    void setDuration(double seconds);
    double duration() const { return m_duration; }

    double firstSecond() const { return m_first; }
    double secondsAcross() const { return m_across; }
    // Shows `across` seconds from `first`, within the recording.
    void setSpan(double first, double across);
    // Narrows (factor < 1) or widens the span, keeping `around` where it is on the strip; the
    // span chosen so is kept for the next recording.
    void zoom(double factor, double around);
    // The seconds across that the user chose before, shown as far as the recording allows.
    void setChosenSpan(double across);

    void setPlayhead(double seconds);
    double playhead() const { return m_playhead; }
    // While following, the span turns to the playhead when it leaves it; scrolling by hand stops
    // following.
    void setFollowing(bool following);
    bool isFollowing() const { return m_following; }

    void setBookmarks(const TimeMarks& marks);
    void setTimestamps(const TimeMarks& marks);
    // Scaled so that the loudest peak fills the height, instead of full scale doing so.
    void setNormalised(bool normalised);
    bool isNormalised() const { return m_normalised; }
    // Shown in place of the peaks ("" for none).
    void setMessage(const QString& message);
    QString message() const { return m_message; }

    // The region dragged over, from its start to its end; none when only clicked.
    std::optional<std::pair<double, double>> selection() const { return m_selection; }
    void clearSelection();
    // The stretch the player loops, shaded; none while it does not.
    void setLoop(const std::optional<TimeSpan>& loop);

    // The time at pixel column `x`, and the column of a time.
    double secondsAt(double x) const;
    double xAt(double seconds) const;
    // The peaks drawn in pixel column `x`: every bin the column's time touches.
    PeakBin columnPeak(int x) const;

Q_SIGNALS:
    void seekRequested(double seconds);
    // A click on a timestamp's mark: the caret is to go to it.
    void timestampChosen(double seconds);
    void selectionChanged();
    void spanChanged();
    // The user zoomed: the seconds across are the ones chosen.
    void zoomed(double secondsAcross);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The peaks of the span, drawn once for each change of span, size or peaks.
    void drawPicture();
    void invalidate();
    // The mark within a few pixels of `x`, in `marks`.
    const TimeMark* markNear(const TimeMarks& marks, double x) const;
    bool inTimestampBand(double y) const;

    const Peaks* m_peaks = nullptr;
    double m_duration = 0;
    double m_first = 0;
    double m_across = 30;
    // What the user chose last; a shorter recording is shown whole.
    double m_chosenAcross = 30;
    double m_playhead = 0;
    bool m_following = true;
    bool m_normalised = false;
    TimeMarks m_bookmarks;
    TimeMarks m_timestamps;
    QString m_message;
    std::optional<std::pair<double, double>> m_selection;
    std::optional<TimeSpan> m_loop;
    std::optional<double> m_pressedAt;
    QPixmap m_picture;
    bool m_pictureValid = false;
};
