#include "image/image_codes.h"

#include "base/text_rules.h"
#include "knx_access/knx_address.h"
#include "knx_access/knx_vocabulary.h"

namespace lw::image {

namespace {

// A part of an address text read as an integer, fallback when it is not one.
// Unsigned so that the packing wraps instead of overflowing.
std::uint32_t Part(QStringView text, int fallback)
{
    return std::uint32_t(Read_Integer_Or(text, fallback));
}

// The first entry of table whose text equals text upper-cased; nullptr for none.
template <std::size_t N>
const KNX_Name* Find_Upper(QStringView text, const KNX_Name (&table)[N])
{
    for (const KNX_Name& entry : table) {
        if (Upper_Equals(text, entry.upper))
            return &entry;
    }
    return nullptr;
}

} // namespace

std::uint16_t APCI_Code(QStringView text)
{
    const KNX_Name* apci = Find_Upper(text, KNX_APCIs);
    return apci ? std::uint16_t(apci->code) : std::uint16_t(Read_Integer_Or(text, 0));
}

std::uint8_t Priority_Code(QStringView text)
{
    const KNX_Name* priority = Find_Upper(text, KNX_Priorities);
    return priority ? std::uint8_t(priority->code) : std::uint8_t(1); // else "Normal"
}

std::uint16_t Format_Code(QStringView text)
{
    const KNX_Name* format = Find_Upper(text, KNX_Formats);
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
    const KNX_Name* priority = KNX_Find_Code(code, KNX_Priorities);
    return priority ? QString(priority->name) : QString();
}

QString Format_Name(int code)
{
    const KNX_Name* format = KNX_Find_Code(code, KNX_Formats);
    return format ? QString(format->name) : QString();
}

QString APCI_Name(std::uint16_t apci)
{
    const KNX_Name* name = KNX_Find_Code(apci, KNX_APCIs);
    return name ? QString(name->name) : QString::number(apci);
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
