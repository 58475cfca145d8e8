// The commands table's CSV form: any bytes are read into a table or give a
// fault; a table read is written and read again unchanged.
#include "knx_access/csv_table.h"
#include "knx_access/knx_access_file.h"
#include "base/text_rules.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Half the inputs get the header, so that the rows are reached.
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (size > 0 && (data[0] & 1))
        bytes = lw::KNX_Csv_Header().join(u';').toUtf8() + "\r\n" + bytes.mid(1);
    lw::Text_Table table;
    if (lw::Import_KNX_Csv(bytes, table).Failed())
        return 0;
    lw::Text_Table again;
    if (lw::Import_KNX_Csv(lw::Export_KNX_Csv(table), again).Failed())
        std::abort();
    for (int r = 1; r <= lw::KNX_Table_Rows; ++r) {
        if (lw::Strip(table.Cell(r, lw::Col_Source_Address)).isEmpty())
            break;
        if (!(lw::Row_Of(table, r) == lw::Row_Of(again, r)))
            std::abort();
    }
    return 0;
}
