#include "cli/cli_io.h"

#include "base/program_state.h"
#include "comm_settings/pargen_file.h"
#include "image/image_check.h"
#include "lang/language_file.h"
#include "lang/language_table.h"

#include <QFileInfo>
#include <optional>

namespace lw::cli {

namespace {

struct Check_Args {
    QString projectDir;
    std::optional<QString> languageDir;
    std::optional<QString> language;
};

// Takes the value of "--name VALUE" or "--name=VALUE"; false when args[i] is not that option.
bool Take_Option(const QStringList& args, qsizetype& i, const QString& name, std::optional<QString>& value,
                 QString& error)
{
    const QString& arg = args[i];
    if (arg.startsWith(name + u'=')) {
        value = arg.mid(name.size() + 1);
    } else if (arg == name) {
        if (i + 1 >= args.size()) {
            error = QStringLiteral("option %1 needs a value").arg(name);
            return true;
        }
        value = args[++i];
    } else {
        return false;
    }
    return true;
}

QString Parse(const QStringList& args, Check_Args& out)
{
    QString error;
    for (qsizetype i = 0; i < args.size() && error.isEmpty(); ++i) {
        if (Take_Option(args, i, QStringLiteral("--language-dir"), out.languageDir, error)
            || Take_Option(args, i, QStringLiteral("--language"), out.language, error))
            continue;
        const QString& arg = args[i];
        if (arg.startsWith(u'-') && arg.size() > 1)
            error = QStringLiteral("unknown option '%1'").arg(arg);
        else if (!out.projectDir.isEmpty())
            error = QStringLiteral("unexpected argument '%1'").arg(arg);
        else if (arg.isEmpty())
            error = QStringLiteral("the project folder is empty");
        else
            out.projectDir = arg;
    }
    if (error.isEmpty() && out.projectDir.isEmpty())
        error = QStringLiteral("check needs a PROJECT_DIR");
    if (error.isEmpty() && out.languageDir.has_value() != out.language.has_value())
        error = QStringLiteral("--language-dir and --language go together");
    return error;
}

int File_Error(CliIO& io, const QString& message)
{
    io.err << "loomwright-cli: " << message << "\n";
    io.err.flush();
    return 2;
}

int Check_Failed(CliIO& io, const Check_Result& result, const ProgramState& state)
{
    io.out << Check_Message(result, state) << "\n";
    io.out.flush();
    return 1;
}

} // namespace

// Runs both data checks on a project as the two editors would on OK: 0 when
// both pass, 1 with the first failure's message on stdout, 2 when a file
// cannot be read or the arguments are wrong.
int Cmd_Check(const QStringList& args, CliIO& io)
{
    Check_Args parsed;
    const QString usage = Parse(args, parsed);
    if (!usage.isEmpty())
        return Usage_Error(io, usage);
    if (!QFileInfo(parsed.projectDir).isDir())
        return File_Error(io, QStringLiteral("%1: no such project folder").arg(parsed.projectDir));

    ProgramState state;
    if (parsed.language) {
        state.Dir_Language = *parsed.languageDir;
        state.Language_Name = *parsed.language;
        Load_Language(state);
    } else {
        Set_Default_Texts(state);
    }
    Set_Active_Configuration(state, parsed.projectDir);

    const image::Project_Check check = image::Check_Project(state, false);
    if (check.ParGen_Not_Rooted)
        io.err << "loomwright-cli: warning: " << ParGen_Not_Rooted_Warning(state.File_ParGen) << "\n";
    switch (check.Stop) {
    case image::Check_Stop::File:
        return File_Error(io, check.Message);
    case image::Check_Stop::Check:
        return Check_Failed(io, check.Result, state);
    case image::Check_Stop::None:
        break;
    }
    return 0;
}

} // namespace lw::cli
