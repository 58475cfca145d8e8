#pragma once
// The data check of the KNX commands table.

#include "knx_access/check_result.h"
#include "knx_access/text_table.h"

namespace lw {

// Size in bytes of the converter's data array that positions address.
inline constexpr int KNX_Max_Num_Byte = 1439;

// Tests rows 1 to 512 in order and returns the first failure. The table ends
// at the first row whose stripped Source Add is empty; rows whose stripped
// Enable is not exactly "Y" are not tested.
Check_Result Controllo_dati(const Text_Table& table, int maxNumByte = KNX_Max_Num_Byte);

// The tests of one row, whatever its Enable and wherever the table ends.
Check_Result Check_KNX_Row(const Text_Table& table, int r, int maxNumByte = KNX_Max_Num_Byte);

// The column of the cell a failed row test is about (the Length for a row that
// runs past the data array); 0 for a passing result.
int Check_Column(const Check_Result& result);

} // namespace lw
