#include "bench_kit.h"

#include "base/program_state.h"
#include "comm_settings/pargen_file.h"
#include "lang/language_table.h"
#include "platform/atomic_file.h"
#include "shell/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lw::bench {

qint64 Clock_Ns(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void Stopwatch::Restart()
{
    m_wall = Clock_Ns(CLOCK_MONOTONIC);
    m_cpu = Clock_Ns(CLOCK_THREAD_CPUTIME_ID);
}

double Stopwatch::Wall_Ms() const
{
    return double(Clock_Ns(CLOCK_MONOTONIC) - m_wall) / 1e6;
}

double Stopwatch::Cpu_Ms() const
{
    return double(Clock_Ns(CLOCK_THREAD_CPUTIME_ID) - m_cpu) / 1e6;
}

void Series::Add(double wallValue, double cpuValue)
{
    wall.push_back(wallValue);
    cpu.push_back(cpuValue);
}

void Series::Add(const Stopwatch& watch)
{
    const double w = watch.Wall_Ms();
    const double c = watch.Cpu_Ms();
    Add(w, c);
}

Stats Stats_Of(std::vector<double> values)
{
    Stats s;
    s.count = int(values.size());
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return values[std::size_t(std::lround(q * double(values.size() - 1)))]; };
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.low = at(0.1);
    s.high = at(0.9);
    return s;
}

Series Repeat(int rounds, int warmup, const std::function<void()>& action)
{
    Series series;
    for (int i = 0; i < warmup + rounds; ++i) {
        Stopwatch watch;
        action();
        if (i >= warmup)
            series.Add(watch);
    }
    return series;
}

namespace {

const char* Unit_Name(Unit unit)
{
    switch (unit) {
    case Unit::Ms: return "ms";
    case Unit::MB: return "MB";
    case Unit::Ratio: return "x";
    }
    return "";
}

QString Number(double value, Unit unit)
{
    return QString::number(value, 'f', unit == Unit::Ms && value >= 100 ? 1 : unit == Unit::Ratio ? 2 : unit == Unit::MB ? 1 : 3);
}

void Print_Row(const QString& name, const char* clock, const Stats& s, const Figure& f)
{
    const QString spread = QStringLiteral("%1 - %2").arg(Number(s.low, f.unit), Number(s.high, f.unit));
    QString budget;
    QString verdict;
    if (f.budget > 0) {
        budget = QStringLiteral("%1 %2").arg(QString::number(f.budget), QLatin1String(Unit_Name(f.unit)));
        verdict = s.median <= f.budget ? QStringLiteral("ok") : QStringLiteral("OVER");
    }
    std::printf("| %-44s | %-4s | %9s %-2s | %-19s | %4d | %-9s | %-4s |\n", qPrintable(name), clock,
                qPrintable(Number(s.median, f.unit)), Unit_Name(f.unit), qPrintable(spread), s.count,
                qPrintable(budget), qPrintable(verdict));
}

} // namespace

void Print_Table(const std::vector<Figure>& figures)
{
    std::printf("| %-44s | %-4s | %12s | %-19s | %4s | %-9s | %-4s |\n", "Figure", "time", "median", "spread p10 - p90",
                "n", "budget", "");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(6, '-').c_str(),
                std::string(14, '-').c_str(), std::string(21, '-').c_str(), std::string(6, '-').c_str(),
                std::string(11, '-').c_str(), std::string(6, '-').c_str());
    for (const Figure& f : figures) {
        if (f.samples.cpu.empty()) {
            Print_Row(f.name, "-", Stats_Of(f.samples.wall), f);
            continue;
        }
        Print_Row(f.name, "cpu", Stats_Of(f.samples.cpu), f);
        Print_Row(QString(), "wall", Stats_Of(f.samples.wall), f);
    }
    bool notes = false;
    for (const Figure& f : figures) {
        if (f.note.isEmpty())
            continue;
        if (!notes)
            std::printf("\n");
        notes = true;
        std::printf("%s: %s\n", qPrintable(f.name.trimmed()), qPrintable(f.note));
    }
}

