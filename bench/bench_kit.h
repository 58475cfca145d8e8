#pragma once
// What the benchmark's parts share: a stopwatch reading wall-clock and CPU
// time together, the samples of one figure with their median and spread, the
// result table, and the full-size files every figure works on.

#include "base/messages.h"
#include "knx_access/knx_access_file.h"
#include "shell/shell_seams.h"

#include <QString>
#include <ctime>
#include <functional>
#include <vector>

namespace lw::bench {

// Nanoseconds of a POSIX clock.
qint64 Clock_Ns(clockid_t clock);

// Wall-clock time and the CPU time of the calling thread. On a busy machine the
// wall time also holds the time other processes had the processor and the wait
// for the disk (the sync of a saved file); the CPU time holds neither.
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart();
    double Wall_Ms() const;
    double Cpu_Ms() const;

private:
    qint64 m_wall = 0;
    qint64 m_cpu = 0;
};

// The samples of one figure, in milliseconds (or in the figure's own unit).
struct Series {
    std::vector<double> wall;
    std::vector<double> cpu;

    void Add(double wallValue, double cpuValue);
    // Both clocks of the stopwatch, read at once.
    void Add(const Stopwatch& watch);
    bool Empty() const { return wall.empty(); }
};

// Median and spread (10th and 90th percentile) of a set of samples.
struct Stats {
    double median = 0;
    double low = 0;
    double high = 0;
    int count = 0;
};
Stats Stats_Of(std::vector<double> values);

// Times action rounds times after warmup untimed rounds.
Series Repeat(int rounds, int warmup, const std::function<void()>& action);

enum class Unit { Ms, MB, Ratio };

// One line of the result table. A figure without a CPU side (memory) leaves
// cpu empty; a figure without a budget has budget 0.
struct Figure {
    QString name;
    Unit unit = Unit::Ms;
    Series samples;
    double budget = 0;
    QString note;
};

// Prints the table: medians and spreads, the budget and whether the median of
// each clock is within it.
void Print_Table(const std::vector<Figure>& figures);

// The machine and its load, for the head of the report.
QString Machine_Summary();
QString Load_Average();

// Full-size content: every column of a row filled, rows that pass the data check.
KNX_Command_Row Full_Row(int row);
// A language file setting all 1200 entries; tag makes the texts of two files differ.
QByteArray Full_Language(const QString& tag);

// A project folder with both files at full size (every element of the
// settings, 512 rows) and its bin folder. Returns an empty text, or why not.
QString Write_Full_Project(const QString& dirProject);

// A program folder as the configurator finds it: the language files "Bench_A"
// and "Bench_B" (1200 entries each), the project "Bench" with both files at full
// size, and a settings file naming that project and "Bench_A".
// Returns an empty text, or why it could not be written.
QString Prepare_App_Folder(const QString& dirApp);
inline const QString Bench_Project = QStringLiteral("Bench");

// Seams that stay inside the machine: no version query, no browser, an echo
// client that refuses every echo, a runner that starts nothing. The language
// load and the image compiler are the real ones.
Shell_Seams Offline_Seams();

// Message boxes of a benchmark: errors are counted and printed (each one is a
// fault of the set-up); questions are answered Yes (the delete confirmation).
class Bench_Messages : public Messages {
public:
    void Error(const QString& text) override;
    bool Question(const QString& text) override;
    int errors = 0;
};

} // namespace lw::bench
