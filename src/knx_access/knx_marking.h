#pragma once
// What the grid marks while the user types: the cell a row's data check fails
// on, destination addresses used by more than one enabled row, the rows after
// the table's end (they are not saved), and the cells a find matches. The same
// rules as the data check on OK.

#include "base/check_result.h"
#include "knx_access/knx_check.h"
#include "knx_access/text_table.h"

#include <QList>
#include <vector>

namespace lw {

// The first row whose stripped Source Add is empty (the table ends before
// it); Row_Count() when every row has one.
int Table_End_Row(const Text_Table& table);

// True when the row holds, outside the check columns, a text that is not
// empty once stripped.
bool Row_Has_Content(const Text_Table& table, int row);

// The first empty-source row when a row after it holds content (saving would
// lose those rows); 0 when nothing would be lost.
int Row_Losing_Rows_Below(const Text_Table& table);

struct KNX_Marks {
    int endRow = 0;                            // as Table_End_Row
    std::vector<Check_Result> failures;        // by table row; ok where nothing fails
    std::vector<int> failColumn;               // by table row; 0 where nothing fails
    std::vector<QList<int>> sameDestination;   // by table row; the other enabled rows with its destination

    bool operator==(const KNX_Marks&) const;
};

// The marks of the whole table: rows before its end whose stripped Enable is
// "Y" are checked; destinations are compared stripped and without regard to
// letter case among those rows.
KNX_Marks Mark_Table(const Text_Table& table, int maxNumByte = KNX_Max_Num_Byte);

// The data cells (outside the check columns) whose text holds needle without
// regard to letter case, by row then column: one flag per cell, row-major,
// the size of the table. All false for an empty needle.
std::vector<bool> Find_Cells(const Text_Table& table, QStringView needle);

} // namespace lw
