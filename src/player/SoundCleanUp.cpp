#include "player/SoundCleanUp.h"

#include "core/InterfaceTexts.h"
#include "core/Logging.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"

SoundCleanUp::SoundCleanUp(MediaPlayer* media, const InterfaceTexts& texts, Dialogs* dialogs,
                           QWidget* owner)
    : QObject(owner), m_media(media), m_texts(texts), m_dialogs(dialogs), m_owner(owner)
{
    if (m_media)
        connect(m_media, &MediaPlayer::audioFiltersRefused, this, &SoundCleanUp::refuse);
}

void SoundCleanUp::load(const QString& path)
{
    m_path = path;
    QString error;
    const SoundFilters filters = SoundFilters::read(path, &error);
    if (!error.isEmpty())
        qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
    m_previous = SoundFilters{};
    apply(filters);
}

void SoundCleanUp::setFilters(const SoundFilters& filters)
{
    // A menu entry chosen again has moved its check mark all the same: the views follow anew.
    if (filters == m_filters) {
        Q_EMIT changed();
        return;
    }
    m_previous = m_filters;
    apply(filters);
    QString error;
    if (!m_path.isEmpty() && !m_filters.write(m_path, &error))
        qCWarning(lcSettings).noquote() << "Cannot write" << m_path << error;
}

void SoundCleanUp::change(const std::function<void(SoundFilters&)>& edit)
{
    SoundFilters filters = m_filters;
    edit(filters);
    setFilters(filters);
}

void SoundCleanUp::apply(const SoundFilters& filters)
{
    m_filters = filters;
    if (m_media)
        m_media->setAudioFilters(m_filters.chain());
    Q_EMIT changed();
}

QString SoundCleanUp::captionMark() const
{
    return m_filters.anyOn() ? m_texts.plain(Text::FilteredMark) : QString();
}

void SoundCleanUp::refuse(const QString& chain, const QString& reason)
{
    // A chain replaced before the engine answered has no settings any more to switch off.
    if (chain != m_filters.chain())
        return;
    // What the last change set is at fault; when it set nothing new (the filters met the first
    // file they were built for), all of them.
    SoundFilters faulty = m_filters.without(m_previous);
    if (!faulty.anySet())
        faulty = m_filters;
    const QStringList names = namesOf(faulty);
    setFilters(m_filters.without(faulty));
    if (m_dialogs) {
        m_dialogs->warning(
            m_owner, m_texts.plain(Text::SoundCleanUpTitle),
            m_texts.plain(Text::FilterRefused).arg(names.join(QStringLiteral(", "))) +
                QStringLiteral("\n\n") + reason);
    }
}

QStringList SoundCleanUp::namesOf(const SoundFilters& filters) const
{
    QStringList names;
    const auto add = [&](bool set, Text text) {
        if (set)
            names << StripAmpersands(m_texts.plain(text));
    };
    add(filters.channels == SoundChannels::LeftOnly, Text::LeftChannelOnly);
    add(filters.channels == SoundChannels::RightOnly, Text::RightChannelOnly);
    add(filters.channels == SoundChannels::MonoMix, Text::MonoMix);
    add(filters.highPass, Text::HighPassFilter);
    add(filters.noiseReduction, Text::NoiseReduction);
    add(filters.speechNormaliser, Text::SpeechNormaliser);
    add(filters.boostPercent > SoundFilters::kLeastBoost, Text::BoostUp);
    return names;
}
