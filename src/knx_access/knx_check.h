#pragma once
// The data check of the KNX commands table.

#include "knx_access/check_result.h"
#include "knx_access/text_table.h"

namespace lw {

// Size in bytes of the converter's data array that positions address.
inline constexpr int KNX_Max_Num_Byte = 1439;

// Where a row's value sits in the data array: its first byte, byte mode or
// the start bit of bit mode, and its length in bytes (byte mode) or bits.
struct Data_Placement {
    int position = 0;
    bool byte_mode = true;
    int start_bit = 0;
    int length = 0;
};

// The tests of row r's Position, Bit Mode and Length, and of their span
// within the array, in the data check's order. On a pass, placement (when
// given) receives where the row's value sits.
Check_Result Check_Placement(const Text_Table& table, int r, int maxNumByte = KNX_Max_Num_Byte,
                             Data_Placement* placement = nullptr);

// Tests rows 1 to 512 in order and returns the first failure. The table ends
// at the first row whose stripped Source Add is empty; rows whose stripped
// Enable is not exactly "Y" are not tested.
Check_Result Controllo_dati(const Text_Table& table, int maxNumByte = KNX_Max_Num_Byte);

} // namespace lw
