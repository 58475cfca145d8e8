// Figures of whole processes: the configurator's first start-up and its peak
// memory (this program started again as a child that builds the same windows
// as the configurator's main()), and loomwright-cli compile against
// loomwright-cli --version, each started and awaited as a process.

#include "bench_parts.h"

#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_table_model.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace lw::bench {

namespace {

struct Process_Run {
    bool ok = false;       // started and exited with code 0
    qint64 started = 0;    // CLOCK_MONOTONIC just before the start
    double wall_ms = 0;    // start to exit
    double cpu_ms = 0;     // user and system time of the process
};

double Ms(const timeval& t)
{
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

// Starts program with arguments (its output goes to /dev/null) and waits for it.
Process_Run Run_Process(const QString& program, const QStringList& arguments)
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
    Process_Run run;
    pid_t pid = 0;
    run.started = Clock_Ns(CLOCK_MONOTONIC);
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wall_ms = double(Clock_Ns(CLOCK_MONOTONIC) - run.started) / 1e6;
    run.cpu_ms = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The peak resident memory of this process so far, in kilobytes.
qint64 Peak_Memory_Kb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

std::map<QString, double> Read_Results(const QString& path)
{
    std::map<QString, double> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            values[QString::fromLatin1(parts[0])] = parts[1].toDouble();
    }
    return values;
}

bool Fail(const char* why)
{
    std::fprintf(stderr, "benchmark set-up failed: %s\n", why);
    return false;
}

bool Cold_Start(const Bench_Options& options, std::vector<Figure>& figures)
{
    QTemporaryDir results;
    Series window, process, startMemory, knxMemory;
    for (int i = 0; i < options.processes; ++i) {
        const QString file = results.filePath(QStringLiteral("child%1.txt").arg(i));
        const Process_Run run = Run_Process(options.self, {QStringLiteral("--child"), options.dirApp, file});
        std::map<QString, double> values = Read_Results(file);
        if (!run.ok || values.size() != 6)
            return Fail("the start-up child failed");
        window.Add(values["window_wall_ms"], values["window_cpu_ms"]);
        process.Add(double(qint64(values["ready_ns"]) - run.started) / 1e6, values["ready_cpu_ms"]);
        startMemory.wall.push_back(values["hwm_start_kb"] / 1024);
        knxMemory.wall.push_back(values["hwm_knx_kb"] / 1024);
    }
    figures.push_back({QStringLiteral("start-up: window + every dialog, cold"), Unit::Ms, window, 100,
                       QStringLiteral("first window of a fresh process, from its creation to show()")});
    figures.push_back({QStringLiteral("start-up: whole process, exec to event loop"), Unit::Ms, process, 100,
                       QStringLiteral("process start, libraries, QApplication, window + dialogs, show()")});
    figures.push_back({QStringLiteral("peak memory (VmHWM) after start-up"), Unit::MB, startMemory, 80, {}});
    figures.push_back({QStringLiteral("peak memory after KNX Access, 512 rows"), Unit::MB, knxMemory, 80, {}});
    return true;
}

bool Command_Line(const Bench_Options& options, std::vector<Figure>& figures)
{
    const QString projects = Join_Path(options.dirApp, QStringLiteral("PROJECTS"));
    const QString project = Join_Path(projects, Bench_Project);
    // A project without files compiles the defaults: what is left is the
    // process, the checks of the folders and the atomic, synced write of bank.bin.
    const QString empty = Join_Path(projects, QStringLiteral("Empty"));
    if (!QDir().mkpath(Join_Path(empty, QStringLiteral("bin"))))
        return Fail("cannot create the empty project");
    Series version, compile, write, ratio, withoutWrite;
    const int rounds = options.processes * 2;
    for (int i = -2; i < rounds; ++i) {
        // In threes, so that all see the same load of the machine.
        const Process_Run v = Run_Process(options.cli, {QStringLiteral("--version")});
        const Process_Run e = Run_Process(options.cli, {QStringLiteral("compile"), empty});
        const Process_Run c = Run_Process(options.cli, {QStringLiteral("compile"), project});
        if (!v.ok || !e.ok || !c.ok)
            return Fail("loomwright-cli failed");
        if (i < 0)
            continue;
        version.Add(v.wall_ms, v.cpu_ms);
        write.Add(e.wall_ms, e.cpu_ms);
        compile.Add(c.wall_ms, c.cpu_ms);
        ratio.Add(c.wall_ms / v.wall_ms, c.cpu_ms / v.cpu_ms);
        withoutWrite.Add((c.wall_ms - e.wall_ms + v.wall_ms) / v.wall_ms, (c.cpu_ms - e.cpu_ms + v.cpu_ms) / v.cpu_ms);
    }
    figures.push_back({QStringLiteral("loomwright-cli --version (process)"), Unit::Ms, version, 0, {}});
    figures.push_back({QStringLiteral("loomwright-cli compile, 512 rows (process)"), Unit::Ms, compile, 0, {}});
    figures.push_back({QStringLiteral("  loomwright-cli compile, no files (process)"), Unit::Ms, write, 0,
                       QStringLiteral("defaults only: the process and the atomic, synced write of bank.bin")});
    figures.push_back({QStringLiteral("compile / --version, same run"), Unit::Ratio, ratio, 1.3,
                       QStringLiteral("ratio per run of the three; the compile's wall time holds the sync of bank.bin")});
    figures.push_back({QStringLiteral("  the same without the atomic write"), Unit::Ratio, withoutWrite, 0,
                       QStringLiteral("(compile - compile of no files + --version) / --version, per run")});
    return true;
}

} // namespace

bool Bench_Processes(const Bench_Options& options, std::vector<Figure>& figures)
{
    return Cold_Start(options, figures) && Command_Line(options, figures);
}

int Run_Child(int argc, char** argv, const QString& dirApp, const QString& resultFile)
{
    QApplication app(argc, argv);
    Stopwatch creation;
    ProgramState state;
    Bench_Messages messages;
    TFLoomwrightFirmWare window(state, messages, dirApp, Offline_Seams());
    window.show();
    const double windowWall = creation.Wall_Ms();
    const double windowCpu = creation.Cpu_Ms();
    const qint64 ready = Clock_Ns(CLOCK_MONOTONIC);
    const double readyCpu = double(Clock_Ns(CLOCK_PROCESS_CPUTIME_ID)) / 1e6;
    QCoreApplication::processEvents();
    const qint64 startMemory = Peak_Memory_Kb();

    auto* knx = window.findChild<TFKNXAccess*>(QStringLiteral("FKNXAccess"));
    if (!knx)
        return 1;
    knx->FormShow();
    knx->show();
    QCoreApplication::processEvents();
    if (knx->Model->Table().Cell(KNX_Table_Rows, Col_Source_Address).isEmpty() || messages.errors)
        return 1;
    const qint64 knxMemory = Peak_Memory_Kb();

    QFile out(resultFile);
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(QStringLiteral("window_wall_ms %1\nwindow_cpu_ms %2\nready_ns %3\nready_cpu_ms %4\nhwm_start_kb %5\n"
                             "hwm_knx_kb %6\n")
                  .arg(windowWall, 0, 'f', 4)
                  .arg(windowCpu, 0, 'f', 4)
                  .arg(ready)
                  .arg(readyCpu, 0, 'f', 4)
                  .arg(startMemory)
                  .arg(knxMemory)
                  .toLatin1());
    return out.error() == QFileDevice::NoError ? 0 : 1;
}

} // namespace lw::bench
