#include "spelling/SpellChecker.h"

#include <QFile>
#include <QFileInfo>
#include <hunspell.hxx>

SpellChecker::~SpellChecker() = default;

std::unique_ptr<SpellChecker> SpellChecker::load(const QString& affixPath, const QString& wordsPath,
                                                 QString* error)
{
    // Hunspell says nothing of files it cannot read: it just knows no word.
    for (const QString& path : {affixPath, wordsPath}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = path + QLatin1String(": ") + file.errorString();
            return nullptr;
        }
    }
    std::unique_ptr<SpellChecker> checker(new SpellChecker);
    checker->m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(affixPath).constData(),
                                                     QFile::encodeName(wordsPath).constData());
    const QByteArray encoding = QByteArray::fromStdString(checker->m_hunspell->get_dict_encoding());
    checker->m_encoder = QStringEncoder(encoding.constData());
    checker->m_decoder = QStringDecoder(encoding.constData());
    if (!checker->m_encoder.isValid() || !checker->m_decoder.isValid()) {
        if (error)
            *error = affixPath + QLatin1String(": ") + QString::fromLatin1(encoding);
        return nullptr;
    }
    return checker;
}

std::string SpellChecker::encoded(const QString& word)
{
    return QByteArray(m_encoder.encode(word)).toStdString();
}

bool SpellChecker::isCorrect(const QString& word)
{
    return m_hunspell->spell(encoded(word));
}

QStringList SpellChecker::suggestions(const QString& word, int count)
{
    QStringList result;
    for (const std::string& guess : m_hunspell->suggest(encoded(word))) {
        if (result.size() >= count)
            break;
        result << m_decoder.decode(QByteArrayView(guess.data(), qsizetype(guess.size())));
    }
    return result;
}

void SpellChecker::add(const QString& word)
{
    m_hunspell->add(encoded(word));
}
