#include "cli/cli_io.h"

#include "shell/program_state.h"

#include <algorithm>

namespace lw::cli {

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&, CliIO&);
    const char* synopsis;
};

const Command Commands[] = {
    {"lang", Cmd_Lang, "lang LANGUAGE_DIR NAME [--json] [--all]\n      Print the language table as the configurator builds it (--all: also entries 2000 to 2999)."},
    {"lang-check", Cmd_Lang_Check, "lang-check FILE\n      Report the lines of a language file that are skipped, cut or overridden."},
    {"check", Cmd_Check, "check PROJECT_DIR [--language-dir DIR --language NAME]\n      Run the data checks of both editors on a project."},
    {"compile", Cmd_Compile, "compile PROJECT_DIR [--output FILE]\n      Compile a project into its device image bin/bank.bin."},
    {"inspect", Cmd_Inspect, "inspect BANK_BIN [--json]\n      Decode a device image."},
    {"update", Cmd_Update,
     "update PROJECT_DIR --ip ADDRESS [--no-firmware] [--no-read-firmware] [--no-configuration] [--no-read-configuration]\n"
     "      Compile, ping the converter, write the updater's job file and run the updater."},
    {"map", Cmd_Map, "map PROJECT_DIR [--json] [--svg FILE]\n      Show how the commands use the data array: shared ranges, overlaps, free bytes."},
    {"report", Cmd_Report, "report PROJECT_DIR (--pdf FILE | --html FILE)\n      Write the commissioning report of a project."},
};

void Print_Help(QTextStream& out)
{
    out << "Usage: loomwright-cli COMMAND [ARGUMENTS]\n"
           "Command-line companion of the Loomwright configurator for the KG4315 converter (SNMP / KNX).\n\n"
           "Commands:\n";
    for (const Command& c : Commands)
        out << "  " << c.synopsis << "\n";
    out << "\nOptions:\n  --help     Show this help.\n  --version  Show the version.\n";
}

} // namespace

bool Needs_Painting(const QStringList& args)
{
    if (args.isEmpty())
        return false;
    if (args[0] == QLatin1String("report"))
        return true;
    return args[0] == QLatin1String("map")
        && std::any_of(args.begin() + 1, args.end(), [](const QString& a) { return a.startsWith(QLatin1String("--svg")); });
}

int Run_Cli(const QStringList& args, CliIO& io)
{
    int code = 0;
    if (args.isEmpty()) {
        Print_Help(io.err);
        code = 2;
    } else if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        Print_Help(io.out);
    } else if (args[0] == QLatin1String("--version")) {
        io.out << "loomwright-cli " << SW_Version << "\n";
    } else {
        code = -1;
        for (const Command& c : Commands) {
            if (args[0] == QLatin1String(c.name)) {
                code = c.run(args.mid(1), io);
                break;
            }
        }
        if (code == -1)
            code = Usage_Error(io, QStringLiteral("unknown command '%1'").arg(args[0]));
    }
    io.out.flush();
    io.err.flush();
    return code;
}

} // namespace lw::cli
