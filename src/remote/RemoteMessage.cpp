#include "remote/RemoteMessage.h"

#include <QFileInfo>
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

// Both verbs carry printable text alone: a name holding a line feed or a tab travels encoded.
bool isPrintableUtf8(QByteArrayView line)
{
    for (char c : line) {
        if (uchar(c) < 0x20 || uchar(c) == 0x7f)
            return false;
    }
    // Bytes that are not UTF-8, a sequence cut short at the end among them, come back otherwise.
    return QString::fromUtf8(line).toUtf8() == line;
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
    if (line.size() > kMaxLineBytes || !isPrintableUtf8(line))
        return std::nullopt;
    if (line.startsWith(kCommandVerb)) {
        const QString name = QString::fromUtf8(line.sliced(kCommandVerb.size()));
        if (!isCommandName(name))
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
