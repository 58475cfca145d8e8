#pragma once
// Host texts for the echo client and the updater's job file: only a numeric
// dotted IPv4 address is accepted, so that no name is ever looked up.

#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace lw {

// Four decimal fields of one to three digits, each 0 to 255, joined by ".",
// nothing else (no blanks, no signs, no shortened forms). Leading zeros are
// read as decimal. Returns the address in host byte order.
std::optional<quint32> Parse_Numeric_IPv4(QStringView text);

} // namespace lw
