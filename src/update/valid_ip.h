#pragma once
// Splitting a dotted address text into its four octet texts.

#include <QString>

namespace lw {

// Strips the text and splits it at its first three points, each part
// stripped (further points stay in the fourth). True when there are four
// parts and each reads as an integer from 0 to 255. The octet texts are
// handed back as far as the splitting got, also when the result is false.
bool Valid_IP(const QString& IP, QString& ip1, QString& ip2, QString& ip3, QString& ip4);

} // namespace lw
