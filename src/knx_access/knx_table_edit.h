#pragma once
// Edits of whole cell ranges of the commands table (clear, fill down, fill in
// series) and the cell-by-cell difference of two tables, which is what an
// undo step keeps.

#include "knx_access/knx_clipboard.h"
#include "knx_access/text_table.h"

#include <QList>

namespace lw {

struct Cell_Change {
    int row = 0;
    int column = 0;
    QString before;
    QString after;
};

// The cells whose texts differ between two tables of the same size, row by row.
QList<Cell_Change> Diff_Tables(const Text_Table& before, const Text_Table& after);
// The smallest range holding every change; empty for none.
Cell_Range Bounds_Of(const QList<Cell_Change>& changes);

// Empties the data cells of the ranges; a check cell becomes "N".
void Clear_Cells(Text_Table& table, const QList<Cell_Range>& ranges);

// Each range's top row is copied into the rows below it, column by column.
void Fill_Down(Text_Table& table, const QList<Cell_Range>& ranges);

// As Fill_Down, but a destination address counts up its last part from the
// top one (1/1/1, 1/1/2, ...; 1.1.1, 1.1.2, ...) and a Position follows the
// row above it: its Position plus the bytes that row spans (Length in byte
// mode, the bits from the start bit in bit mode). A text that cannot be read
// as an address or a number is copied unchanged.
void Fill_Series(Text_Table& table, const QList<Cell_Range>& ranges);

// The address with its last part counted up by step; an empty text when text
// is not an address of up to three numeric parts.
QString Next_Address(const QString& text, int step = 1);

// The bytes a row spans from its Position; 0 when its Length or Bit Mode
// cannot be read.
int Row_Byte_Span(const Text_Table& table, int row);

} // namespace lw
