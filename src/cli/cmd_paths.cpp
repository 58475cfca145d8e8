#include "cli/cmd_paths.h"

#include "base/program_state.h"

#include <QFileInfo>

namespace lw::cli {

void Print_Paths(const Data_Folder_Choice& choice, QTextStream& out)
{
    const QString& data = choice.Folder;
    const QString master = Join_Path(data, QStringLiteral("MASTER"));
    const auto line = [&out](const char* name, const QString& path) {
        out << QString::fromLatin1(name).leftJustified(19) << path << "\n";
    };
    line("Program folder:", choice.Program_Folder);
    QString where = choice.Beside_Program ? QStringLiteral(" (beside the program)")
                                          : QStringLiteral(" (the user's data folder)");
    if (!QFileInfo(data).isDir())
        where += QStringLiteral(", not created yet");
    line("Data folder:", data + where);
    line("Settings file:", Join_Path(data, QStringLiteral("Loomwright.xml")));
    line("Configurations:", Join_Path(data, QStringLiteral("PROJECTS")));
    line("Languages:", Join_Path(data, QStringLiteral("LANGUAGE")));
    line("Shipped languages:", choice.Shipped_Languages.isEmpty() ? QStringLiteral("(none found)")
                                                                  : choice.Shipped_Languages);
    line("Firmware:", Join_Path(master, QStringLiteral("Sim4315.sim")));
    line("Updater:", Join_Path(data, QStringLiteral("NetLoader.exe")));
    line("Updater job file:", Join_Path(data, QStringLiteral("NetLoader.xml")));
}

int Cmd_Paths(const QStringList& args, CliIO& io)
{
    if (!args.isEmpty())
        return Usage_Error(io, QStringLiteral("unexpected argument '%1'").arg(args[0]));
    Print_Paths(Choose_Data_Folder(Executable_Folder(), User_Data_Home()), io.out);
    return 0;
}

} // namespace lw::cli
