#pragma once
// The data check of the KNX commands table.

#include "base/check_result.h"
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

// The tests of Controllo_dati on every row of the KNX access file at path
// that the compile takes (KNX_Row_Compiled) but that Controllo_dati, run on
// the table Read_KNX_Access_File fills, does not test: rows whose Enable is
// not exactly "Y" once stripped (any letter case, or absent), rows after the
// first empty Source Add (that row itself fails entry 218 when the compile
// takes it), rows past the 512th. Each row is read as the reader reads it
// (defaults for absent attributes, an unknown priority as "Normal"); a row
// that lacks a required attribute is left to the compile, which stops on it.
// The failure names the row as the reader counts rows. A file that is
// missing or that cannot be read passes here: reading it is the reader's
// and the compile's concern.
Check_Result Check_Compiled_Rows(const QString& path, int maxNumByte = KNX_Max_Num_Byte);

// The tests of one row, whatever its Enable and wherever the table ends.
Check_Result Check_KNX_Row(const Text_Table& table, int r, int maxNumByte = KNX_Max_Num_Byte);

// The column of the cell a failed row test is about (the Length for a row that
// runs past the data array); 0 for a passing result.
int Check_Column(const Check_Result& result);

} // namespace lw
