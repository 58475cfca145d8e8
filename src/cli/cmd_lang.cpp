#include "cli/cli_io.h"
#include "cli/cmd_lang.h"

#include "lang/language_encoding.h"
#include "lang/language_file.h"
#include "lang/language_table.h"

#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lw::cli {

namespace {

// A text quoted for a report line; long texts are shortened.
QString Quoted(const QString& text)
{
    constexpr qsizetype Shown = 60;
    const QString shown = text.size() > Shown ? text.first(Shown - 3) + QStringLiteral("...") : text;
    return QLatin1Char('"') + Escape_Entry(shown) + QLatin1Char('"');
}

// The reason a line is reported, or an empty text when it is fine.
QString Problem_Of(const Language_Line& line, int langCount)
{
    QString lost;
    if (line.separatorMissing) {
        lost = QStringLiteral("no separator before \"=\": the character %1 before it is not read as part of the index; ")
                   .arg(Quoted(QString(line.separator)));
    }
    switch (line.outcome) {
    case Line_Outcome::Not_Entry:
        return {};
    case Line_Outcome::Wrong_Case:
        return QStringLiteral("\"STR\" is not written in capital letters; line skipped");
    case Line_Outcome::No_Equals:
        return QStringLiteral("no \"=\" in the line; line skipped");
    case Line_Outcome::Index_Not_Number:
        return lost + QStringLiteral("index %1 is not a number; line skipped").arg(Quoted(line.indexText));
    case Line_Outcome::Index_Out_Of_Range:
        return lost + QStringLiteral("index %1 is out of range 0 to %2 and %3 to %4; line skipped")
                          .arg(line.index)
                          .arg(langCount - 1)
                          .arg(Lang_Extended_First)
                          .arg(Lang_Extended_First + Lang_Extended_Size - 1);
    case Line_Outcome::Empty_Text:
        return lost + QStringLiteral("empty text; line skipped, entry %1 keeps its text").arg(line.index);
    case Line_Outcome::Comment_Emptied:
        return lost + QStringLiteral("text emptied by its \"/#/\" comment; line skipped, entry %1 keeps its text").arg(line.index);
    case Line_Outcome::Applied:
        break;
    }
    QString pilcrow;
    switch (line.pilcrow) {
    case Pilcrow::Unclosed:
        pilcrow = QStringLiteral("unclosed pilcrow: the text runs to the end of the line");
        break;
    case Pilcrow::Lone:
        pilcrow = QStringLiteral("pilcrow without an opening one: the text ends before it");
        break;
    case Pilcrow::Text_After_Close:
        pilcrow = QStringLiteral("text after the closing pilcrow is dropped");
        break;
    case Pilcrow::None:
    case Pilcrow::Closed:
        break;
    }
    if (lost.isEmpty() && pilcrow.isEmpty())
        return {};
    if (pilcrow.isEmpty())
        return lost + QStringLiteral("read as entry %1").arg(line.index);
    return lost + pilcrow + QStringLiteral("; entry %1 set to %2").arg(line.index).arg(Quoted(line.text));
}

} // namespace

QString Escape_Entry(const QString& text)
{
    return Terminal_Text(text);
}

int Cmd_Lang(const QStringList& args, CliIO& io)
{
    bool json = false;
    bool all = false;
    QStringList positional;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg == QLatin1String("--all"))
            all = true;
        else if (arg.startsWith(QLatin1String("--")))
            return Usage_Error(io, QStringLiteral("lang: unknown option '%1'").arg(arg));
        else
            positional.append(arg);
    }
    if (positional.size() != 2)
        return Usage_Error(io, QStringLiteral("lang: expected LANGUAGE_DIR NAME [--json] [--all]"));

    ProgramState state;
    state.Dir_Language = positional[0].isEmpty() ? positional[0] : QDir::cleanPath(positional[0]);
    state.Language_Name = positional[1];
    const QString readError = Load_Language(state);
    if (!readError.isEmpty())
        io.err << "loomwright-cli: warning: " << Terminal_Text(readError) << "; the table keeps its defaults\n";

    if (json) {
        QJsonObject object;
        object.insert(QStringLiteral("language"), state.Language_Name);
        object.insert(QStringLiteral("entries"), QJsonArray::fromStringList(state.Lang_Strings));
        if (all)
            object.insert(QStringLiteral("extended"), QJsonArray::fromStringList(state.Lang_Extended));
        io.out << Terminal_Json(QJsonDocument(object).toJson(QJsonDocument::Compact)) << "\n";
    } else {
        for (int i = 0; i < state.Lang_Strings.size(); ++i)
            io.out << i << '\t' << Escape_Entry(state.Lang_Strings[i]) << '\n';
        if (all) {
            for (int i = 0; i < state.Lang_Extended.size(); ++i)
                io.out << Lang_Extended_First + i << '\t' << Escape_Entry(state.Lang_Extended[i]) << '\n';
        }
    }
    io.out.flush();
    return 0;
}

int Cmd_Lang_Check(const QStringList& args, CliIO& io)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return Usage_Error(io, QStringLiteral("lang-check: expected FILE"));

    QString text;
    QString error;
    if (!Read_Language_Text(args[0], text, error)) {
        io.err << "loomwright-cli: " << error << "\n";
        io.err.flush();
        return 2;
    }

    const int langCount = Lang_Table_Size;
    QHash<int, qsizetype> setAt;  // entry index -> line that last set it
    qsizetype lines = 0;
    qsizetype reported = 0;
    qsizetype skipped = 0;
    qsizetype cut = 0;
    qsizetype overridden = 0;
    For_Each_Line(text, [&](qsizetype number, QStringView raw) {
        lines = number;
        const Language_Line line = Parse_Language_Line(raw, langCount);
        const QString problem = Problem_Of(line, langCount);
        bool any = false;
        if (!problem.isEmpty()) {
            io.out << "line " << number << ": " << problem << "\n";
            any = true;
            if (line.outcome == Line_Outcome::Applied)
                ++cut;
            else
                ++skipped;
        }
        if (line.outcome == Line_Outcome::Applied) {
            const auto earlier = setAt.constFind(line.index);
            if (earlier != setAt.constEnd()) {
                io.out << "line " << number << ": entry " << line.index << " given again, overrides line "
                       << earlier.value() << "\n";
                any = true;
                ++overridden;
            }
            setAt.insert(line.index, number);
        }
        if (any)
            ++reported;
    });

    io.out << lines << " lines, " << setAt.size() << " entries set; " << reported << " lines reported: "
           << skipped << " skipped, " << cut << " cut or changed, " << overridden << " overriding an earlier line\n";
    io.out.flush();
    return reported == 0 ? 0 : 1;
}

} // namespace lw::cli
