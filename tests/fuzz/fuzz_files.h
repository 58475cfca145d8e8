#pragma once
// Helpers of the file-reading fuzz targets.

#include "comm_settings/pargen_file.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace lw::fuzz {

inline void Write(const QString& path, const uint8_t* data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
}

inline bool Same_Values(const ParGen_Values& a, const ParGen_Values& b)
{
    return a == b;
}

} // namespace lw::fuzz
