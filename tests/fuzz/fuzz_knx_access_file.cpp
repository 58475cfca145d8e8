// KNX_SetAccess.xml: any bytes read into the table or give an error; a table
// written and read again keeps the rows up to the first empty Source Add
// (a priority other than the four names coming back as "Normal").
#include "base/text_rules.h"
#include "knx_access/knx_access_file.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KNX_SetAccess.xml"));
    lw::fuzz::Write(path, data, size);
    lw::Text_Table table = lw::Fresh_KNX_Table();
    lw::Read_KNX_Access_File(path, table);
    if (!lw::Write_KNX_Access_File(table, path).isEmpty())
        std::abort();
    lw::Text_Table again = lw::Fresh_KNX_Table();
    if (!lw::Read_KNX_Access_File(path, again).Ok())
        std::abort();
    for (int r = 1; r <= lw::KNX_Table_Rows; ++r) {
        lw::KNX_Command_Row row = lw::Row_Of(table, r);
        if (lw::Strip(row.Source_Address).isEmpty())
            break;
        // A row cut short by a missing attribute keeps empty cells; an empty
        // (or any unknown) priority reads back as "Normal".
        if (!lw::Is_KNX_Priority(row.Priority))
            row.Priority = QStringLiteral("Normal");
        if (!(row == lw::Row_Of(again, r)))
            std::abort();
    }
    return 0;
}
