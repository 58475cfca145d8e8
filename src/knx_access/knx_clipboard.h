#pragma once
// The commands table on the clipboard, in the text format spreadsheets use:
// cells separated by tabs, one line per row, a cell quoted ("...", a quote
// doubled) when it holds a tab, a line break or a quote. Pasting writes a
// block into the table from a given cell, cut at the table's last row and
// column, with each text brought to what its column takes.

#include "knx_access/text_table.h"

#include <QList>
#include <QStringList>

namespace lw {

// Rows of cell texts; rows may differ in length.
using Cell_Block = QList<QStringList>;

// A rectangle of table cells, rows and columns inclusive.
struct Cell_Range {
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;

    bool Is_Empty() const { return bottom < top || right < left; }
    int Rows() const { return Is_Empty() ? 0 : bottom - top + 1; }
    int Columns() const { return Is_Empty() ? 0 : right - left + 1; }
    bool Contains(int row, int column) const
    {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool operator==(const Cell_Range&) const = default;
};

// The block as spreadsheet text; every row ends with a line feed.
QString Encode_Cells(const Cell_Block& block);
// Spreadsheet text as a block. Line ends may be LF, CR LF or CR; one line end
// at the very end closes the last row and adds none. An empty text is an
// empty block.
Cell_Block Decode_Cells(QStringView text);

// The cells of range (clamped to the data cells) as a block.
Cell_Block Cells_Of(const Text_Table& table, const Cell_Range& range);

// The text a pasted or filled text becomes in a column: a check column takes
// "Y" for Y, yes, true, 1, x (any case) and "N" for anything else; a list
// column takes its item in the list's own spelling when the text names one in
// another letter case; every other text is kept as it is.
QString Paste_Text_For(int column, const QString& text);

// What a paste did: the range written and whether the block was cut.
struct Paste_Outcome {
    Cell_Range written;
    int blockRows = 0;
    int blockColumns = 0;
    bool Cut() const { return written.Rows() < blockRows || written.Columns() < blockColumns; }
};

// Writes block into the table with its first cell at (row, column): data
// rows 1 to Row_Count() - 1 and columns 1 to Column_Count() - 1 only (a start
// in column 0 starts in column 1); what lies beyond is left out.
Paste_Outcome Paste_Cells(Text_Table& table, int row, int column, const Cell_Block& block);

// Writes one text into every data cell of the range.
void Fill_Cells(Text_Table& table, const Cell_Range& range, const QString& text);

} // namespace lw
