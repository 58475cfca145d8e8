#include "knx_access/knx_clipboard.h"

#include "knx_access/knx_access_file.h"

#include <algorithm>

namespace lw {

namespace {

bool Needs_Quotes(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r' || u == u'"')
            return true;
    }
    return false;
}

bool Is_Check_Column(int column)
{
    return std::find(KNX_Check_Columns.begin(), KNX_Check_Columns.end(), column) != KNX_Check_Columns.end();
}

const QStringList& List_Items(int column)
{
    static const QStringList apci = {QStringLiteral("Read"), QStringLiteral("Write")};
    static const QStringList priority = {QStringLiteral("System"), QStringLiteral("Urgent"), QStringLiteral("Normal"),
                                         QStringLiteral("Low")};
    static const QStringList format = {QStringLiteral("None"),
                                       QStringLiteral("Swap16"),
                                       QStringLiteral("Swap32"),
                                       QStringLiteral("Swap All"),
                                       QStringLiteral("Int to Float"),
                                       QStringLiteral("Float to Int"),
                                       QStringLiteral("Float16 to Float32"),
                                       QStringLiteral("Float16 to Int"),
                                       QStringLiteral("Float16 to Int * 10"),
                                       QStringLiteral("Float16 to Int * 100")};
    static const QStringList bitMode = {QStringLiteral("No")};
    static const QStringList none;
    switch (column) {
    case Col_APCI:
        return apci;
    case Col_Priority:
        return priority;
    case Col_Format:
        return format;
    case Col_Bit_Mode:
        return bitMode;
    default:
        return none;
    }
}

} // namespace

QString Encode_Cells(const Cell_Block& block)
{
    QString out;
    for (const QStringList& row : block) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += QLatin1Char('\t');
            const QString& cell = row[c];
            if (Needs_Quotes(cell)) {
                out += QLatin1Char('"');
                for (const QChar ch : cell) {
                    if (ch == QLatin1Char('"'))
                        out += QLatin1Char('"');
                    out += ch;
                }
                out += QLatin1Char('"');
            } else {
                out += cell;
            }
        }
        out += QLatin1Char('\n');
    }
    return out;
}

Cell_Block Decode_Cells(QStringView text)
{
    Cell_Block block;
    if (text.isEmpty())
        return block;
    QStringList row;
    QString cell;
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool rowOpen = false;
    const auto endRow = [&] {
        row.append(cell);
        cell.clear();
        block.append(row);
        row.clear();
        rowOpen = false;
    };
    while (i < n) {
        rowOpen = true;
        // A cell that starts with a quote is quoted up to the quote that is
        // not doubled; anything after it up to the separator is kept as is.
        if (cell.isEmpty() && text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
        }
        while (i < n) {
            const QChar ch = text[i];
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                break;
            cell += ch;
            ++i;
        }
        if (i >= n)
            break;
        const QChar ch = text[i++];
        if (ch == QLatin1Char('\t')) {
            row.append(cell);
            cell.clear();
            continue;
        }
        if (ch == QLatin1Char('\r') && i < n && text[i] == QLatin1Char('\n'))
            ++i;
        endRow();
    }
    if (rowOpen)
        endRow();
    return block;
}

Cell_Block Cells_Of(const Text_Table& table, const Cell_Range& range)
{
    Cell_Block block;
    const int top = std::max(1, range.top);
    const int left = std::max(1, range.left);
    const int bottom = std::min(table.Row_Count() - 1, range.bottom);
    const int right = std::min(table.Column_Count() - 1, range.right);
    for (int r = top; r <= bottom; ++r) {
        QStringList row;
        row.reserve(std::max(0, right - left + 1));
        for (int c = left; c <= right; ++c)
            row.append(table.Cell(r, c));
        block.append(row);
    }
    return block;
}

QString Paste_Text_For(int column, const QString& text)
{
    if (Is_Check_Column(column)) {
        const QString t = text.trimmed();
        static const QStringList yes = {QStringLiteral("Y"), QStringLiteral("YES"), QStringLiteral("TRUE"),
                                        QStringLiteral("1"), QStringLiteral("X")};
        return yes.contains(t, Qt::CaseInsensitive) ? QStringLiteral("Y") : QStringLiteral("N");
    }
    for (const QString& item : List_Items(column)) {
        if (item.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return item;
    }
    return text;
}

Paste_Outcome Paste_Cells(Text_Table& table, int row, int column, const Cell_Block& block)
{
    Paste_Outcome outcome;
    outcome.blockRows = int(std::min<qsizetype>(block.size(), 1 << 30));
    for (const QStringList& line : block)
        outcome.blockColumns = std::max(outcome.blockColumns, int(std::min<qsizetype>(line.size(), 1 << 30)));
    row = std::max(1, row);
    column = std::max(1, column);
    const int lastRow = table.Row_Count() - 1;
    const int lastColumn = table.Column_Count() - 1;
    if (row > lastRow || column > lastColumn || outcome.blockRows == 0)
        return outcome;
    const int rows = std::min(outcome.blockRows, lastRow - row + 1);
    const int columns = std::min(outcome.blockColumns, lastColumn - column + 1);
    for (int i = 0; i < rows; ++i) {
        const QStringList& line = block[i];
        // A short line leaves the cells to its right as they are.
        const int count = std::min<qsizetype>(line.size(), columns);
        for (int k = 0; k < count; ++k)
            table.Set_Cell(row + i, column + k, Paste_Text_For(column + k, line[k]));
    }
    outcome.written = {row, column, row + rows - 1, column + columns - 1};
    return outcome;
}

void Fill_Cells(Text_Table& table, const Cell_Range& range, const QString& text)
{
    const int top = std::max(1, range.top);
    const int left = std::max(1, range.left);
    const int bottom = std::min(table.Row_Count() - 1, range.bottom);
    const int right = std::min(table.Column_Count() - 1, range.right);
    for (int c = left; c <= right; ++c) {
        const QString value = Paste_Text_For(c, text);
        for (int r = top; r <= bottom; ++r)
            table.Set_Cell(r, c, value);
    }
}

} // namespace lw
