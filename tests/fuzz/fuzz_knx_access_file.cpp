// KNX_SetAccess.xml: any bytes read into the table or give an error; a table
// read whole, written and read again keeps the rows up to the first empty
// Source Add.
#include "knx_access/knx_access_file.h"
#include "shell/text_rules.h"

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
    // A reading that stopped leaves a row half filled, whose cells are not
    // normalised: only a table read whole must survive the round trip.
    const bool whole = lw::Read_KNX_Access_File(path, table).Ok();
    if (!lw::Write_KNX_Access_File(table, path).isEmpty())
        std::abort();
    lw::Text_Table again = lw::Fresh_KNX_Table();
    if (!lw::Read_KNX_Access_File(path, again).Ok())
        std::abort();
    for (int r = 1; whole && r <= lw::KNX_Table_Rows; ++r) {
        if (lw::Strip(lw::Row_Of(table, r).Source_Address).isEmpty())
            break;
        if (!(lw::Row_Of(table, r) == lw::Row_Of(again, r)))
            std::abort();
    }
    return 0;
}
