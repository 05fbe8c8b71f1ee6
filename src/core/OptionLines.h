#pragma once

#include <QString>
#include <QStringList>
#include <optional>
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

// The lines of an options file; none, leaving the defaults, when it is missing or cannot be read
// (then with the reason in `error`).
std::optional<QStringList> readFile(const QString& path, QString* error);

} // namespace OptionLines
