// Figures of the group-address import and the CSV exchange: reading a
// 100 000-line export, the preview of a 20 000-address export from the file
// to the filled, shown preview, and loomwright-cli import-ga of 500 addresses
// as a process against loomwright-cli --version.

#include "bench_parts.h"

#include "knx_access/ga_export_reader.h"
#include "knx_access/ga_preview_dialog.h"
#include "platform/atomic_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace lw::bench {

namespace {

// An export with three name columns: a main range per 2048 addresses, a middle
// range per 256, then the addresses, with datapoint types of every size.
QByteArray Three_Name_Export(int lines)
{
    static const char* const types[] = {"DPST-1-1", "DPST-5-1", "DPST-9-1", "DPST-12-1", "DPST-14-56", "DPST-16-0", ""};
    QByteArray text = "\"Main\";\"Middle\";\"Sub\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";"
                      "\"DatapointType\";\"Security\"\r\n";
    int written = 1;
    for (int value = 1; written < lines; ++value) {
        const int address = value % 65536;
        const int main = address / 2048, middle = (address / 256) % 8, sub = address % 256;
        if (address % 2048 == 1 && written < lines) {
            text += "\"Main " + QByteArray::number(main) + "\";\"\";\"\";\"" + QByteArray::number(main) + "/-/-\";\"\";\"\";\"\";\"\";\"Auto\"\r\n";
            ++written;
        }
        if (address % 256 == 1 && written < lines) {
            text += "\"\";\"Middle " + QByteArray::number(middle) + "\";\"\";\"" + QByteArray::number(main) + "/"
                + QByteArray::number(middle) + "/-\";\"\";\"\";\"\";\"\";\"Auto\"\r\n";
            ++written;
        }
        if (written >= lines)
            break;
        text += "\"\";\"\";\"Address " + QByteArray::number(value) + " of the plant\";\"" + QByteArray::number(main) + "/"
            + QByteArray::number(middle) + "/" + QByteArray::number(sub) + "\";\"\";\"\";\"A description\";\""
            + types[value % 7] + "\";\"Auto\"\r\n";
        ++written;
    }
    return text;
}

// A one-name export of count addresses.
QByteArray One_Name_Export(int count)
{
    QByteArray text = "\"Group name\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";\"DatapointType\";\"Security\"\r\n";
    for (int i = 1; i <= count; ++i)
        text += "\"Point " + QByteArray::number(i) + "\";\"2/" + QByteArray::number(i / 256) + "/"
            + QByteArray::number(i % 256) + "\";\"\";\"\";\"\";\"DPST-1-1\";\"Auto\"\r\n";
    return text;
}

// Starts program with arguments (output to /dev/null), waits; wall and CPU ms, false on failure.
bool Run(const QString& program, const QStringList& arguments, double& wallMs, double& cpuMs)
{
    QList<QByteArray> args{QFile::encodeName(program)};
    for (const QString& a : arguments)
        args.append(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const Stopwatch watch;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid)
        return false;
    wallMs = watch.Wall_Ms();
    cpuMs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool Bench_Exchange(const Bench_Options& options, std::vector<Figure>& figures)
{
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("export-100000.csv"));
    const QString preview = dir.filePath(QStringLiteral("export-20000.csv"));
    const QString small = dir.filePath(QStringLiteral("export-500.csv"));
    const QString project = dir.filePath(QStringLiteral("project"));
    QDir().mkpath(project);
    if (!Write_File_Atomic(big, Three_Name_Export(100000)).isEmpty()
        || !Write_File_Atomic(preview, One_Name_Export(20000)).isEmpty()
        || !Write_File_Atomic(small, One_Name_Export(500)).isEmpty()) {
        std::fprintf(stderr, "exchange: the exports cannot be written\n");
        return false;
    }

    const Series read = Repeat(std::max(3, options.rounds / 3), 1, [&] {
        if (Read_GA_Export_File(big).entries.isEmpty())
            std::abort();
    });
    figures.push_back({QStringLiteral("GA export, 100 000 lines: read"), Unit::Ms, read, 1000, {}});

    ProgramState state;
    state.SW_Code = QStringLiteral("KG4315");
    Bench_Messages messages;
    const Text_Table table = Fresh_KNX_Table();
    const Series shown = Repeat(std::max(3, options.rounds / 3), 1, [&] {
        TFGAPreview dialog(state, messages, nullptr);
        dialog.Load(table, Read_GA_Export_File(preview).entries, QStringLiteral("1.1.200"));
        dialog.show();
        QApplication::processEvents();
        dialog.Grid_Preview->viewport()->repaint();
        dialog.hide();
    });
    figures.push_back({QStringLiteral("GA preview, 20 000: file to shown"), Unit::Ms, shown, 100,
                       QStringLiteral("read, classify, lay out, show and paint the first screen")});

    Series version, import, ratio;
    const QString knxFile = QDir(project).filePath(QStringLiteral("KNX_SetAccess.xml"));
    for (int i = 0; i < options.processes; ++i) {
        QFile::remove(knxFile);
        double vWall = 0, vCpu = 0, iWall = 0, iCpu = 0;
        if (!Run(options.cli, {QStringLiteral("--version")}, vWall, vCpu)
            || !Run(options.cli, {QStringLiteral("import-ga"), project, small}, iWall, iCpu)) {
            std::fprintf(stderr, "exchange: loomwright-cli failed\n");
            return false;
        }
        version.Add(vWall, vCpu);
        import.Add(iWall, iCpu);
        ratio.Add(iWall / vWall, iCpu / vCpu);
    }
    figures.push_back({QStringLiteral("cli import-ga, 500 addresses (process)"), Unit::Ms, import, 0, {}});
    figures.push_back({QStringLiteral("import-ga / --version, same run"), Unit::Ratio, ratio, 2,
                       QStringLiteral("ratio per run; import-ga's wall time holds the sync of KNX_SetAccess.xml")});
    return true;
}

} // namespace lw::bench
