#include "platform/os/echo.h"

namespace lw::os {

std::optional<std::uint32_t> Parse_Numeric_IPv4(std::string_view text)
{
    std::uint32_t address = 0;
    int fields = 0;
    std::size_t i = 0;
    while (true) {
        int digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        address = (address << 8) | std::uint32_t(value);
        ++fields;
        if (fields == 4)
            break;
        if (i >= text.size() || text[i] != '.')
            return std::nullopt;
        ++i;
    }
    if (i != text.size())
        return std::nullopt;
    return address;
}

} // namespace lw::os
