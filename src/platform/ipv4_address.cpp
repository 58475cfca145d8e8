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

} // namespace lw
