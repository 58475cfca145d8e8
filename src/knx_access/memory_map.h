#pragma once
// How the commands table uses the converter's data array: which bits each
// command takes its value from, the ranges two commands share, the ranges that
// overlap, the rows that cannot be placed and the bytes nobody uses. One set
// of rules for the map window, the command-line tool and the report.

#include "base/check_result.h"
#include "base/program_state.h"
#include "knx_access/knx_check.h"
#include "knx_access/text_table.h"

#include <QList>
#include <QString>

namespace lw {

// A placed row: the bits of the array it reads, counted from bit 0 of byte 0
// (bit 0 is a byte's first bit, as the span test counts).
struct Map_Row {
    int row = 0;            // table row, 1 to 512
    int first_bit = 0;
    int last_bit = 0;
    bool bit_mode = false;  // Bit Mode holds a start bit rather than "No"
    QString mnemonic;

    int First_Byte() const { return first_bit / 8; }
    int Last_Byte() const { return last_bit / 8; }
    bool operator==(const Map_Row&) const = default;
};

// Two or more rows reading exactly the same bits.
struct Map_Shared {
    QList<int> rows;        // ascending
    int first_bit = 0;
    int last_bit = 0;
    bool operator==(const Map_Shared&) const = default;
};

// Two rows whose bits intersect without being the same; the bits both read.
struct Map_Overlap {
    int row = 0;            // the lower row number
    int other = 0;          // the higher one
    int first_bit = 0;
    int last_bit = 0;
    bool operator==(const Map_Overlap&) const = default;
};

// An enabled row the map cannot place: the data check's failing test.
struct Map_Not_Placed {
    int row = 0;
    Check_Result reason;
};

// A maximal run of bytes no row touches.
struct Map_Free {
    int first_byte = 0;
    int last_byte = 0;
    int Size() const { return last_byte - first_byte + 1; }
    bool operator==(const Map_Free&) const = default;
};

struct Memory_Map {
    int size = KNX_Max_Num_Byte;     // bytes of the array
    QList<Map_Row> rows;             // by row number
    QList<Map_Shared> shared;        // by first bit, then rows
    QList<Map_Overlap> overlaps;     // by row, then other
    QList<Map_Not_Placed> not_placed;
    QList<Map_Free> free;            // ascending

    int Bytes_Free() const;
    int Bytes_Used() const { return size - Bytes_Free(); }
    // The longest free run; a zero-sized run when every byte is used.
    Map_Free Largest_Free() const;
    // Indexes into rows of the rows that read any bit of byte, by row number.
    QList<int> Rows_At_Byte(int byte) const;
    // True when an overlap covers any bit of byte.
    bool Overlaps_Byte(int byte) const;
};

// The map of the table's rows 1 to 512 up to the table's end (the first row
// whose stripped Source Add is empty). A row counts when the compiler would
// compile it (its stripped Enable is "Y" in either case); it is placed when
// its Position, Bit Mode and Length pass the data check's tests, else listed
// as not placed with the failing test.
Memory_Map Build_Memory_Map(const Text_Table& table, int maxNumByte = KNX_Max_Num_Byte);

// "bytes 12-13", and "bits 3-4" counted from bit 0 of the first byte.
QString Byte_Range_Text(int firstBit, int lastBit);
QString Bit_Range_Text(int firstBit, int lastBit);

// The message of a not-placed row's failing test without the row prefix, in
// the current language table.
QString Not_Placed_Reason(const Map_Not_Placed& entry, const ProgramState& state);

// A range of the map in the user's language: "bytes A-B", and the bits
// within the first byte when the range does not cover whole bytes.
QString Map_Range_Text(int firstBit, int lastBit, const ProgramState& state);

} // namespace lw
