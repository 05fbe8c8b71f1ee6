#include "spelling/SpellingOptions.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

namespace {

const QString kCheckSpelling = QStringLiteral("CheckSpelling");
const QString kDocument = QStringLiteral("Document");

} // namespace

QString SpellingOptions::languageOf(const QString& documentPath) const
{
    for (const DocumentLanguage& document : m_documents) {
        if (document.path == documentPath)
            return document.code;
    }
    return QString();
}

void SpellingOptions::setLanguageOf(const QString& documentPath, const QString& code)
{
    if (documentPath.isEmpty())
        return;
    m_documents.removeIf([&documentPath](const DocumentLanguage& document) {
        return document.path == documentPath;
    });
    m_documents.prepend({code, documentPath});
    if (m_documents.size() > kDocumentsKept)
        m_documents.resize(kDocumentsKept);
}

SpellingOptions SpellingOptions::parse(const QStringList& lines)
{
    SpellingOptions options;
    for (const QString& line : lines) {
        const auto named = OptionLines::split(line);
        if (!named)
            continue;
        if (named->first.compare(kCheckSpelling, Qt::CaseInsensitive) == 0) {
            options.checkSpelling =
                OptionLines::yesOrNo(named->second).value_or(options.checkSpelling);
        } else if (named->first.compare(kDocument, Qt::CaseInsensitive) == 0) {
            const qsizetype bar = named->second.indexOf(u'|');
            if (bar > 0 && bar + 1 < named->second.size() &&
                options.m_documents.size() < kDocumentsKept)
                options.m_documents.append(
                    {named->second.left(bar).trimmed(), named->second.mid(bar + 1)});
        }
    }
    return options;
}

QStringList SpellingOptions::lines() const
{
    QStringList result{OptionLines::line(kCheckSpelling, OptionLines::yesOrNo(checkSpelling))};
    for (const DocumentLanguage& document : m_documents)
        result << OptionLines::line(kDocument, document.code + u'|' + document.path);
    return result;
}

SpellingOptions SpellingOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : SpellingOptions{};
}

bool SpellingOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
