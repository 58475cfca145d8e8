#include "knx_access/csv_table.h"

#include "knx_access/knx_access_file.h"
#include "lang/language_encoding.h"
#include "base/text_rules.h"

namespace lw {

namespace {

bool Is_Line_End(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

QString Decode_Exchange_Text(const QByteArray& bytes, Exchange_Error& error)
{
    QString text = Decode_Text(bytes);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        int line = 1;
        for (qsizetype i = 0; i < nul; ++i) {
            if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
                ++line;
        }
        error = {Lang_Exchange_Nul, line, {}};
        return {};
    }
    return text;
}

QList<Csv_Record> Parse_Csv(QStringView text, QChar separator, Exchange_Error& error)
{
    QList<Csv_Record> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    // Steps over one line end at i (CR LF counts once) and counts it.
    const auto take_line_end = [&] {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++i;
        ++line;
    };
    while (i < n) {
        Csv_Record record;
        record.line = line;
        bool blank = true;   // the record so far is one empty unquoted field
        QString field;
        bool ended = false;
        while (!ended) {
            if (i < n && text[i] == u'"') {
                // Quoted field: up to the closing quote, "" standing for one quote.
                blank = false;
                const int startLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text[i];
                    if (c == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == u'\r' || c == u'\n') {
                        const qsizetype from = i;
                        take_line_end();
                        field += text.mid(from, i - from);
                        continue;
                    }
                    field += c;
                    ++i;
                }
                if (!closed) {
                    error = {Lang_Exchange_Open_Quote, startLine, {}};
                    return {};
                }
            }
            // Unquoted text (or text after a closing quote) up to the separator or the line end.
            const qsizetype from = i;
            while (i < n && text[i] != separator && !Is_Line_End(text[i]))
                ++i;
            if (i > from) {
                field += text.mid(from, i - from);
                blank = false;
            }
            record.fields.append(field);
            field.clear();
            if (i < n && text[i] == separator) {
                blank = false;
                ++i;
                continue;
            }
            if (i < n)
                take_line_end();
            ended = true;
        }
        if (!blank)
            records.append(std::move(record));
    }
    return records;
}

QChar Detect_Separator(QStringView text)
{
    int semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : First_Line(text)) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u';')
            ++semicolons;
        else if (c == u'\t')
            ++tabs;
        else if (c == u',')
            ++commas;
    }
    if (tabs > semicolons && tabs >= commas)
        return u'\t';
    if (commas > semicolons && commas > tabs)
        return u',';
    return u';';
}

QStringView First_Line(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && !Is_Line_End(text[end]))
        ++end;
    return text.left(end);
}

QStringList KNX_Csv_Header()
{
    QStringList header;
    for (const char* name : KNX_Attributes)
        header.append(QString::fromLatin1(name));
    return header;
}

QString Csv_Field(const QString& text)
{
    bool quote = text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quote && !text.isEmpty())
        quote = text.front().unicode() <= 32 || text.back().unicode() <= 32;
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray Export_KNX_Csv(const Text_Table& table)
{
    QString text = KNX_Csv_Header().join(u';') + QStringLiteral("\r\n");
    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        for (int c = 1; c <= KNX_Field_Count; ++c) {
            if (c > 1)
                text += u';';
            text += Csv_Field(table.Cell(r, c));
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

Exchange_Error Import_KNX_Csv(const QByteArray& bytes, Text_Table& table)
{
    Exchange_Error error;
    const QString text = Decode_Exchange_Text(bytes, error);
    if (error.Failed())
        return error;
    const QList<Csv_Record> records = Parse_Csv(text, Detect_Separator(text), error);
    if (error.Failed())
        return error;
    if (records.isEmpty())
        return {Lang_Exchange_Missing_Column, 1, QString::fromLatin1(KNX_Attributes[0])};

    // Field index of each column, from the header.
    std::array<qsizetype, KNX_Field_Count> index{};
    const QStringList& header = records.front().fields;
    for (int c = 0; c < KNX_Field_Count; ++c) {
        const QLatin1StringView name(KNX_Attributes[std::size_t(c)]);
        index[std::size_t(c)] = -1;
        for (qsizetype f = 0; f < header.size(); ++f) {
            if (Strip_View(header[f]).compare(name, Qt::CaseInsensitive) == 0) {
                index[std::size_t(c)] = f;
                break;
            }
        }
        if (index[std::size_t(c)] < 0)
            return {Lang_Exchange_Missing_Column, records.front().line, name.toString()};
    }
    if (records.size() - 1 > KNX_Table_Rows)
        return {Lang_Exchange_Too_Many_Rows, records[KNX_Table_Rows + 1].line, QString::number(records.size() - 1)};

    Text_Table result = Fresh_KNX_Table();
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList& fields = records[r].fields;
        for (int c = 0; c < KNX_Field_Count; ++c) {
            const qsizetype f = index[std::size_t(c)];
            result.Set_Cell(int(r), c + 1, f < fields.size() ? fields[f] : QString());
        }
    }
    table = std::move(result);
    return {};
}

} // namespace lw
