#pragma once
// Row operations on a table of texts with a header row 0 and a number column
// 0: neither is ever touched, contents move within the fixed rows. A row
// number outside 1 to Row_Count() - 1 leaves the table as it is.

#include "base/messages.h"
#include "base/program_state.h"
#include "knx_access/text_table.h"

#include <QStringList>
#include <span>

namespace lw {

// Language entries of the row operations' boxes.
inline constexpr int Lang_Delete_Question = 227;
inline constexpr int Lang_Paste_Overwrite = 346;
inline constexpr int Lang_Paste_Bad_Copy = 347;
inline constexpr int Lang_Paste_No_Copy = 348;

// Shifts rows r to the second-last down by one (the last row's content is
// lost) and empties every data cell of row r.
void Insert_Row(int r, Text_Table& table);

// Shifts the rows below numRow up by one and empties the last row.
void Delete_Row(int numRow, Text_Table& table);

// Asks entry 227 followed by the row number; on Yes deletes the row.
// Returns true when the row was deleted.
bool Confirm_Delete_Row(int r, Text_Table& table, const ProgramState& state, Messages& messages);

// Replaces copiedRow with the texts of row r's data cells, column 1 first.
void Copy_Row(const Text_Table& table, int r, QStringList& copiedRow);

// Writes copiedRow over row r's data cells. Refuses with entry 348 when copied
// is false (nothing copied from this table during the current opening) and
// with entry 347 when copiedRow does not hold one text per data column; asks
// entry 346 first when a cell outside checkColumns holds a text.
void Paste_Row(Text_Table& table, int r, bool copied, const QStringList& copiedRow, std::span<const int> checkColumns,
               const ProgramState& state, Messages& messages);

} // namespace lw
