#include "cli/cli_io.h"

namespace lw::cli {

int Usage_Error(CliIO& io, const QString& message)
{
    io.err << "loomwright-cli: " << message << "\n"
           << "Try 'loomwright-cli --help'.\n";
    io.err.flush();
    return 2;
}

namespace {

const char Hex_Digits[] = "0123456789ABCDEF";

void Append_Hex2(QString& out, char16_t c)
{
    out += QLatin1Char(Hex_Digits[(c >> 4) & 0xF]);
    out += QLatin1Char(Hex_Digits[c & 0xF]);
}

} // namespace

QString Terminal_Text(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'\\': out += QLatin1String("\\\\"); continue;
        case u'\t': out += QLatin1String("\\t"); continue;
        case u'\n': out += QLatin1String("\\n"); continue;
        case u'\r': out += QLatin1String("\\r"); continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F) {
            out += QLatin1String("\\x");
            Append_Hex2(out, c);
        } else if (c >= 0x80 && c <= 0x9F) {
            out += QLatin1String("\\u00");
            Append_Hex2(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

QString Terminal_Json(const QByteArray& json)
{
    const QString text = QString::fromUtf8(json);
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            out += QLatin1String("\\u00");
            Append_Hex2(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace lw::cli
