#include "spelling/SpellingLanguages.h"

#include <QFileInfo>

namespace SpellingLanguages {

namespace {

constexpr Language kLanguages[] = {
    {"en_US", "hunspell-en-us"}, {"en_GB", "hunspell-en-gb"}, {"it_IT", "hunspell-it"},
    {"pt_BR", "hunspell-pt-br"}, {"es_ES", "hunspell-es"},    {"fr_FR", "hunspell-fr"},
    {"sv_SE", "hunspell-sv"},    {"hu_HU", "hunspell-hu"},    {"ru_RU", "hunspell-ru"},
};

struct InterfaceLanguage {
    const char* file;
    const char* code;
};

constexpr InterfaceLanguage kInterfaceLanguages[] = {
    {"italiano.lng", "it_IT"},  {"brazilian.lng", "pt_BR"}, {"spanish.lng", "es_ES"},
    {"français.lng", "fr_FR"},  {"francais.lng", "fr_FR"},  {"svenska.lng", "sv_SE"},
    {"hungarian.lng", "hu_HU"}, {"russian.lng", "ru_RU"},
};

} // namespace

std::span<const Language> all()
{
    return kLanguages;
}

std::optional<Language> find(const QString& code)
{
    for (const Language& language : kLanguages) {
        if (code == QLatin1String(language.code))
            return language;
    }
    return std::nullopt;
}

QStringList systemFolders()
{
    return {QStringLiteral("/usr/share/hunspell")};
}

std::optional<Files> filesOf(const QString& code, const QStringList& folders)
{
    for (const QString& folder : folders) {
        const Files files{folder + QLatin1Char('/') + code + QLatin1String(".aff"),
                          folder + QLatin1Char('/') + code + QLatin1String(".dic")};
        if (QFileInfo(files.affix).isFile() && QFileInfo(files.words).isFile())
            return files;
    }
    return std::nullopt;
}

QStringList installed(const QStringList& folders)
{
    QStringList codes;
    for (const Language& language : kLanguages) {
        if (filesOf(QLatin1String(language.code), folders))
            codes << QLatin1String(language.code);
    }
    return codes;
}

QString forLanguageFile(const QString& languageFile, const QLocale& desktop)
{
    const QString file = languageFile.toLower();
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        if (file == QString::fromUtf8(language.file))
            return QLatin1String(language.code);
    }
    return desktop.territory() == QLocale::UnitedKingdom || desktop.territory() == QLocale::Ireland
               ? QStringLiteral("en_GB")
               : QStringLiteral("en_US");
}

QString displayName(const QString& code)
{
    const QLocale locale(code);
    QString name = locale.nativeLanguageName();
    // Qt names the two Englishes apart already; Portuguese is offered as Brazil spells it.
    if (code == QLatin1String("pt_BR"))
        name += QLatin1String(" (") + locale.nativeTerritoryName() + QLatin1Char(')');
    // A menu entry, though languages write their own names in small letters.
    return name.left(1).toUpper() + name.mid(1);
}

} // namespace SpellingLanguages
