#include "platform/ipv4_address.h"

#include "platform/os/echo.h"

namespace lw {

std::optional<quint32> Parse_Numeric_IPv4(QStringView text)
{
    // Only ASCII digits and points can make an address.
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
    }
    const QByteArray ascii = text.toLatin1();
    return os::Parse_Numeric_IPv4(std::string_view(ascii.constData(), size_t(ascii.size())));
}

QString Plain_IPv4(QStringView text)
{
    const std::optional<quint32> address = Parse_Numeric_IPv4(text);
    if (!address)
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(*address >> 24)
        .arg((*address >> 16) & 0xFF)
        .arg((*address >> 8) & 0xFF)
        .arg(*address & 0xFF);
}

} // namespace lw
