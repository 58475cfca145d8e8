#include "image/image_codes.h"

#include "knx_access/knx_address.h"
#include "shell/text_rules.h"

namespace lw::image {

namespace {

struct Named_Code {
    const char* text;     // upper-case form matched by the compiler
    const char* name;     // form shown to a reader of an image
    int code;
};

// Matching order of Priority_Code.
const Named_Code Priorities[] = {
    {"SYSTEM", "System", 0},
    {"URGENT", "Urgent", 2},
    {"NORMAL", "Normal", 1},
    {"LOW", "Low", 3},
};

// Format code n sits at index n.
const Named_Code Formats[] = {
    {"NONE", "None", 0},
    {"SWAP16", "Swap16", 1},
    {"SWAP32", "Swap32", 2},
    {"SWAP ALL", "Swap All", 3},
    {"INT TO FLOAT", "Int to Float", 4},
    {"FLOAT TO INT", "Float to Int", 5},
    {"FLOAT16 TO FLOAT32", "Float16 to Float32", 6},
    {"FLOAT16 TO INT", "Float16 to Int", 7},
    {"FLOAT16 TO INT * 10", "Float16 to Int * 10", 8},
    {"FLOAT16 TO INT * 100", "Float16 to Int * 100", 9},
};

// A part of an address text read as an integer, fallback when it is not one.
// Unsigned so that the packing wraps instead of overflowing.
std::uint32_t Part(const QString& text, int fallback)
{
    return std::uint32_t(Read_Integer_Or(text, fallback));
}

} // namespace

bool Upper_Equals(QStringView text, QLatin1StringView keyword)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    // Plain ASCII upper-cases letter by letter; other texts take the full
    // Unicode upper-casing, which may change their length.
    if (!ascii)
        return text.toString().toUpper() == keyword;
    if (text.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        if (c != keyword[i].unicode())
            return false;
    }
    return true;
}

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
    for (const Named_Code& p : Priorities) {
        if (Upper_Equals(text, QLatin1StringView(p.text)))
            return std::uint8_t(p.code);
    }
    return 1;
}

std::uint16_t Format_Code(QStringView text)
{
    for (const Named_Code& f : Formats) {
        if (Upper_Equals(text, QLatin1StringView(f.text)))
            return std::uint16_t(f.code << 12);
    }
    return 0x0000;
}

std::uint16_t Encode_KNX_Address(QStringView text, bool group)
{
    const QString stripped = Strip(text);
    const Address_Split s = Split_Address(stripped, group ? QChar(u'/') : QChar(u'.'));
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
    const QString stripped = Strip(text);
    if (!stripped.contains(u'.'))
        return std::uint16_t(Read_Integer_Or(stripped, 0x1114));
    const Address_Split s = Split_Address(stripped, u'.');
    // Two parts are area and device with line 0, as the data check and the row
    // encoder read them: the converter gets the address the user typed.
    const std::uint32_t line = s.count == 3 ? Part(s.parts[1], 1) : 0;
    const QString device = s.parts[s.count - 1];
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
