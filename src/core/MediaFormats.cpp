#include "core/MediaFormats.h"

namespace MediaFormats {

namespace {

using namespace Qt::Literals::StringLiterals;

// The first twelve are those the program always offered; phone, dictaphone and meeting
// recordings are mostly MP4 audio, AMR, 3GP, Opus or WebM.
constexpr Format kFormats[] = {
    {"avi"_L1, "video/x-msvideo"_L1},
    {"mp3"_L1, "audio/mpeg"_L1},
    {"mpg"_L1, "video/mpeg"_L1},
    {"mpeg"_L1, "video/mpeg"_L1},
    {"ogg"_L1,
     "audio/ogg;audio/x-vorbis+ogg;video/ogg;video/x-theora+ogg;audio/x-flac+ogg;audio/x-speex+ogg"_L1},
    {"ogv"_L1, "video/ogg"_L1},
    {"wav"_L1, "audio/x-wav;audio/wav"_L1},
    {"wma"_L1, "audio/x-ms-wma"_L1},
    {"wmv"_L1, "video/x-ms-wmv"_L1},
    {"ts"_L1, "video/mp2t"_L1},
    {"vob"_L1, "video/mpeg;video/x-ms-vob"_L1},
    {"flv"_L1, "video/x-flv"_L1},
    {"m4a"_L1, "audio/mp4;audio/x-m4a"_L1},
    {"m4b"_L1, "audio/x-m4b"_L1},
    {"mp4"_L1, "video/mp4"_L1},
    {"m4v"_L1, "video/mp4;video/x-m4v"_L1},
    {"mov"_L1, "video/quicktime"_L1},
    {"3gp"_L1, "video/3gpp;audio/3gpp"_L1},
    {"3g2"_L1, "video/3gpp2;audio/3gpp2"_L1},
    {"amr"_L1, "audio/AMR"_L1},
    {"aac"_L1, "audio/aac"_L1},
    {"opus"_L1, "audio/ogg;audio/x-opus+ogg"_L1},
    {"oga"_L1, "audio/ogg;audio/x-vorbis+ogg;audio/x-flac+ogg;audio/x-speex+ogg"_L1},
    {"spx"_L1, "audio/x-speex;audio/x-speex+ogg"_L1},
    {"flac"_L1, "audio/flac;audio/x-flac"_L1},
    {"webm"_L1, "video/webm;audio/webm"_L1},
    {"mkv"_L1, "video/x-matroska"_L1},
    {"mka"_L1, "audio/x-matroska"_L1},
    {"aiff"_L1, "audio/x-aiff"_L1},
    {"aif"_L1, "audio/x-aiff"_L1},
    {"aifc"_L1, "audio/x-aifc"_L1},
    {"au"_L1, "audio/basic"_L1},
    {"ac3"_L1, "audio/ac3"_L1},
    {"mp2"_L1, "audio/mp2;video/mpeg"_L1},
    {"mpga"_L1, "audio/mpeg"_L1},
    {"asf"_L1, "application/vnd.ms-asf;video/x-ms-asf"_L1},
    {"wv"_L1, "audio/x-wavpack"_L1},
    {"ape"_L1, "audio/x-ape"_L1},
    {"mts"_L1, "video/mp2t"_L1},
    {"m2ts"_L1, "video/mp2t"_L1},
};

} // namespace

std::span<const Format> formats()
{
    return kFormats;
}

QString dialogPatterns()
{
    QStringList patterns;
    for (const Format& format : kFormats)
        patterns << "*."_L1 + format.extension;
    return patterns.join(u';');
}

QStringList mimeTypes()
{
    QStringList types;
    for (const Format& format : kFormats) {
        for (const QString& type : QString(format.mimeTypes).split(u';')) {
            if (!types.contains(type))
                types << type;
        }
    }
    return types;
}

} // namespace MediaFormats
