// Language files: any bytes decode and every line parses; an applied entry
// always lies inside the table or inside this program's own range.
#include "lang/language_encoding.h"
#include "lang/language_file.h"
#include "lang/language_table.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = lw::Decode_Text(bytes);
    lw::For_Each_Line(text, [](qsizetype, QStringView line) {
        const lw::Language_Line entry = lw::Parse_Language_Line(line, lw::Lang_Table_Size);
        if (entry.outcome == lw::Line_Outcome::Applied && (entry.index < 0 || entry.index >= lw::Lang_Table_Size)
            && !lw::Is_Extended_Index(entry.index))
            std::abort();
    });
    return 0;
}
