#pragma once

#include "platform/SoundDecoder.h"

#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

// SoundDecoder on FFmpeg's libraries: any format they read, converted to interleaved floats.
class FfmpegSoundDecoder : public SoundDecoder {
public:
    FfmpegSoundDecoder();
    ~FfmpegSoundDecoder() override;
    FfmpegSoundDecoder(const FfmpegSoundDecoder&) = delete;
    FfmpegSoundDecoder& operator=(const FfmpegSoundDecoder&) = delete;

    [[nodiscard]] bool open(const QString& path, QString* error) override;
    Format format() const override { return m_format; }
    [[nodiscard]] bool seek(double seconds) override;
    [[nodiscard]] bool next(Block* block, QString* error) override;

private:
    void close();
    // Points m_planes at the frame just received, converting it into m_samples unless it is
    // planar floats already; false for a sample format it cannot read.
    bool takeFrame();
    qint64 frameIndexOf(qint64 timestamp) const;

    AVFormatContext* m_container = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;
    Format m_format;
    std::vector<float> m_samples;
    std::vector<const float*> m_planes;
    // Where the next block starts: counted from the start, or taken from the first timestamp
    // after a seek.
    qint64 m_nextFrame = 0;
    bool m_afterSeek = false;
    bool m_draining = false;
};
