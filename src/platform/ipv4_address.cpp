#include "platform/ipv4_address.h"

namespace lw {

std::optional<quint32> Parse_Numeric_IPv4(QStringView text)
{
    quint32 address = 0;
    int fields = 0;
    qsizetype i = 0;
    while (true) {
        int digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && digits < 4) {
            value = value * 10 + (text[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        address = (address << 8) | quint32(value);
        ++fields;
        if (fields == 4)
            break;
        if (i >= text.size() || text[i] != u'.')
            return std::nullopt;
        ++i;
    }
    if (i != text.size())
        return std::nullopt;
    return address;
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
