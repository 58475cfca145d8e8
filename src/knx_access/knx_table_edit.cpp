#include "knx_access/knx_table_edit.h"

#include "knx_access/knx_access_file.h"

#include <algorithm>

namespace lw {

namespace {

Cell_Range Clamped(const Text_Table& table, const Cell_Range& range)
{
    return {std::max(1, range.top), std::max(1, range.left), std::min(table.Row_Count() - 1, range.bottom),
            std::min(table.Column_Count() - 1, range.right)};
}

bool Read_Number(QStringView text, qint64& value)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 12)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

} // namespace

QList<Cell_Change> Diff_Tables(const Text_Table& before, const Text_Table& after)
{
    QList<Cell_Change> changes;
    const int rows = std::min(before.Row_Count(), after.Row_Count());
    const int columns = std::min(before.Column_Count(), after.Column_Count());
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString& a = before.Cell(r, c);
            const QString& b = after.Cell(r, c);
            if (a != b)
                changes.append({r, c, a, b});
        }
    }
    return changes;
}

Cell_Range Bounds_Of(const QList<Cell_Change>& changes)
{
    if (changes.isEmpty())
        return {};
    Cell_Range bounds{changes.front().row, changes.front().column, changes.front().row, changes.front().column};
    for (const Cell_Change& change : changes) {
        bounds.top = std::min(bounds.top, change.row);
        bounds.bottom = std::max(bounds.bottom, change.row);
        bounds.left = std::min(bounds.left, change.column);
        bounds.right = std::max(bounds.right, change.column);
    }
    return bounds;
}

void Clear_Cells(Text_Table& table, const QList<Cell_Range>& ranges)
{
    for (const Cell_Range& range : ranges)
        Fill_Cells(table, range, QString());
}

void Fill_Down(Text_Table& table, const QList<Cell_Range>& ranges)
{
    for (const Cell_Range& given : ranges) {
        const Cell_Range range = Clamped(table, given);
        for (int c = range.left; c <= range.right; ++c) {
            const QString top = table.Cell(range.top, c);
            for (int r = range.top + 1; r <= range.bottom; ++r)
                table.Set_Cell(r, c, top);
        }
    }
}

QString Next_Address(const QString& text, int step)
{
    const QString stripped = text.trimmed();
    const QChar separator = stripped.contains(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('.');
    QStringList parts = stripped.split(separator);
    if (parts.size() > 3 || parts.isEmpty())
        return {};
    for (QString& part : parts) {
        qint64 value = 0;
        if (!Read_Number(part, value))
            return {};
        part = part.trimmed();
    }
    qint64 last = 0;
    Read_Number(parts.back(), last);
    parts.back() = QString::number(last + step);
    return parts.join(separator);
}

int Row_Byte_Span(const Text_Table& table, int row)
{
    qint64 length = 0;
    if (!Read_Number(table.Cell(row, Col_Length), length) || length <= 0 || length > 100000)
        return 0;
    const QString bitMode = table.Cell(row, Col_Bit_Mode).trimmed();
    if (bitMode.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0)
        return int(length);
    qint64 startBit = 0;
    if (!Read_Number(bitMode, startBit) || startBit > 7)
        return 0;
    return int((startBit + length + 7) / 8);
}

void Fill_Series(Text_Table& table, const QList<Cell_Range>& ranges)
{
    for (const Cell_Range& given : ranges) {
        const Cell_Range range = Clamped(table, given);
        if (range.Is_Empty())
            continue;
        // The other columns first: a Position follows the Length and Bit Mode
        // of the row above as they are after the fill.
        for (int c = range.left; c <= range.right; ++c) {
            if (c == Col_Position)
                continue;
            const QString top = table.Cell(range.top, c);
            const QString next = c == Col_Destination_Address ? Next_Address(top) : QString();
            for (int r = range.top + 1; r <= range.bottom; ++r)
                table.Set_Cell(r, c, next.isEmpty() ? top : Next_Address(top, r - range.top));
        }
        if (!range.Contains(range.top, Col_Position))
            continue;
        for (int r = range.top + 1; r <= range.bottom; ++r) {
            qint64 position = 0;
            const int span = Row_Byte_Span(table, r - 1);
            if (Read_Number(table.Cell(r - 1, Col_Position), position) && span > 0)
                table.Set_Cell(r, Col_Position, QString::number(position + span));
            else
                table.Set_Cell(r, Col_Position, table.Cell(r - 1, Col_Position));
        }
    }
}

} // namespace lw
