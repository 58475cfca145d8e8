// Load_Language on a language file of any bytes: the table always has its
// 1200 entries and the selected language stays selected. The same text stored
// as UTF-8 with or without its mark, UTF-16 little-endian or big-endian gives
// the same table.
#include "lang/language_file.h"
#include "lang/language_table.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "fuzz_files.h"

namespace {

QStringList Load(const QString& folder, const QByteArray& bytes)
{
    const QString path = lw::Language_File_Path(folder, QStringLiteral("Fuzz"));
    lw::fuzz::Write(path, reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    lw::ProgramState state;
    state.Dir_Language = folder;
    state.Language_Name = QStringLiteral("Fuzz");
    lw::Load_Language(state);
    if (state.Lang_Strings.size() != lw::Lang_Table_Size || state.Lang_Count != lw::Lang_Table_Size
        || state.Language_Name != QLatin1String("Fuzz"))
        std::abort();
    return state.Lang_Strings;
}

QByteArray Utf16(const QString& text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        out.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Load(dir.path(), bytes);

    const QString text = QString::fromUtf8(bytes);
    const QStringList table = Load(dir.path(), "\xEF\xBB\xBF" + text.toUtf8());
    if (Load(dir.path(), Utf16(text, true)) != table || Load(dir.path(), Utf16(text, false)) != table)
        std::abort();
    // Without a mark valid UTF-8 reads as UTF-8 (unless the text itself starts with a mark).
    if (!text.startsWith(QChar(0xFEFF)) && Load(dir.path(), text.toUtf8()) != table)
        std::abort();
    return 0;
}
