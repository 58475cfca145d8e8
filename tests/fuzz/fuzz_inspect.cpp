// inspect fed any bytes: a wrong size is refused, a right-sized image decodes
// and reports, never a crash.
#include "image/image_inspect.h"

#include <QJsonObject>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Short inputs are stretched to an image so that the decoder itself is reached.
    if (size > 0 && size < 22528 && data[0] == 'I')
        bytes = bytes.leftJustified(22528, '\0');
    lw::image::Image_Report report;
    QString error;
    const bool ok = lw::image::Decode_Image(bytes, report, error);
    if (ok != (bytes.size() == 22528))
        std::abort();
    if (ok) {
        lw::image::Report_Lines(report);
        lw::image::Report_Json(report);
    }
    return 0;
}
