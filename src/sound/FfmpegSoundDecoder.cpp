#include "sound/FfmpegSoundDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

#include <algorithm>
#include <cmath>

namespace {

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

template <typename Sample> float toFloat(Sample value)
{
    if constexpr (std::is_same_v<Sample, quint8>)
        return (int(value) - 128) / 128.0f;
    else if constexpr (std::is_same_v<Sample, qint16>)
        return value / 32768.0f;
    else if constexpr (std::is_same_v<Sample, qint32>)
        return float(value / 2147483648.0);
    else
        return float(value);
}

// Converts one frame's samples of type Sample into a plane per channel in `out`.
template <typename Sample> void convert(const AVFrame* frame, int channels, bool planar, float* out)
{
    const int frames = frame->nb_samples;
    for (int c = 0; c < channels; ++c) {
        const auto* in = reinterpret_cast<const Sample*>(frame->extended_data[planar ? c : 0]);
        float* plane = out + size_t(c) * size_t(frames);
        if (planar) {
            for (int i = 0; i < frames; ++i)
                plane[i] = toFloat(in[i]);
        } else {
            for (int i = 0; i < frames; ++i)
                plane[i] = toFloat(in[i * channels + c]);
        }
    }
}

} // namespace

FfmpegSoundDecoder::FfmpegSoundDecoder() = default;

FfmpegSoundDecoder::~FfmpegSoundDecoder()
{
    close();
}

void FfmpegSoundDecoder::close()
{
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_container);
    m_stream = -1;
}

bool FfmpegSoundDecoder::open(const QString& path, QString* error)
{
    close();
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        close();
        return false;
    };
    av_log_set_level(AV_LOG_QUIET);
    int result = avformat_open_input(&m_container, path.toUtf8().constData(), nullptr, nullptr);
    if (result < 0)
        return fail(errorText(result));
    result = avformat_find_stream_info(m_container, nullptr);
    if (result < 0)
        return fail(errorText(result));
    const AVCodec* decoder = nullptr;
    m_stream = av_find_best_stream(m_container, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (m_stream < 0)
        return fail(errorText(m_stream));
    const AVStream* stream = m_container->streams[m_stream];
    m_codec = avcodec_alloc_context3(decoder);
    if (!m_codec)
        return fail(errorText(AVERROR(ENOMEM)));
    result = avcodec_parameters_to_context(m_codec, stream->codecpar);
    if (result >= 0)
        result = avcodec_open2(m_codec, decoder, nullptr);
    if (result < 0)
        return fail(errorText(result));
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame)
        return fail(errorText(AVERROR(ENOMEM)));
    // Every other stream's packets would only be read and dropped.
    for (unsigned i = 0; i < m_container->nb_streams; ++i) {
        if (int(i) != m_stream)
            m_container->streams[i]->discard = AVDISCARD_ALL;
    }

    m_format.sampleRate = m_codec->sample_rate;
    m_format.channels = m_codec->ch_layout.nb_channels;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        m_format.durationSeconds = stream->duration * av_q2d(stream->time_base);
    else if (m_container->duration > 0)
        m_format.durationSeconds = double(m_container->duration) / AV_TIME_BASE;
    if (m_format.sampleRate <= 0 || m_format.channels <= 0)
        return fail(errorText(AVERROR_INVALIDDATA));
    m_nextFrame = 0;
    m_afterSeek = false;
    m_draining = false;
    return true;
}

qint64 FfmpegSoundDecoder::frameIndexOf(qint64 timestamp) const
{
    const AVStream* stream = m_container->streams[m_stream];
    if (stream->start_time != AV_NOPTS_VALUE)
        timestamp -= stream->start_time;
    return std::max<qint64>(
        0, std::llround(timestamp * av_q2d(stream->time_base) * m_format.sampleRate));
}

bool FfmpegSoundDecoder::seek(double seconds)
{
    if (!m_container)
        return false;
    const AVStream* stream = m_container->streams[m_stream];
    qint64 target = std::llround(seconds / av_q2d(stream->time_base));
    if (stream->start_time != AV_NOPTS_VALUE)
        target += stream->start_time;
    if (av_seek_frame(m_container, m_stream, target, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(m_codec);
    m_afterSeek = true;
    m_draining = false;
    m_nextFrame = std::llround(seconds * m_format.sampleRate);
    return true;
}

bool FfmpegSoundDecoder::takeFrame()
{
    const int channels = std::min(m_frame->ch_layout.nb_channels, m_format.channels);
    if (channels <= 0)
        return false;
    const int frames = m_frame->nb_samples;
    const auto sampleFormat = AVSampleFormat(m_frame->format);
    m_planes.resize(size_t(channels));
    // The usual decoders' own output needs no copy.
    if (sampleFormat == AV_SAMPLE_FMT_FLTP) {
        for (int c = 0; c < channels; ++c)
            m_planes[size_t(c)] = reinterpret_cast<const float*>(m_frame->extended_data[c]);
        return true;
    }
    m_samples.resize(size_t(frames) * size_t(channels));
    float* out = m_samples.data();
    for (int c = 0; c < channels; ++c)
        m_planes[size_t(c)] = out + size_t(c) * size_t(frames);
    const bool planar = av_sample_fmt_is_planar(sampleFormat);
    switch (av_get_packed_sample_fmt(sampleFormat)) {
    case AV_SAMPLE_FMT_U8:
        convert<quint8>(m_frame, channels, planar, out);
        return true;
    case AV_SAMPLE_FMT_S16:
        convert<qint16>(m_frame, channels, planar, out);
        return true;
    case AV_SAMPLE_FMT_S32:
        convert<qint32>(m_frame, channels, planar, out);
        return true;
    case AV_SAMPLE_FMT_FLT:
        convert<float>(m_frame, channels, planar, out);
        return true;
    case AV_SAMPLE_FMT_DBL:
        convert<double>(m_frame, channels, planar, out);
        return true;
    default:
        return false;
    }
}

bool FfmpegSoundDecoder::next(Block* block, QString* error)
{
    if (error)
        error->clear();
    if (!m_codec)
        return false;
    // The last block may point into the frame: it is let go only now.
    av_frame_unref(m_frame);
    for (;;) {
        int result = avcodec_receive_frame(m_codec, m_frame);
        if (result == 0) {
            if (m_afterSeek && m_frame->best_effort_timestamp != AV_NOPTS_VALUE)
                m_nextFrame = frameIndexOf(m_frame->best_effort_timestamp);
            m_afterSeek = false;
            if (!takeFrame()) {
                if (error)
                    *error = errorText(AVERROR_PATCHWELCOME);
                return false;
            }
            block->firstFrame = m_nextFrame;
            block->frames = m_frame->nb_samples;
            block->channels = int(m_planes.size());
            block->planes = m_planes.data();
            m_nextFrame += m_frame->nb_samples;
            return true;
        }
        if (result == AVERROR_EOF)
            return false;
        if (result != AVERROR(EAGAIN)) {
            if (error)
                *error = errorText(result);
            return false;
        }
        if (m_draining)
            return false;
        result = av_read_frame(m_container, m_packet);
        if (result == AVERROR_EOF) {
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (result < 0) {
            if (error)
                *error = errorText(result);
            return false;
        }
        if (m_packet->stream_index == m_stream) {
            result = avcodec_send_packet(m_codec, m_packet);
            // A damaged packet is skipped, as a player would.
            if (result < 0 && result != AVERROR(EAGAIN) && result != AVERROR_INVALIDDATA) {
                av_packet_unref(m_packet);
                if (error)
                    *error = errorText(result);
                return false;
            }
        }
        av_packet_unref(m_packet);
    }
}
