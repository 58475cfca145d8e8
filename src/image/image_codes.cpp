#include "image/image_codes.h"

#include "base/text_rules.h"
#include "knx_access/knx_address.h"

namespace lw::image {

namespace {

struct Named_Code {
    QLatin1StringView text;  // upper-case form matched by the compiler
    const char* name;        // form shown to a reader of an image
    int code;
};

// Matching order of Priority_Code.
const Named_Code Priorities[] = {
    {QLatin1StringView("SYSTEM"), "System", 0},
    {QLatin1StringView("URGENT"), "Urgent", 2},
    {QLatin1StringView("NORMAL"), "Normal", 1},
    {QLatin1StringView("LOW"), "Low", 3},
};

// Format code n sits at index n.
const Named_Code Formats[] = {
    {QLatin1StringView("NONE"), "None", 0},
    {QLatin1StringView("SWAP16"), "Swap16", 1},
    {QLatin1StringView("SWAP32"), "Swap32", 2},
    {QLatin1StringView("SWAP ALL"), "Swap All", 3},
    {QLatin1StringView("INT TO FLOAT"), "Int to Float", 4},
    {QLatin1StringView("FLOAT TO INT"), "Float to Int", 5},
    {QLatin1StringView("FLOAT16 TO FLOAT32"), "Float16 to Float32", 6},
    {QLatin1StringView("FLOAT16 TO INT"), "Float16 to Int", 7},
    {QLatin1StringView("FLOAT16 TO INT * 10"), "Float16 to Int * 10", 8},
    {QLatin1StringView("FLOAT16 TO INT * 100"), "Float16 to Int * 100", 9},
};

// A part of an address text read as an integer, fallback when it is not one.
// Unsigned so that the packing wraps instead of overflowing.
std::uint32_t Part(QStringView text, int fallback)
{
    return std::uint32_t(Read_Integer_Or(text, fallback));
}

// The first entry of table whose text equals text upper-cased; nullptr for none.
template <std::size_t N>
const Named_Code* Find_Upper(QStringView text, const Named_Code (&table)[N])
{
    for (const Named_Code& entry : table) {
        if (Upper_Equals(text, entry.text))
            return &entry;
    }
    return nullptr;
}

} // namespace

std::uint16_t APCI_Code(QStringView text)
{
    if (Upper_Equals(text, QLatin1StringView("WRITE")))
        return 0x0080;
    if (Upper_Equals(text, QLatin1StringView("READ")))
        return 0x0000;
    return std::uint16_t(Read_Integer_Or(text, 0));
}

std::uint8_t Priority_Code(QStringView text)
{
    const Named_Code* priority = Find_Upper(text, Priorities);
    return priority ? std::uint8_t(priority->code) : 1;
}

std::uint16_t Format_Code(QStringView text)
{
    const Named_Code* format = Find_Upper(text, Formats);
    return format ? std::uint16_t(format->code << 12) : 0x0000;
}

std::uint16_t Encode_KNX_Address(QStringView text, bool group)
{
    const Address_Parts s = Split_Address_Parts(Strip_View(text), group ? QChar(u'/') : QChar(u'.'));
    if (s.count == 1)
        return std::uint16_t(Part(s.parts[0], 0));
    if (group) {
        const std::uint32_t main = Part(s.parts[0], 0);
        if (s.count == 2)
            return std::uint16_t((main & 0x1F) * 2048 + (Part(s.parts[1], 0) & 0x7FF));
        return std::uint16_t((main & 0x1F) * 2048 + (Part(s.parts[1], 0) & 0x07) * 256 + (Part(s.parts[2], 0) & 0xFF));
    }
    // Two parts: no line, the rest is the device.
    const std::uint32_t area = Part(s.parts[0], 0);
    const std::uint32_t line = s.count == 3 ? Part(s.parts[1], 0) : 0;
    const std::uint32_t device = Part(s.parts[s.count - 1], 0);
    return std::uint16_t((area & 0x0F) * 4096 + (line & 0x0F) * 256 + (device & 0xFF));
}

std::uint16_t Encode_Device_Address(QStringView text)
{
    // Stripped like every other address text: the settings file keeps the
    // address as typed, blanks included, and the data check accepted it stripped.
    const QStringView stripped = Strip_View(text);
    if (!stripped.contains(u'.'))
        return std::uint16_t(Read_Integer_Or(stripped, 0x1114));
    const Address_Parts s = Split_Address_Parts(stripped, u'.');
    // Two parts are area and device with line 0, as the data check and the row
    // encoder read them: the converter gets the address the user typed.
    const std::uint32_t line = s.count == 3 ? Part(s.parts[1], 1) : 0;
    const QStringView device = s.parts[s.count - 1];
    return std::uint16_t(Part(s.parts[0], 1) * 4096 + line * 256 + Part(device, 20));
}

QString Priority_Name(int code)
{
    for (const Named_Code& p : Priorities) {
        if (p.code == code)
            return QLatin1String(p.name);
    }
    return {};
}

QString Format_Name(int code)
{
    if (code < 0 || code >= int(std::size(Formats)))
        return {};
    return QLatin1String(Formats[code].name);
}

QString APCI_Name(std::uint16_t apci)
{
    if (apci == 0x0080)
        return QStringLiteral("Write");
    if (apci == 0x0000)
        return QStringLiteral("Read");
    return QString::number(apci);
}

QString Individual_Address_Text(std::uint16_t value)
{
    return QStringLiteral("%1.%2.%3").arg(value >> 12).arg((value >> 8) & 0x0F).arg(value & 0xFF);
}

QString Group_Address_Text(std::uint16_t value)
{
    return QStringLiteral("%1/%2/%3").arg(value >> 11).arg((value >> 8) & 0x07).arg(value & 0xFF);
}

} // namespace lw::image
