#pragma once

#include <QString>

namespace NumberText {

// The number at the start of a text: leading blanks skipped, an optional sign, digits and one
// "." as decimal point; reading stops at the first character that does not fit. 0 when the text
// does not start with a number.
double leadingNumber(const QString& text);

} // namespace NumberText
