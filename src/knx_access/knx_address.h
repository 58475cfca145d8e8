#pragma once
// KNX address texts: individual addresses (area.line.device or a plain
// number) and group addresses (main/sub, main/middle/sub or a plain number).

#include <QString>
#include <QStringView>

namespace lw {

// A text split at its first one or two separators, each part stripped.
// count 1: no separator, parts[0] is the whole text as given.
// count 2: parts[0] before the first separator, parts[1] after it (no separator left in it).
// count 3: parts[0], then the rest split again at its first separator; parts[2]
//          keeps any further separators.
struct Address_Split {
    int count = 1;
    QString parts[3];
};
Address_Split Split_Address(QStringView text, QChar separator);

// The same split as views into text, without copies: what the checks and the
// image compiler use for every row.
struct Address_Parts {
    int count = 1;
    QStringView parts[3];
};
Address_Parts Split_Address_Parts(QStringView text, QChar separator);

// True when the text holds no point: a destination without a point is a group address.
bool Is_Group_Address(QStringView text);

// 0 when text is a valid address of the kind (group or individual), 1 when not.
// allowZero lets the individual address with area, line and device all 0 pass.
int Check_KNX_Address(QStringView text, bool group, bool allowZero);

} // namespace lw
