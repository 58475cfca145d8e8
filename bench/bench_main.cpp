// loomwright-bench: every user action of the configurator at full size (a
// 512-row KNX_SetAccess.xml with every column filled, 1200-entry language
// files), timed repeatedly in CPU and wall-clock time, printed as one table
// with medians, spreads and budgets. Measurements only: nothing here passes or
// fails on time. Runs on the offscreen platform unless QT_QPA_PLATFORM names
// another one.
//
//   loomwright-bench [--rounds N] [--processes N] [--part windows|image|map|processes|exchange]
//   loomwright-bench --write-project DIR
//
// --part runs one part alone (under a profiler, say); the default is all four.
// --write-project writes the benchmark's 512-row project into DIR and stops.

#include "bench_parts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

using namespace lw::bench;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        return Run_Child(childArgc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-project") == 0) {
        const QString error = Write_Full_Project(QString::fromLocal8Bit(argv[2]));
        if (!error.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(error));
        return error.isEmpty() ? 0 : 1;
    }
    Bench_Options options;
    QString part;
    for (int i = 1; i < argc; i += 2) {
        const QString value = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (std::strcmp(argv[i], "--rounds") == 0 && value.toInt() > 0)
            options.rounds = value.toInt();
        else if (std::strcmp(argv[i], "--processes") == 0 && value.toInt() > 0)
            options.processes = value.toInt();
        else if (std::strcmp(argv[i], "--part") == 0 && !value.isEmpty())
            part = value;
        else {
            std::fprintf(stderr, "usage: loomwright-bench [--rounds N] [--processes N] [--part windows|image|map|processes|exchange]\n");
            return 2;
        }
    }
    options.self = QCoreApplication::applicationFilePath();
    options.cli = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("loomwright-cli"));

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    options.dirApp = QDir::cleanPath(dir.path());
    const QString prepared = Prepare_App_Folder(options.dirApp);
    if (!prepared.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(prepared));
        return 1;
    }

    const QString loadBefore = Load_Average();
    std::vector<Figure> figures;
    const auto run = [&](const char* name, bool (*bench)(const Bench_Options&, std::vector<Figure>&)) {
        return (!part.isEmpty() && part != QLatin1String(name)) || bench(options, figures);
    };
    const bool ok = run("windows", Bench_Windows) && run("image", Bench_Image) && run("map", Bench_Map)
        && run("processes", Bench_Processes) && run("exchange", Bench_Exchange);
    if (!ok)
        return 1;

    std::printf("Machine: %s\n", qPrintable(Machine_Summary()));
    std::printf("Platform %s; %d rounds per in-process figure, %d processes per start-up figure, %d runs of "
                "the three loomwright-cli commands\n",
                qPrintable(QGuiApplication::platformName()), options.rounds, options.processes, options.processes * 2);
    std::printf("Load average (1, 5, 15 min): %s before, %s after\n\n", qPrintable(loadBefore),
                qPrintable(Load_Average()));
    Print_Table(figures);
    return 0;
}
