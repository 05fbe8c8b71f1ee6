#include "TestFolder.h"

#include "core/InterfaceTexts.h"
#include "core/ProgramFolder.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Files/Lang"));
}

QString TestFolder::filePath(const QString& relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}

void TestFolder::write(const QString& relative, const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    writeBytes(relative, bytes);
}

void TestFolder::writeBytes(const QString& relative, const QByteArray& bytes) const
{
    const QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void TestFolder::fillWithBundledData() const
{
    QString error;
    if (!ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), path(), &error))
        qFatal("The bundled data could not be copied: %s", qPrintable(error));
}

QByteArray TestFolder::readBytes(const QString& relative) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFolder::writeLanguage(const QString& name, const QString& prefix, int lines) const
{
    QStringList text;
    for (int i = 0; i < lines; ++i)
        text << QStringLiteral("%1%2 %3").arg(i, 3, 10, QLatin1Char('0')).arg(prefix).arg(i);
    write(QStringLiteral("Files/Lang/") + name, text);
}

QString shippedEnglish(int n)
{
    static const auto lines =
        readTextLines(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/English.lng"));
    if (!lines || n < 0 || n >= lines->size())
        return QStringLiteral("<English.lng unreadable or short>");
    return lines->at(n).mid(InterfaceTexts::kLabelLength);
}
