// ParGen.xml: any bytes load to values or an error; values saved and loaded
// again are the same.
#include "comm_settings/pargen_file.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    lw::fuzz::Write(path, data, size);
    lw::ParGen_Values values;
    lw::Load_ParGen(path, values);
    if (!lw::Save_ParGen(values, path).isEmpty())
        std::abort();
    lw::ParGen_Values again;
    if (!lw::Load_ParGen(path, again).isEmpty() || !lw::fuzz::Same_Values(values, again))
        std::abort();
    return 0;
}
