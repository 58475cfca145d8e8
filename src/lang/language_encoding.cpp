#include "lang/language_encoding.h"

#include <QStringDecoder>

namespace lw {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the rest of the page equals Latin-1.
constexpr char16_t Cp1252_High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

QString From_Utf16(const char* data, qsizetype bytes, bool littleEndian)
{
    const qsizetype units = bytes / 2;
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned char a = in[2 * i];
        const unsigned char b = in[2 * i + 1];
        out[i] = littleEndian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
    }
    return text;
}

} // namespace

bool Is_Valid_Utf8(const QByteArray& bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more;
        unsigned char low = 0x80; // range of the second byte
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0) low = 0xA0;       // no overlong forms
            if (c == 0xED) high = 0x9F;      // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0) low = 0x90;       // no overlong forms
            if (c == 0xF4) high = 0x8F;      // nothing above U+10FFFF
        } else {
            return false;
        }
        if (n - i - 1 < more)
            return false;
        if (s[i + 1] < low || s[i + 1] > high)
            return false;
        for (int k = 2; k <= more; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return false;
        }
        i += more + 1;
    }
    return true;
}

QString From_Windows_1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = in[i];
        out[i] = c >= 0x80 && c <= 0x9F ? Cp1252_High[c - 0x80] : char16_t(c);
    }
    return text;
}

QString Decode_Text(const QByteArray& bytes, Text_Encoding* used)
{
    Text_Encoding encoding;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = Text_Encoding::Utf8_Bom;
        // Only the one mark is taken off: a second one is a character of the
        // first line, as it is for UTF-16 (fromUtf8 would drop it too).
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        text = decoder.decode(QByteArrayView(bytes).sliced(3));
    } else if (bytes.startsWith("\xFF\xFE")) {
        encoding = Text_Encoding::Utf16_LE;
        text = From_Utf16(bytes.constData() + 2, bytes.size() - 2, true);
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = Text_Encoding::Utf16_BE;
        text = From_Utf16(bytes.constData() + 2, bytes.size() - 2, false);
    } else if (Is_Valid_Utf8(bytes)) {
        encoding = Text_Encoding::Utf8;
        text = QString::fromUtf8(bytes);
    } else {
        encoding = Text_Encoding::Windows_1252;
        text = From_Windows_1252(bytes);
    }
    if (used)
        *used = encoding;
    return text;
}

} // namespace lw
