#include "lang/language_file.h"

#include "base/text_rules.h"
#include "lang/language_encoding.h"
#include "lang/language_table.h"
#include "platform/atomic_file.h"

#include <QFileInfo>

namespace lw {

namespace {

const QChar Pilcrow_Sign(0x00B6);

bool Starts_With_Str_Any_Case(QStringView line)
{
    return line.size() >= 3 && line.first(3).compare(u"STR", Qt::CaseInsensitive) == 0;
}

// Applies the "/#/" comment and the pilcrow quotes to a stripped, non-empty text.
void Take_Text(QString text, Language_Line& result)
{
    const qsizetype comment = text.indexOf(u"/#/");
    if (comment >= 0) {
        text = Strip(QStringView(text).first(comment));
        if (text.isEmpty()) {
            result.outcome = Line_Outcome::Comment_Emptied;
            return;
        }
    }
    bool opened = false;
    if (text.startsWith(Pilcrow_Sign)) {
        text.remove(0, 1);
        opened = true;
    }
    const qsizetype close = text.indexOf(Pilcrow_Sign);
    if (close >= 0) {
        if (!opened)
            result.pilcrow = Pilcrow::Lone;
        else if (close + 1 < text.size())
            result.pilcrow = Pilcrow::Text_After_Close;
        else
            result.pilcrow = Pilcrow::Closed;
        text.truncate(close);
    } else if (opened) {
        result.pilcrow = Pilcrow::Unclosed;
    }
    result.text = text;
    result.outcome = Line_Outcome::Applied;
}

} // namespace

Language_Line Parse_Language_Line(QStringView rawLine, int langCount)
{
    Language_Line result;
    const QString line = Strip(rawLine);
    const QStringView view(line);
    const qsizetype equals = view.indexOf(u'=');

    if (!view.startsWith(u"STR")) {
        // Another letter case is reported only when the rest reads as an entry.
        if (Starts_With_Str_Any_Case(view) && equals > 3
            && Read_Integer(Strip(view.sliced(3, equals - 3))).has_value()) {
            result.outcome = Line_Outcome::Wrong_Case;
        }
        return result;
    }
    if (equals < 0) {
        result.outcome = Line_Outcome::No_Equals;
        return result;
    }

    // The index runs from the fourth character to the one before the separator;
    // the separator is the character just before the first "=".
    if (equals > 3) {
        result.separator = view[equals - 1];
        result.separatorMissing = result.separator.unicode() > 32;
    }
    result.indexText = equals > 4 ? Strip(view.sliced(3, equals - 4)) : QString();
    const std::optional<int> index = Read_Integer(result.indexText);
    result.index = index.value_or(-1);
    if (!index) {
        result.outcome = Line_Outcome::Index_Not_Number;
        return result;
    }
    if ((result.index < 0 || result.index >= langCount) && !Is_Extended_Index(result.index)) {
        result.outcome = Line_Outcome::Index_Out_Of_Range;
        return result;
    }

    QString text = Strip(view.sliced(equals + 1));
    if (text.isEmpty()) {
        result.outcome = Line_Outcome::Empty_Text;
        return result;
    }
    Take_Text(std::move(text), result);
    return result;
}

bool Read_Language_Text(const QString& path, QString& text, QString& error)
{
    QByteArray bytes;
    if (!Read_File(path, bytes, error, Language_File_Limit))
        return false;
    text = Decode_Text(bytes);
    return true;
}

bool Read_Language_File(const QString& path, QStringList& table, int langCount, QStringList* extended,
                        QString* readError)
{
    QString text;
    QString error;
    // Nothing is replaced before the whole file has been read.
    if (!Read_Language_Text(path, text, error)) {
        if (readError)
            *readError = error;
        return false;
    }
    const int limit = int(qMin<qsizetype>(langCount, table.size()));
    For_Each_Line(text, [&](qsizetype, QStringView line) {
        Language_Line entry = Parse_Language_Line(line, limit);
        if (entry.outcome != Line_Outcome::Applied)
            return;
        if (entry.index < limit)
            table[entry.index] = std::move(entry.text);
        else if (extended && entry.index - Lang_Extended_First < extended->size())
            (*extended)[entry.index - Lang_Extended_First] = std::move(entry.text);
    });
    return true;
}

QString Language_File_Path(const QString& dirLanguage, const QString& name)
{
    return Join_Path(dirLanguage, name + QStringLiteral(".lng"));
}

bool Is_Plain_File_Name(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 32 || c.unicode() == 127)
            return false;
    }
    return true;
}

namespace {

// Applies one language file; the reason when it cannot be read, else empty.
QString Apply_Language_File(const QString& path, ProgramState& state)
{
    QString error;
    Read_Language_File(path, state.Lang_Strings, state.Lang_Count, &state.Lang_Extended, &error);
    return error;
}

} // namespace

QString Load_Language(ProgramState& state)
{
    Set_Default_Texts(state);
    // A folder carrying the name is no language file, and a name that is not
    // a plain file name would reach outside the folder.
    if (Is_Plain_File_Name(state.Language_Name)) {
        const QString selected = Language_File_Path(state.Dir_Language, state.Language_Name);
        if (QFileInfo(selected).isFile())
            return Apply_Language_File(selected, state);
    }
    state.Language_Name = Default_Language;
    const QString english = Language_File_Path(state.Dir_Language, Default_Language);
    if (QFileInfo(english).isFile())
        return Apply_Language_File(english, state);
    return {};
}

} // namespace lw
