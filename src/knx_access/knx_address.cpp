#include "knx_access/knx_address.h"

#include "base/text_rules.h"

namespace lw {

namespace {

bool In_Range(QStringView text, int low, int high, int* value = nullptr)
{
    const int v = Read_Integer_Or(text, -1);
    if (value)
        *value = v;
    return v >= low && v <= high;
}

} // namespace

Address_Parts Split_Address_Parts(QStringView text, QChar separator)
{
    Address_Parts split;
    const qsizetype first = text.indexOf(separator);
    if (first < 0) {
        split.parts[0] = text;
        return split;
    }
    split.parts[0] = Strip_View(text.left(first));
    const QStringView rest = Strip_View(text.mid(first + 1));
    const qsizetype second = rest.indexOf(separator);
    if (second < 0) {
        split.count = 2;
        split.parts[1] = rest;
        return split;
    }
    split.count = 3;
    split.parts[1] = Strip_View(rest.left(second));
    split.parts[2] = Strip_View(rest.mid(second + 1));
    return split;
}

Address_Split Split_Address(QStringView text, QChar separator)
{
    const Address_Parts parts = Split_Address_Parts(text, separator);
    Address_Split split;
    split.count = parts.count;
    for (int i = 0; i < parts.count; ++i)
        split.parts[i] = parts.parts[i].toString();
    return split;
}

bool Is_Group_Address(QStringView text)
{
    return !text.contains(u'.');
}

int Check_KNX_Address(QStringView text, bool group, bool allowZero)
{
    const QChar own = group ? QChar(u'/') : QChar(u'.');
    const QChar other = group ? QChar(u'.') : QChar(u'/');
    if (text.contains(other))
        return 1;
    const Address_Parts s = Split_Address_Parts(text, own);
    if (s.count == 1)
        return In_Range(s.parts[0], 1, 65535) ? 0 : 1;

    int a = 0, b = 0, c = 0;
    if (group) {
        if (s.count == 2)
            return In_Range(s.parts[0], 0, 31, &a) && In_Range(s.parts[1], 0, 2047, &b) && (a || b) ? 0 : 1;
        if (s.parts[2].contains(own))
            return 1;
        return In_Range(s.parts[0], 0, 31, &a) && In_Range(s.parts[1], 0, 7, &b) && In_Range(s.parts[2], 0, 255, &c)
                && (a || b || c)
            ? 0
            : 1;
    }
    if (s.count == 2) {
        // Two parts: area and device, the form the image compiler reads as area, line 0, device.
        return In_Range(s.parts[0], 0, 15, &a) && In_Range(s.parts[1], 0, 255, &c) && (allowZero || a || c) ? 0 : 1;
    }
    if (s.parts[2].contains(own))
        return 1;
    return In_Range(s.parts[0], 0, 15, &a) && In_Range(s.parts[1], 0, 15, &b) && In_Range(s.parts[2], 0, 255, &c)
            && (allowZero || a || b || c)
        ? 0
        : 1;
}

} // namespace lw
