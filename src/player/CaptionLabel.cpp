#include "player/CaptionLabel.h"

#include "player/MediaTitle.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

void CaptionLabel::setCaption(const QString& caption, const QString& detail)
{
    m_caption = caption;
    m_detail = detail;
    fitText();
}

QString CaptionLabel::shownText(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                shown += caption[++i];
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

void CaptionLabel::fitText()
{
    const QString shown = shownText(m_caption);
    const qsizetype noteAt = shown.lastIndexOf(MediaTitle::noteSeparator());
    const QString note = noteAt < 0 ? QString() : shown.mid(noteAt);
    const QFontMetrics metrics = fontMetrics();
    const int room = std::max(contentsRect().width() - metrics.horizontalAdvance(note), 0);
    const QString fitted =
        metrics.elidedText(shown.left(shown.size() - note.size()), Qt::ElideMiddle, room) + note;
    setText(fitted);
    QStringList tip;
    if (fitted != shown)
        tip << shown;
    if (!m_detail.isEmpty())
        tip << m_detail;
    setToolTip(tip.join(QLatin1Char('\n')));
}

void CaptionLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitText();
}

void CaptionLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitText();
}