QString Machine_Summary()
{
    QString model;
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
                break;
            }
        }
    }
    qint64 memoryKb = 0;
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : meminfo.readAll().split('\n')) {
            if (line.startsWith("MemTotal:"))
                memoryKb = line.mid(9).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return QStringLiteral("%1 processors (nproc), %2, %3 MB memory, %4, Qt %5")
        .arg(QThread::idealThreadCount())
        .arg(model.isEmpty() ? QStringLiteral("unknown processor") : model)
        .arg(memoryKb / 1024)
        .arg(QSysInfo::prettyProductName(), QLatin1String(qVersion()));
}

QString Load_Average()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> parts = file.readAll().split(' ');
    return QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(parts.value(0)), QString::fromLatin1(parts.value(1)),
                                          QString::fromLatin1(parts.value(2)));
}

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

QByteArray Full_Language(const QString& tag)
{
    // Texts of the length of real entries, some of them with accented letters.
    QByteArray text = "; Benchmark language " + tag.toUtf8() + "\r\n";
    for (int i = 0; i < Lang_Table_Size; ++i) {
        text += QStringLiteral("STR%1 =%2 entry %3: caption \u00e0 \u00e9 of the window").arg(i).arg(tag).arg(i).toUtf8();
        text += "\r\n";
    }
    return text;
}

namespace {

QString Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1").arg(path);
    return {};
}

} // namespace

QString Write_Full_Project(const QString& dirProject)
{
    ProgramState state;
    Set_Active_Configuration(state, dirProject);
    if (!QDir().mkpath(Join_Path(dirProject, QStringLiteral("bin"))))
        return QStringLiteral("cannot create %1").arg(dirProject);
    ParGen_Values values;
    values.KNX_TYPE = 1;
    values.PROFINET_EN_GAT = true;
    values.PROFINET_NAME_STA = QStringLiteral("converter-hall-3");
    QString error = Save_ParGen(values, state.File_ParGen);
    if (error.isEmpty()) {
        Text_Table table = Fresh_KNX_Table();
        for (int r = 1; r <= KNX_Table_Rows; ++r)
            Set_Row(table, r, Full_Row(r));
        error = Write_KNX_Access_File(table, state.File_KNX_Access);
    }
    return error;
}

QString Prepare_App_Folder(const QString& dirApp)
{
    ProgramState state;
    Set_Folders(state, dirApp);
    for (const QString& name : {QStringLiteral("Bench_A"), QStringLiteral("Bench_B")}) {
        const QString error = Write(Join_Path(state.Dir_Language, name + QStringLiteral(".lng")), Full_Language(name));
        if (!error.isEmpty())
            return error;
    }
    state.Name_Project = Bench_Project;
    state.Language_Name = QStringLiteral("Bench_A");
    const QString error = Write_Full_Project(Join_Path(state.Dir_Projects, Bench_Project));
    return error.isEmpty() ? Save_Setting(state) : error;
}

namespace {

class Refusing_Echo : public Echo_Client {
public:
    Echo_Result Echo(const QString&, const QByteArray&, quint16, int) override
    {
        Echo_Result r;
        r.Error = QStringLiteral("no network in the benchmark");
        return r;
    }
};

} // namespace

Shell_Seams Offline_Seams()
{
    Shell_Seams seams;
    seams.Check_Version = [] { return false; };
    seams.Download_Link = QStringLiteral("http://downloads.bench.invalid/");
    seams.Open_Url = [](const QUrl&) {};
    seams.Make_Echo_Client = [] { return std::make_unique<Refusing_Echo>(); };
    seams.Start_Program = [](const QString&, const QString&, bool, const Run_Waiting&) {
        Run_Result run;
        run.Outcome = Run_Outcome::Ended;
        run.Exit = {Process_Exit::Exited, 0};
        return run;
    };
    return seams;
}

void Bench_Messages::Error(const QString& text)
{
    ++errors;
    std::fprintf(stderr, "error box: %s\n", qPrintable(text));
}

bool Bench_Messages::Question(const QString&)
{
    return true;
}

} // namespace lw::bench
