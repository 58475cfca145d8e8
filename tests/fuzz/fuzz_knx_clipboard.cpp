// Any text pasted into the commands table: no crash, the table keeps its size,
// nothing lands outside rows 1 to 512 and columns 1 to 16, what was written
// reads back as pasted (in each column's form), and a block that came through
// the clipboard format decodes to itself.
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_clipboard.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose where the paste starts.
    const int row = data[0] % 520;
    const int column = data[1] % 20;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const lw::Cell_Block block = lw::Decode_Cells(text);
    if (lw::Decode_Cells(lw::Encode_Cells(block)) != block)
        std::abort();

    static const lw::Text_Table fresh = lw::Fresh_KNX_Table();
    lw::Text_Table table = fresh;
    const lw::Paste_Outcome outcome = lw::Paste_Cells(table, row, column, block);
    if (table.Row_Count() != fresh.Row_Count() || table.Column_Count() != fresh.Column_Count())
        std::abort();
    const lw::Cell_Range& w = outcome.written;
    if (!w.Is_Empty() && (w.top < 1 || w.left < 1 || w.bottom > lw::KNX_Table_Rows || w.right > lw::KNX_Field_Count))
        std::abort();
    for (int r = 0; r < table.Row_Count(); ++r) {
        for (int c = 0; c < table.Column_Count(); ++c) {
            if (w.Contains(r, c)) {
                const QStringList& line = block[r - w.top];
                const int k = c - w.left;
                const QString expected = k < line.size() ? lw::Paste_Text_For(c, line[k]) : fresh.Cell(r, c);
                if (table.Cell(r, c) != expected)
                    std::abort();
            } else if (table.Cell(r, c) != fresh.Cell(r, c)) {
                std::abort();
            }
        }
    }
    return 0;
}
