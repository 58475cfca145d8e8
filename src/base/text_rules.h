#pragma once
// The two text rules every reader and data check shares: reading a text as an
// integer, and stripping control characters and blanks from both ends.

#include <QString>
#include <QStringView>
#include <optional>

namespace lw {

// The whole text must be an integer: optional leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x" or "0x" (either case
// of x). The value must fit a signed 32-bit integer. Anything else: no value.
std::optional<int> Read_Integer(QStringView text);

// Read_Integer with the caller's default for a text that is not an integer.
int Read_Integer_Or(QStringView text, int fallback);

// Removes leading and trailing characters with codes 0 to 32.
QString Strip(QStringView text);
// The same, as a view into text: no copy, for tests on the stripped text.
QStringView Strip_View(QStringView text);

// True when text upper-cased equals keyword (upper-case ASCII). Upper-casing
// folds only the letters a to z; the text is not stripped.
bool Upper_Equals(QStringView text, QLatin1StringView keyword);

} // namespace lw
