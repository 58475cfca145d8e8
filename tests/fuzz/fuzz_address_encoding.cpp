// An address text that the check accepts packs to the value its parts give:
// with the row encoder of the compiler for sources and destinations, and with
// the device encoder for the converter's own address. The first byte picks the
// kind and allow_zero; the rest is the text as typed (the check sees it
// stripped, the encoders get it as the file keeps it).
#include "base/text_rules.h"
#include "image/image_codes.h"
#include "knx_access/knx_address.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t Value(const QString& part)
{
    const std::optional<int> v = lw::Read_Integer(part);
    if (!v || *v < 0)
        std::abort(); // the check accepted a part that is not a non-negative integer
    return std::uint32_t(*v);
}

// The 16-bit address the parts of an accepted text stand for.
std::uint32_t Expected(const QString& text, bool group)
{
    const lw::Address_Split s = lw::Split_Address(text, group ? QChar(u'/') : QChar(u'.'));
    if (s.count == 1)
        return Value(s.parts[0]);
    if (group) {
        if (s.count == 2)
            return Value(s.parts[0]) * 2048 + Value(s.parts[1]);
        return Value(s.parts[0]) * 2048 + Value(s.parts[1]) * 256 + Value(s.parts[2]);
    }
    // Two parts are area and device (line 0).
    if (s.count == 2)
        return Value(s.parts[0]) * 4096 + Value(s.parts[1]);
    return Value(s.parts[0]) * 4096 + Value(s.parts[1]) * 256 + Value(s.parts[2]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool group = data[0] & 1;
    const bool allowZero = data[0] & 2;
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString text = lw::Strip(typed);
    if (lw::Check_KNX_Address(text, group, allowZero) != 0)
        return 0;
    const std::uint32_t expected = Expected(text, group);
    if (expected > 0xFFFF)
        std::abort();
    if (lw::image::Encode_KNX_Address(typed, group) != expected)
        std::abort();
    // The compiler takes a destination's kind from its text: same value.
    if (lw::image::Encode_KNX_Address(typed, lw::Is_Group_Address(typed)) != expected)
        std::abort();
    // The converter's own address: individual, all-zero refused.
    if (!group && !allowZero && lw::image::Encode_Device_Address(typed) != expected)
        std::abort();
    return 0;
}
