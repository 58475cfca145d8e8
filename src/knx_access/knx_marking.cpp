#include "knx_access/knx_marking.h"

#include "knx_access/knx_access_file.h"
#include "base/text_rules.h"

#include <QHash>
#include <algorithm>

namespace lw {

namespace {

bool Is_Check_Column(int column)
{
    return std::find(KNX_Check_Columns.begin(), KNX_Check_Columns.end(), column) != KNX_Check_Columns.end();
}

} // namespace

bool KNX_Marks::operator==(const KNX_Marks& other) const
{
    return endRow == other.endRow && failures == other.failures && failColumn == other.failColumn
        && sameDestination == other.sameDestination;
}

int Table_End_Row(const Text_Table& table)
{
    for (int r = 1; r < table.Row_Count(); ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            return r;
    }
    return table.Row_Count();
}

bool Row_Has_Content(const Text_Table& table, int row)
{
    for (int c = 1; c < table.Column_Count(); ++c) {
        if (!Is_Check_Column(c) && !Strip_View(table.Cell(row, c)).isEmpty())
            return true;
    }
    return false;
}

int Row_Losing_Rows_Below(const Text_Table& table)
{
    const int end = Table_End_Row(table);
    for (int r = end + 1; r < table.Row_Count(); ++r) {
        if (Row_Has_Content(table, r))
            return end;
    }
    return 0;
}

KNX_Marks Mark_Table(const Text_Table& table, int maxNumByte)
{
    KNX_Marks marks;
    const int rows = std::max(0, table.Row_Count());
    marks.endRow = Table_End_Row(table);
    marks.failures.resize(rows);
    marks.failColumn.resize(rows, 0);
    marks.sameDestination.resize(rows);
    QHash<QString, QList<int>> byDestination;
    for (int r = 1; r < marks.endRow; ++r) {
        if (Strip_View(table.Cell(r, Col_Enable)) != QLatin1String("Y"))
            continue;
        const Check_Result result = Check_KNX_Row(table, r, maxNumByte);
        if (!result.ok) {
            marks.failures[r] = result;
            marks.failColumn[r] = Check_Column(result);
        }
        const QStringView destination = Strip_View(table.Cell(r, Col_Destination_Address));
        if (!destination.isEmpty())
            byDestination[destination.toString().toCaseFolded()].append(r);
    }
    for (auto it = byDestination.cbegin(); it != byDestination.cend(); ++it) {
        const QList<int>& users = it.value();
        if (users.size() < 2)
            continue;
        for (const int r : users) {
            QList<int> others = users;
            others.removeOne(r);
            marks.sameDestination[r] = others;
        }
    }
    return marks;
}

std::vector<bool> Find_Cells(const Text_Table& table, QStringView needle)
{
    std::vector<bool> found(size_t(std::max(0, table.Row_Count())) * size_t(std::max(0, table.Column_Count())), false);
    if (needle.isEmpty())
        return found;
    for (int r = 1; r < table.Row_Count(); ++r) {
        for (int c = 1; c < table.Column_Count(); ++c) {
            if (Is_Check_Column(c))
                continue;
            if (table.Cell(r, c).contains(needle, Qt::CaseInsensitive))
                found[size_t(r) * size_t(table.Column_Count()) + size_t(c)] = true;
        }
    }
    return found;
}

} // namespace lw
