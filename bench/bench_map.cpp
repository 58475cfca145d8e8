// The memory map and the report at full size: the map of the 512-row project
// computed (as it is, and with every row overlapping its neighbour), the map
// window repainted after an edit of the grid, and loomwright-cli report --pdf
// of that project as a whole process.

#include "bench_parts.h"

#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/memory_map.h"
#include "knx_access/memory_map_window.h"
#include "lang/language_table.h"
#include "widgets/flat_button.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace lw::bench {

namespace {

bool Fail(const char* why)
{
    std::fprintf(stderr, "benchmark set-up failed: %s\n", why);
    return false;
}

double Children_Cpu_Ms()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

bool Bench_Map(const Bench_Options& options, std::vector<Figure>& figures)
{
    ProgramState state;
    Set_Default_Texts(state);
    state.Dir_Project = Join_Path(Join_Path(options.dirApp, QStringLiteral("PROJECTS")), Bench_Project);
    Set_Files(state);

    Text_Table table = Fresh_KNX_Table();
    if (!Read_KNX_Access_File(state.File_KNX_Access, table).Ok())
        return Fail("cannot read the project");
    const int rounds = options.rounds * 10;
    Memory_Map map;
    const Series plain = Repeat(rounds, 5, [&] { map = Build_Memory_Map(table); });
    if (map.rows.size() != KNX_Table_Rows)
        return Fail("the map did not place every row");
    Text_Table overlapping = table;
    for (int r = 1; r <= KNX_Table_Rows; ++r)
        overlapping.Set_Cell(r, Col_Length, QStringLiteral("3"));
    const Series crowded = Repeat(rounds, 5, [&] { map = Build_Memory_Map(overlapping); });
    if (map.overlaps.size() != KNX_Table_Rows - 1)
        return Fail("the overlapping table has not one overlap per neighbour");
    figures.push_back({QStringLiteral("memory map of 512 rows computed"), Unit::Ms, plain, 1, {}});
    figures.push_back({QStringLiteral("  memory map, 512 rows, 511 overlaps"), Unit::Ms, crowded, 1,
                       QStringLiteral("every row overlaps its neighbour by one byte")});

    // The window beside an open dialog; each round edits a Position and waits
    // for the repaint the edit asks for.
    Bench_Messages messages;
    TFKNXAccess dialog(state, messages, nullptr);
    dialog.show();
    dialog.Btn_Memory_Map->click();
    Memory_Map_Window* window = dialog.Map_Tools->Window();
    if (!window || !window->isVisible())
        return Fail("the map window did not open");
    QCoreApplication::processEvents();
    int step = 0;
    const Series repaint = Repeat(options.rounds * 4, 3, [&] {
        ++step;
        dialog.Model->setData(dialog.Model->Cell_Index(1 + step % 500, Col_Position), QString::number(step % 1400),
                              Qt::EditRole);
        window->View->repaint();
    });
    dialog.reject();
    figures.push_back({QStringLiteral("map window repainted after an edit"), Unit::Ms, repaint, 16,
                       QStringLiteral("setData on the grid's model to the end of the picture's paint")});

    // The report as a whole process.
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("report.pdf"));
    Series report;
    for (int i = -2; i < options.processes; ++i) {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const double cpuBefore = Children_Cpu_Ms();
        Stopwatch watch;
        tool.start(options.cli, {QStringLiteral("report"), state.Dir_Project, QStringLiteral("--pdf"), pdf});
        const bool ok = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
        const double wall = watch.Wall_Ms();
        if (!ok)
            return Fail("loomwright-cli report failed");
        if (i >= 0)
            report.Add(wall, Children_Cpu_Ms() - cpuBefore);
    }
    figures.push_back({QStringLiteral("loomwright-cli report --pdf, 512 rows (process)"), Unit::Ms, report, 1000,
                       QStringLiteral("CPU: the child's user and system time")});
    return true;
}

} // namespace lw::bench
