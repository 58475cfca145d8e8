#include "knx_access/row_operations.h"

#include "base/text_rules.h"

#include <algorithm>

namespace lw {

namespace {

bool Is_Data_Row(const Text_Table& table, int r)
{
    return r >= 1 && r < table.Row_Count();
}

void Move_Row(Text_Table& table, int from, int to)
{
    for (int c = 1; c < table.Column_Count(); ++c)
        table.Set_Cell(to, c, table.Cell(from, c));
}

void Empty_Row(Text_Table& table, int r)
{
    for (int c = 1; c < table.Column_Count(); ++c)
        table.Set_Cell(r, c, QString());
}

} // namespace

void Insert_Row(int r, Text_Table& table)
{
    if (!Is_Data_Row(table, r))
        return;
    for (int i = table.Row_Count() - 2; i >= r; --i)
        Move_Row(table, i, i + 1);
    Empty_Row(table, r);
}

void Delete_Row(int numRow, Text_Table& table)
{
    if (!Is_Data_Row(table, numRow))
        return;
    for (int i = numRow; i <= table.Row_Count() - 2; ++i)
        Move_Row(table, i + 1, i);
    Empty_Row(table, table.Row_Count() - 1);
}

bool Confirm_Delete_Row(int r, Text_Table& table, const ProgramState& state, Messages& messages)
{
    if (!Is_Data_Row(table, r))
        return false;
    if (!messages.Question(state.Text(Lang_Delete_Question) + QString::number(r)))
        return false;
    Delete_Row(r, table);
    return true;
}

void Copy_Row(const Text_Table& table, int r, QStringList& copiedRow)
{
    if (!Is_Data_Row(table, r))
        return;
    copiedRow.clear();
    for (int c = 1; c < table.Column_Count(); ++c)
        copiedRow.append(table.Cell(r, c));
}

void Paste_Row(Text_Table& table, int r, bool copied, const QStringList& copiedRow, std::span<const int> checkColumns,
               const ProgramState& state, Messages& messages)
{
    if (!Is_Data_Row(table, r))
        return;
    if (!copied) {
        messages.Error(state.Text(Lang_Paste_No_Copy));
        return;
    }
    if (copiedRow.size() != table.Column_Count() - 1) {
        messages.Error(state.Text(Lang_Paste_Bad_Copy));
        return;
    }
    bool used = false;
    for (int c = 1; c < table.Column_Count() && !used; ++c) {
        const bool check = std::find(checkColumns.begin(), checkColumns.end(), c) != checkColumns.end();
        used = !check && !Strip(table.Cell(r, c)).isEmpty();
    }
    if (used && !messages.Question(state.Text(Lang_Paste_Overwrite)))
        return;
    for (int k = 0; k < copiedRow.size(); ++k)
        table.Set_Cell(r, k + 1, copiedRow[k]);
}

} // namespace lw
