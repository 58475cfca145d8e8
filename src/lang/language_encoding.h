#pragma once
// Turning the bytes of a language file into text and the text into lines.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace lw {

enum class Text_Encoding { Utf8_Bom, Utf16_LE, Utf16_BE, Utf8, Windows_1252 };

// A byte-order mark selects UTF-8, UTF-16 little-endian or UTF-16 big-endian.
// Without a mark the bytes are read as UTF-8 when they are valid UTF-8, and as
// Windows-1252 otherwise. Never fails; a lone trailing byte of UTF-16 is dropped.
QString Decode_Text(const QByteArray& bytes, Text_Encoding* used = nullptr);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool Is_Valid_Utf8(const QByteArray& bytes);

// Windows-1252 to text, byte by byte; the five unassigned bytes map to the C1
// control of the same value.
QString From_Windows_1252(const QByteArray& bytes);

// Cuts text into lines ended by CR LF, LF or CR. Calls visit(number, line) for
// each, numbered from 1; a last line without an end is a line too.
template <typename Visit>
void For_Each_Line(QStringView text, Visit&& visit)
{
    qsizetype start = 0;
    qsizetype number = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        visit(++number, text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(++number, text.mid(start));
}

} // namespace lw
