#include "cli/cli_io.h"
#include "cli/cmd_paths.h"

#include "base/program_state.h"

#include <algorithm>

namespace lw::cli {

namespace {

// One command of the tool. synopsis is its usage text: the first line gives
// its arguments, the lines after it (indented) say what it does. The dispatch
// prints it for "--help" and for "COMMAND --help"; a new command needs only
// its row here.
struct Command {
    const char* name;
    int (*run)(const QStringList&, CliIO&);
    const char* synopsis;
};

const Command Commands[] = {
    {"lang", Cmd_Lang, "lang LANGUAGE_DIR NAME [--json] [--all]\n      Print the language table as the configurator builds it (--all: also entries 2000 to 2999)."},
    {"lang-check", Cmd_Lang_Check, "lang-check FILE\n      Report the lines of a language file that are skipped, cut or overridden."},
    {"check", Cmd_Check, "check PROJECT_DIR [--language-dir DIR --language NAME]\n      Run the data checks of both editors on a project."},
    {"compile", Cmd_Compile, "compile PROJECT_DIR [--output FILE] [--no-check]\n"
     "      Run the data checks, then compile a project into its device image bin/bank.bin\n"
     "      (--no-check: compile without the checks, for service work)."},
    {"inspect", Cmd_Inspect, "inspect BANK_BIN [--json]\n      Decode a device image."},
    {"update", Cmd_Update,
     "update PROJECT_DIR --ip ADDRESS [--no-firmware] [--no-read-firmware] [--no-configuration] [--no-read-configuration]\n"
     "      Check and compile, ping the converter, write the updater's job file and run the updater.\n"
     "      Exit codes: 0 the updater ended with 0; 1 a check or the compile stopped; 2 usage or address;\n"
     "      3 the ping failed; 4 the updater did not start or was still running; 5 it ended otherwise."},
    {"import-ga", Cmd_Import_GA,
     "import-ga PROJECT_DIR FILE [--source ADDRESS] [--start-position N] [--dry-run] [--json]\n"
     "      Append the group addresses of a KNX engineering tool export (CSV or XML) to the commands table."},
    {"export-csv", Cmd_Export_Csv, "export-csv PROJECT_DIR [FILE]\n      Write the commands table as CSV (to stdout without FILE)."},
    {"import-csv", Cmd_Import_Csv, "import-csv PROJECT_DIR FILE [--dry-run]\n      Replace the commands table with the rows of a CSV file."},
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
    out << "\nOptions:\n  --help     Show this help.\n  --version  Show the version.\n"
           "  --paths    Show the folders in use: data folder, settings, configurations, languages, updater.\n";
}

bool Is_Help(const QString& arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// True when a write to the stream's device failed: what the tool printed did
// not arrive, so a script must not read the exit code as success.
bool Write_Failed(QTextStream& stream)
{
    stream.flush();
    return stream.status() == QTextStream::WriteFailed;
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
    } else if (Is_Help(args[0])) {
        Print_Help(io.out);
    } else if (args[0] == QLatin1String("--version")) {
        io.out << "loomwright-cli " << SW_Version << "\n";
    } else if (args[0] == QLatin1String("--paths")) {
        code = Cmd_Paths(args.mid(1), io);
    } else {
        code = -1;
        for (const Command& c : Commands) {
            if (args[0] != QLatin1String(c.name))
                continue;
            const QStringList rest = args.mid(1);
            if (std::any_of(rest.begin(), rest.end(), Is_Help)) {
                io.out << "Usage: loomwright-cli " << c.synopsis << "\n";
                code = 0;
            } else {
                code = c.run(rest, io);
            }
            break;
        }
        if (code == -1)
            code = Usage_Error(io, QStringLiteral("unknown command '%1'").arg(args[0]));
    }
    if (Write_Failed(io.out)) {
        io.err << "loomwright-cli: cannot write to standard output\n";
        code = 2;
    }
    if (Write_Failed(io.err))
        code = 2;
    return code;
}

} // namespace lw::cli
