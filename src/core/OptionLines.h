#pragma once

#include "core/Logging.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <utility>

// The "Name=value" lines of the small options files in the program folder, readable and editable
// by hand.
namespace OptionLines {

// The name (trimmed) and the value of a line; none for a line without "=" or without a name.
std::optional<std::pair<QString, QString>> split(const QString& line);
QString line(const QString& name, const QString& value);

// "yes", "1" or "true", and "no", "0" or "false", in any case; none for anything else.
std::optional<bool> yesOrNo(const QString& value);
QString yesOrNo(bool on);

// For an options file read through a table of fields, each with a `name`: hands every line's
// value to `read` with the field its name (in any case) belongs to.
template <typename Field, typename Read>
void readFields(const QStringList& lines, std::span<const Field> fields, Read read)
{
    for (const QString& line : lines) {
        const auto named = split(line);
        if (!named)
            continue;
        for (const Field& field : fields) {
            if (named->first.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0)
                read(field, named->second);
        }
    }
}

// One "Name=value" line per field, in the table's order.
template <typename Field, typename Value>
QStringList fieldLines(std::span<const Field> fields, Value value)
{
    QStringList result;
    for (const Field& field : fields)
        result << line(QLatin1String(field.name), value(field));
    return result;
}

// The lines of an options file; none, leaving the defaults, when it is missing or cannot be read
// (then with the reason in `error`).
std::optional<QStringList> readFile(const QString& path, QString* error);

// The options in the file, or their defaults when it cannot be read, which is logged.
template <typename Options> Options readOrLog(const QString& path)
{
    QString error;
    Options options = Options::read(path, &error);
    if (!error.isEmpty())
        qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
    return options;
}

// Writes the options to their file; a failure is logged.
template <typename Options> bool writeOrLog(const Options& options, const QString& path)
{
    QString error;
    if (options.write(path, &error))
        return true;
    qCWarning(lcSettings).noquote() << "Cannot write" << path << error;
    return false;
}

} // namespace OptionLines
