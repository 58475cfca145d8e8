#pragma once
// Shared by the group-address export targets: reads a prefix plus the input,
// checks the reader's promises and runs the import on a table.

#include "knx_access/ga_export_reader.h"
#include "knx_access/ga_import.h"
#include "knx_access/knx_access_file.h"

#include <cstdint>
#include <cstdlib>

namespace lw::fuzz {

inline int Read_And_Import(const char* prefix, const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray(prefix) + QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    const GA_Export exported = Read_GA_Export(bytes);
    if (exported.error.Failed()) {
        if (!exported.entries.isEmpty() || exported.error.line < 0)
            std::abort();
        return 0;
    }
    for (const GA_Entry& entry : exported.entries) {
        if (Is_GA_Range(entry.address) || entry.line < 1)
            std::abort();
    }
    Text_Table table = Fresh_KNX_Table();
    const GA_Plan plan = Plan_GA_Import(table, exported.entries);
    if (plan.imported + plan.skipped != plan.items.size())
        std::abort();
    const Text_Table before = table;
    const GA_Apply_Result result = Apply_GA_Plan(table, plan, QStringLiteral("1.1.200"), true);
    // A refused import leaves the table; an accepted one passes the check.
    if (!result.Ok() && !(table == before))
        std::abort();
    return 0;
}

} // namespace lw::fuzz
