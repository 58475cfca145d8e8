#include "cli/cmd_update.h"

#include "image/image_compile.h"
#include "lang/language_file.h"
#include "shell/data_folder.h"
#include "shell/settings_file.h"
#include "update/job_file.h"
#include "update/valid_ip.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lw::cli {

namespace {

struct Update_Arguments {
    QString Project_Dir;
    QString Address;
    Update_Options Options;
};

// Returns an empty text when the arguments are usable, else the usage error.
QString Parse_Arguments(const QStringList& args, Update_Arguments& parsed)
{
    bool haveIp = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--ip")) {
            if (i + 1 >= args.size())
                return QStringLiteral("--ip needs an address");
            parsed.Address = args[++i];
            haveIp = true;
        } else if (a.startsWith(QLatin1String("--ip="))) {
            parsed.Address = a.mid(5);
            haveIp = true;
        } else if (a == QLatin1String("--no-firmware")) {
            parsed.Options.Write_Firmware = false;
        } else if (a == QLatin1String("--no-read-firmware")) {
            parsed.Options.Read_Firmware = false;
        } else if (a == QLatin1String("--no-configuration")) {
            parsed.Options.Write_Configuration = false;
        } else if (a == QLatin1String("--no-read-configuration")) {
            parsed.Options.Read_Configuration = false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option '%1'").arg(a);
        } else if (parsed.Project_Dir.isEmpty()) {
            parsed.Project_Dir = a;
        } else {
            return QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (parsed.Project_Dir.isEmpty())
        return QStringLiteral("update needs PROJECT_DIR");
    if (!haveIp)
        return QStringLiteral("update needs --ip ADDRESS");
    return {};
}

// The program state the command works with: folders beside the tool, the
// language the configurator uses there, and the given project. Nothing is
// created or written here.
ProgramState Make_State(const QString& dirApp, const QString& projectDir)
{
    ProgramState state;
    Set_Folder_Paths(state, dirApp);
    Read_Setting(state);
    Set_Product_Texts(state);
    Load_Language(state);
    const QFileInfo project(projectDir);
    state.Name_Project = project.fileName();
    Set_Active_Configuration(state, QDir::cleanPath(project.absoluteFilePath()));
    return state;
}

} // namespace

Update_Road Default_Update_Road()
{
    Update_Road road;
    road.Dir_App = Data_Folder_In_Use();
    road.Compile = [](const ProgramState& state, QString* summary) { return Compile_And_Save_Image(state, summary); };
    road.Make_Echo_Client = [] { return Make_System_Echo_Client(); };
    return road;
}

int Run_Update(const QStringList& args, CliIO& io, const Update_Road& road)
{
    Update_Arguments parsed;
    const QString usage = Parse_Arguments(args, parsed);
    if (!usage.isEmpty())
        return Usage_Error(io, usage);

    const ProgramState state = Make_State(road.Dir_App, parsed.Project_Dir);

    // 1. Compile and save the device image, as Update Device does.
    if (!QFileInfo(state.Dir_Project).isDir()) {
        io.err << "loomwright-cli: the project folder " << state.Dir_Project << " does not exist\n";
        return 1;
    }
    QString summary;
    const QString compileError = road.Compile(state, &summary);
    if (!compileError.isEmpty()) {
        io.err << "loomwright-cli: " << compileError << "\n";
        return 1;
    }
    io.out << "Device image written: " << Join_Path(Join_Path(state.Dir_Project, QStringLiteral("bin")),
                                                    QStringLiteral("bank.bin"));
    if (!summary.isEmpty())
        io.out << " (" << summary << ")";
    io.out << "\n";

    // 2. The converter's address.
    QString ip1, ip2, ip3, ip4;
    if (!Valid_IP(parsed.Address, ip1, ip2, ip3, ip4)) {
        io.err << "loomwright-cli: '" << parsed.Address << "' is not a valid IPv4 address\n";
        return 2;
    }
    const QString host = ip1 + u'.' + ip2 + u'.' + ip3 + u'.' + ip4;

    // 3. The ping test.
    io.out << "Ping " << host << " ...\n";
    io.out.flush();
    std::unique_ptr<Echo_Client> echo = road.Make_Echo_Client();
    System_Ping_Clock systemClock;
    Ping_Clock& clock = road.Clock ? *road.Clock : systemClock;
    const Ping_Test_Result ping = Ping_Test(host, *echo, clock, [] {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    });
    const QString pingText = state.Text(Ping_Message_Index(ping.Outcome));
    if (ping.Outcome != Ping_Outcome::Found) {
        io.out << pingText << "\n";
        if (!ping.Error.isEmpty())
            io.err << "loomwright-cli: " << ping.Error << "\n";
        return 3;
    }
    io.out << pingText << "\n";

    // 4. The job file, then the updater.
    const QString jobError = Compile_XML_Parameter(ip1, ip2, ip3, ip4, parsed.Options, state);
    if (!jobError.isEmpty()) {
        io.err << "loomwright-cli: " << jobError << "\n";
        return 4;
    }
    io.out << "Job file written: " << Job_File_Path(state) << "\n";
    const QString updater = Updater_Path(state);
    io.out << "Starting " << updater << "\n";
    io.out.flush();
    io.err.flush();

    const Run_Result run = Start_Program(updater, QString(), false, road.Runner);
    switch (run.Outcome) {
    case Run_Outcome::Not_Started:
        io.err << "loomwright-cli: the updater was not started: " << run.Error << "\n";
        return 4;
    case Run_Outcome::Still_Running:
        io.out << "The updater (process " << run.Pid << ") is still running after " << run.Elapsed_Ms
               << " ms; stopped waiting, it goes on running on its own.\n";
        return 4;
    case Run_Outcome::Ended:
        break;
    }
    // The updater's own codes are not this tool's: anything but a clean end is 5.
    switch (run.Exit.How) {
    case Process_Exit::Exited:
        io.out << "The updater ended with exit code " << run.Exit.Code << ".\n";
        if (run.Exit.Code == 0)
            return 0;
        io.err << "loomwright-cli: the updater ended with exit code " << run.Exit.Code << "\n";
        return 5;
    case Process_Exit::Signalled:
        io.out << "The updater was ended by signal " << run.Exit.Code << ".\n";
        io.err << "loomwright-cli: the updater was ended by signal " << run.Exit.Code << "\n";
        return 5;
    case Process_Exit::Unknown:
        break;
    }
    io.out << "The updater ended; how it ended is not known.\n";
    return 4;
}

int Cmd_Update(const QStringList& args, CliIO& io)
{
    return Run_Update(args, io, Default_Update_Road());
}

} // namespace lw::cli
