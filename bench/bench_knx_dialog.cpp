// Times the KNX Access dialog with a full 512-row file: its opening (fresh
// table, file loaded, window painted) and its OK (data check of the 512 rows,
// file written, dialog closed). Prints minimum, median and maximum of each over
// a number of rounds (first argument, default 50), in wall-clock time and in
// the CPU time of the program's thread. Runs on the offscreen platform unless
// QT_QPA_PLATFORM names another one.

#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"
#include "knx_access/knx_table_model.h"
#include "lang/language_table.h"
#include "shell/flat_button.h"
#include "shell/messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace lw;

namespace {

constexpr double Budget_Ms = 5.0;

// Every box is a failure of the benchmark's set-up: it is counted and printed.
class Counting_Messages : public Messages {
public:
    void Error(const QString& text) override
    {
        ++count;
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    bool Question(const QString& text) override
    {
        ++count;
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return false;
    }
    int count = 0;
};

// Counts the paint events of a widget, to make sure a timed opening painted the grid.
class Paint_Counter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Wall-clock time and the CPU time of this thread: on a busy machine the wall
// time includes the time other processes held the processor, the CPU time does
// not (nor the wait for the disk while the saved file is synced).
class Stopwatch {
public:
    Stopwatch()
    {
        m_wall.start();
        m_cpu = Thread_Cpu_Ns();
    }
    double Wall_Ms() const { return double(m_wall.nsecsElapsed()) / 1e6; }
    double Cpu_Ms() const { return double(Thread_Cpu_Ns() - m_cpu) / 1e6; }

private:
    static qint64 Thread_Cpu_Ns()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }
    QElapsedTimer m_wall;
    qint64 m_cpu = 0;
};

struct Sample {
    std::vector<double> wall, cpu;
    void Add(const Stopwatch& watch)
    {
        // Both read at once, before anything else runs.
        const double w = watch.Wall_Ms();
        const double c = watch.Cpu_Ms();
        wall.push_back(w);
        cpu.push_back(c);
    }
};

// A row that passes the data check, every cell filled.
KNX_Command_Row Full_Row(int i)
{
    KNX_Command_Row row;
    row.Enable = QStringLiteral("Y");
    row.Source_Address = QStringLiteral("%1.%2.%3").arg(i % 16).arg((i / 16) % 16).arg(i % 256);
    row.Destination_Address = QStringLiteral("%1/%2/%3").arg(i % 32).arg(i % 8).arg(i % 255 + 1);
    row.APCI = i % 2 ? QStringLiteral("Write") : QStringLiteral("Read");
    row.Priority = QStringLiteral("Low");
    row.Format = QStringLiteral("Float16 to Int * 100");
    row.Extended = QStringLiteral("N");
    row.ReTest = QStringLiteral("Y");
    row.On_Command = QStringLiteral("Y");
    row.On_Change = QStringLiteral("Y");
    row.On_Timer = QStringLiteral("Y");
    row.Poll_Time = QStringLiteral("60000");
    row.Position = QString::number((i - 1) * 2);
    row.Bit_Mode = QStringLiteral("No");
    row.Length = QStringLiteral("2");
    row.Mnemonic = QStringLiteral("Command number %1 of the building").arg(i);
    return row;
}

void Print_Line(const char* what, const char* clock, std::vector<double> ms, bool budgeted)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-36s %-4s min %7.3f  median %7.3f  max %7.3f ms%s\n", what, clock, ms.front(), median, ms.back(),
                budgeted ? (median <= Budget_Ms ? "  (median within 5 ms)" : "  (median OVER 5 ms)") : "");
}

void Print(const char* what, const Sample& sample, bool budgeted)
{
    Print_Line(what, "wall", sample.wall, budgeted);
    Print_Line("", "cpu", sample.cpu, budgeted);
}

// Prints why the benchmark cannot go on; the exit code.
int Fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 50;

    QTemporaryDir dir;
    if (!dir.isValid())
        return Fail("no temporary folder");
    ProgramState state;
    Set_Default_Texts(state);
    state.SW_Code = QStringLiteral("KG4315");
    state.Dir_Project = dir.path();
    Set_Files(state);

    Text_Table full = Fresh_KNX_Table();
    for (int r = 1; r <= KNX_Table_Rows; ++r)
        Set_Row(full, r, Full_Row(r));
    const QString written = Write_KNX_Access_File(full, state.File_KNX_Access);
    if (!written.isEmpty())
        return Fail(qPrintable(written));

    Counting_Messages messages;
    TFKNXAccess dialog(state, messages, nullptr);
    Paint_Counter painted;
    dialog.ACG_KNX_in_Write->viewport()->installEventFilter(&painted);

    Sample open, ok, formShow, check, write;
    for (int i = 0; i <= rounds; ++i) {
        // Opening: FormShow from showEvent, then the expose and paint of the window.
        painted.paints = 0;
        Stopwatch opening;
        dialog.show();
        QCoreApplication::processEvents();
        const double openWall = opening.Wall_Ms();
        const double openCpu = opening.Cpu_Ms();
        if (painted.paints == 0)
            return Fail("the grid was not painted during the opening");
        if (!(Row_Of(dialog.Model->Table(), KNX_Table_Rows) == Full_Row(KNX_Table_Rows)))
            return Fail("the file was not loaded");

        // OK: data check of 512 rows, file written, dialog closed.
        Stopwatch closing;
        dialog.Btn_OK->click();
        const double okWall = closing.Wall_Ms();
        const double okCpu = closing.Cpu_Ms();
        if (dialog.isVisible() || dialog.result() != QDialog::Accepted)
            return Fail("OK did not close the dialog");

        // The parts on their own, for orientation.
        Stopwatch formShowWatch;
        dialog.FormShow();
        formShow.Add(formShowWatch);
        Stopwatch checkWatch;
        const Check_Result result = Controllo_dati(dialog.Model->Table());
        check.Add(checkWatch);
        Stopwatch writeWatch;
        const QString error = Write_KNX_Access_File(dialog.Model->Table(), state.File_KNX_Access);
        write.Add(writeWatch);
        if (!result.ok || !error.isEmpty())
            return Fail("check or write failed");

        if (i == 0) {
            // The first round warms caches and fonts up.
            formShow = check = write = Sample();
            continue;
        }
        open.wall.push_back(openWall);
        open.cpu.push_back(openCpu);
        ok.wall.push_back(okWall);
        ok.cpu.push_back(okCpu);
    }
    if (messages.count != 0)
        return 1;

    std::printf("KNX Access dialog, 512-row file of %lld bytes, %d rounds, platform %s\n",
                qlonglong(QFileInfo(state.File_KNX_Access).size()), rounds, qPrintable(QGuiApplication::platformName()));
    Print("opening (reset, load, painted)", open, true);
    Print("OK (check 512 rows, save, close)", ok, true);
    Print("  part: FormShow (reset, load)", formShow, false);
    Print("  part: Controllo_dati", check, false);
    Print("  part: Write_KNX_Access_File", write, false);
    return 0;
}
