#include "core/InterfaceTexts.h"

#include "core/Logging.h"
#include "platform/QtTranslation.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kShortestLine = 2;
// The longest entry a file may give. The longest real one (the About text) has about 350
// characters in any language; a box or a menu lays out 4096 in no time, where a runaway entry of
// megabytes would hold every menu that shows it for seconds.
constexpr int kLongestEntry = 4096;

using Entries = std::array<QString, InterfaceTexts::kCount>;

Entries readBuiltIn()
{
    Entries texts;
    const QString path = QStringLiteral(":/builtin/English.lng");
    QString error;
    const auto lines = readTextLines(path, &error);
    if (!lines) {
        qCWarning(lcLanguage).noquote() << "Built-in texts missing:" << error;
        return texts;
    }
    const qsizetype used = std::min<qsizetype>(lines->size(), InterfaceTexts::kCount);
    for (qsizetype i = 0; i < used; ++i) {
        if (lines->at(i).size() >= kShortestLine)
            texts[i] = lines->at(i).mid(InterfaceTexts::kLabelLength);
    }
    return texts;
}

const Entries& builtIn()
{
    static const Entries texts = readBuiltIn();
    return texts;
}

} // namespace

QString InterfaceTexts::entry(int n) const
{
    if (n < 0 || n >= kCount)
        return {};
    return m_texts[n];
}

QString InterfaceTexts::builtInEntry(int n)
{
    if (n < 0 || n >= kCount)
        return {};
    return builtIn()[n];
}

QString InterfaceTexts::plain(Text id) const
{
    return StripAmpersands(text(id));
}

void InterfaceTexts::setEntry(int n, const QString& text)
{
    if (n >= 0 && n < kCount) {
        m_texts[n] = text;
        m_readFrom.clear();
    }
}

namespace {

// Why the start-up reading refuses the lines, or "".
QString faultOf(const QStringList& lines)
{
    if (lines.isEmpty())
        return QCoreApplication::translate("InterfaceTexts", "the file holds no texts");
    if (lines.size() > InterfaceTexts::kCount)
        return QCoreApplication::translate("InterfaceTexts", "more than %1 lines")
            .arg(InterfaceTexts::kCount);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).size() < kShortestLine)
            return QCoreApplication::translate("InterfaceTexts", "line %1 is too short").arg(i + 1);
        if (lines.at(i).size() > InterfaceTexts::kLabelLength + kLongestEntry)
            return QCoreApplication::translate("InterfaceTexts",
                                               "line %1 is longer than %2 characters")
                .arg(i + 1)
                .arg(kLongestEntry);
    }
    return {};
}

} // namespace

QString InterfaceTexts::checkFile(const QString& path)
{
    QString error;
    const auto lines = readUtf8TextLines(path, &error);
    return lines ? faultOf(*lines) : error;
}

QString InterfaceTexts::loadStrict(const QString& path)
{
    QString error;
    const auto lines = readUtf8TextLines(path, &error);
    if (!lines)
        return error;
    error = faultOf(*lines);
    if (!error.isEmpty())
        return error;
    m_texts = builtIn();
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const QString text = lines->at(i).mid(kLabelLength);
        if (!text.isEmpty())
            m_texts[i] = text;
    }
    m_readFrom = path;
    return {};
}

bool InterfaceTexts::load(const QString& path)
{
    const auto lines = readTextLines(path);
    if (!lines)
        return false;
    const qsizetype used = std::min<qsizetype>(lines->size(), kCount);
    for (qsizetype i = 0; i < used; ++i) {
        if (lines->at(i).size() >= kShortestLine)
            m_texts[i] = lines->at(i).mid(kLabelLength);
    }
    // Entries beyond the file's last line keep the text they had: the previous language's.
    for (qsizetype i = 0; i < kCount; ++i) {
        if (m_texts[i].isEmpty())
            m_texts[i] = builtIn()[i];
    }
    m_readFrom = path;
    return true;
}

QString StripAmpersands(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}

namespace {

// The language files that come with the program, the locale language each serves, and the name
// of Qt's own translation for it (qtbase_<name>.qm).
struct BundledLanguage {
    QStringView name;
    QLocale::Language language;
    QLatin1StringView qtLocale;
};

using namespace Qt::Literals::StringLiterals;

constexpr BundledLanguage kBundledLanguages[] = {
    {u"English", QLocale::English, "en"_L1},         {u"Italiano", QLocale::Italian, "it"_L1},
    {u"Brazilian", QLocale::Portuguese, "pt_BR"_L1}, {u"Spanish", QLocale::Spanish, "es"_L1},
    {u"Français", QLocale::French, "fr"_L1},         {u"Svenska", QLocale::Swedish, "sv"_L1},
    {u"Hungarian", QLocale::Hungarian, "hu"_L1},     {u"Russian", QLocale::Russian, "ru"_L1},
};

} // namespace

QString defaultLanguageFile(const QLocale& locale)
{
    QStringView name = u"English";
    for (const BundledLanguage& bundled : kBundledLanguages) {
        if (bundled.language == locale.language())
            name = bundled.name;
    }
    if (name == u"English" && locale.territory() == QLocale::Brazil)
        name = u"Brazilian";
    return name.toString() + QStringLiteral(".lng");
}

QString qtLocaleName(const QString& languageFile)
{
    for (const BundledLanguage& bundled : kBundledLanguages) {
        if (languageFile.compare(bundled.name.toString() + QStringLiteral(".lng"),
                                 Qt::CaseInsensitive) == 0)
            return bundled.qtLocale;
    }
    return QString();
}

void translateQtTexts(const QString& languageFile)
{
    const QString fault = QtTranslation::use(qtLocaleName(languageFile));
    if (!fault.isEmpty())
        qCWarning(lcLanguage).noquote() << "Qt's own texts stay English:" << fault;
}

bool isPlainLanguageFileName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar::Null);
}

std::optional<QString> languageFileOf(const QString& chosenPath, const QString& languageFolder)
{
    const QFileInfo chosen(chosenPath);
    const QString folder = QDir(languageFolder).canonicalPath();
    if (folder.isEmpty() || chosen.absoluteDir().canonicalPath() != folder ||
        !isPlainLanguageFileName(chosen.fileName()))
        return std::nullopt;
    return chosen.fileName();
}
