#include "remote/RemoteMessage.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

namespace RemoteMessage {

namespace {

constexpr QByteArrayView kCommandVerb = "command ";
constexpr QByteArrayView kOpenVerb = "open ";

// Command names are short words of lower-case letters and hyphens.
bool isCommandName(const QString& name)
{
    if (name.isEmpty() || name.size() > 64)
        return false;
    for (QChar c : name) {
        if (!(c >= QLatin1Char('a') && c <= QLatin1Char('z')) && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

} // namespace

QByteArray command(const QString& name)
{
    return kCommandVerb.toByteArray() + name.toUtf8() + '\n';
}

QByteArray open(const QString& path)
{
    // A file URL: a name may hold a line feed, its encoded form never does.
    return kOpenVerb.toByteArray() +
           QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + '\n';
}

std::optional<Request> parse(QByteArrayView line)
{
    if (line.size() > kMaxLineBytes)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    if (line.startsWith(kCommandVerb)) {
        const QString name = decoder.decode(line.sliced(kCommandVerb.size()));
        if (decoder.hasError() || !isCommandName(name))
            return std::nullopt;
        return Request{Request::Kind::Command, name};
    }
    if (line.startsWith(kOpenVerb)) {
        const QUrl url =
            QUrl::fromEncoded(line.sliced(kOpenVerb.size()).toByteArray(), QUrl::StrictMode);
        if (!url.isValid() || !url.isLocalFile() || !url.host().isEmpty())
            return std::nullopt;
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isAbsolute() || path.contains(QChar(0)))
            return std::nullopt;
        return Request{Request::Kind::Open, path};
    }
    return std::nullopt;
}

} // namespace RemoteMessage
