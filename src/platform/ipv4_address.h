#pragma once
// Host texts for the echo client and the updater's job file: only a numeric
// dotted IPv4 address is accepted, so that no name is ever looked up.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace lw {

// Four decimal fields of one to three digits, each 0 to 255, joined by ".",
// nothing else (no blanks, no signs, no shortened forms). Leading zeros are
// read as decimal. Returns the address in host byte order.
std::optional<quint32> Parse_Numeric_IPv4(QStringView text);

// The address of a text Parse_Numeric_IPv4 accepts, in plain dotted decimal
// ("192.168.001.010" gives "192.168.1.10"); a null text for any other text.
QString Plain_IPv4(QStringView text);

} // namespace lw
