#include "knx_access/memory_map.h"

#include "knx_access/knx_access_file.h"
#include "base/text_rules.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace lw {

int Memory_Map::Bytes_Free() const
{
    int total = 0;
    for (const Map_Free& run : free)
        total += run.Size();
    return total;
}

Map_Free Memory_Map::Largest_Free() const
{
    Map_Free best{0, -1};
    for (const Map_Free& run : free) {
        if (run.Size() > best.Size())
            best = run;
    }
    return best;
}

QList<int> Memory_Map::Rows_At_Byte(int byte) const
{
    QList<int> found;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].First_Byte() <= byte && rows[i].Last_Byte() >= byte)
            found.append(int(i));
    }
    return found;
}

bool Memory_Map::Overlaps_Byte(int byte) const
{
    return std::any_of(overlaps.begin(), overlaps.end(), [byte](const Map_Overlap& o) {
        return o.first_bit / 8 <= byte && o.last_bit / 8 >= byte;
    });
}

Memory_Map Build_Memory_Map(const Text_Table& table, int maxNumByte)
{
    Memory_Map map;
    map.size = maxNumByte;

    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        if (!Upper_Equals(Strip_View(table.Cell(r, Col_Enable)), QLatin1StringView("Y")))
            continue;
        Data_Placement place;
        const Check_Result result = Check_Placement(table, r, maxNumByte, &place);
        if (!result.ok) {
            map.not_placed.append({r, result});
            continue;
        }
        Map_Row row;
        row.row = r;
        row.bit_mode = !place.byte_mode;
        row.first_bit = 8 * place.position + (place.byte_mode ? 0 : place.start_bit);
        row.last_bit = row.first_bit + (place.byte_mode ? 8 * place.length : place.length) - 1;
        row.mnemonic = table.Cell(r, Col_Mnemonic);
        map.rows.append(row);
    }

    // Sweep the rows in order of their first bit: a row can only meet the rows
    // that start before its last bit.
    std::vector<int> order(map.rows.size());
    for (int i = 0; i < int(order.size()); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const Map_Row& x = map.rows[a];
        const Map_Row& y = map.rows[b];
        return std::tie(x.first_bit, x.last_bit, x.row) < std::tie(y.first_bit, y.last_bit, y.row);
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Map_Row& a = map.rows[order[i]];
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const Map_Row& b = map.rows[order[j]];
            if (b.first_bit > a.last_bit)
                break;
            if (a.first_bit == b.first_bit && a.last_bit == b.last_bit)
                continue;
            map.overlaps.append({std::min(a.row, b.row), std::max(a.row, b.row), b.first_bit,
                                 std::min(a.last_bit, b.last_bit)});
        }
    }
    std::sort(map.overlaps.begin(), map.overlaps.end(), [](const Map_Overlap& x, const Map_Overlap& y) {
        return std::tie(x.row, x.other) < std::tie(y.row, y.other);
    });

    // Equal ranges are neighbours in that order.
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i + 1;
        const Map_Row& a = map.rows[order[i]];
        Map_Shared group{{a.row}, a.first_bit, a.last_bit};
        for (; j < order.size(); ++j) {
            const Map_Row& b = map.rows[order[j]];
            if (b.first_bit != a.first_bit || b.last_bit != a.last_bit)
                break;
            group.rows.append(b.row);
        }
        if (group.rows.size() > 1) {
            std::sort(group.rows.begin(), group.rows.end());
            map.shared.append(group);
        }
        i = j;
    }

    std::vector<bool> used(std::size_t(std::max(maxNumByte, 0)), false);
    for (const Map_Row& row : map.rows) {
        for (int b = row.First_Byte(); b <= row.Last_Byte(); ++b)
            used[std::size_t(b)] = true;
    }
    for (int b = 0; b < maxNumByte;) {
        if (used[std::size_t(b)]) {
            ++b;
            continue;
        }
        int e = b;
        while (e + 1 < maxNumByte && !used[std::size_t(e + 1)])
            ++e;
        map.free.append({b, e});
        b = e + 1;
    }
    return map;
}

QString Byte_Range_Text(int firstBit, int lastBit)
{
    return QStringLiteral("bytes %1-%2").arg(firstBit / 8).arg(lastBit / 8);
}

QString Bit_Range_Text(int firstBit, int lastBit)
{
    const int base = firstBit - firstBit % 8;
    return QStringLiteral("bits %1-%2").arg(firstBit - base).arg(lastBit - base);
}

QString Not_Placed_Reason(const Map_Not_Placed& entry, const ProgramState& state)
{
    // The check's messages open with a marker and the table's tag ("!! [KNX in Write] ").
    static const QRegularExpression Tag(QStringLiteral("^!+\\s*(\\[[^\\]]*\\]\\s*)?"));
    QString text = (state.Text(entry.reason.langIndex) + entry.reason.limit).trimmed();
    text.remove(Tag);
    return text;
}

QString Map_Range_Text(int firstBit, int lastBit, const ProgramState& state)
{
    constexpr int Text_Bits = 2412;  // "bits %1-%2"
    constexpr int Text_Bytes = 2413; // "bytes %1-%2"
    QString text = state.Text(Text_Bytes).arg(firstBit / 8).arg(lastBit / 8);
    if (firstBit % 8 != 0 || lastBit % 8 != 7) {
        const int base = firstBit - firstBit % 8;
        text += QStringLiteral(", ") + state.Text(Text_Bits).arg(firstBit - base).arg(lastBit - base);
    }
    return text;
}

} // namespace lw
