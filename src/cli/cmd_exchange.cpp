// The exchange commands: group addresses from the KNX engineering tool's
// exports into the commands table, and the table to and from CSV.
#include "cli/cli_io.h"

#include "comm_settings/pargen_file.h"
#include "knx_access/csv_table.h"
#include "knx_access/ga_export_reader.h"
#include "knx_access/ga_import.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"
#include "lang/language_table.h"
#include "platform/atomic_file.h"
#include "base/program_state.h"
#include "base/text_rules.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace lw::cli {

namespace {

// Largest CSV file read.
constexpr qint64 Max_Csv_Bytes = qint64(64) << 20;

struct Exchange_Args {
    QStringList positional;
    std::optional<QString> source;
    std::optional<QString> startPosition;
    bool dryRun = false;
    bool json = false;
};

// Splits args into positional arguments and the options allowed (value
// options take "--name VALUE" or "--name=VALUE"). Returns a usage error or an empty text.
QString Parse(const QStringList& args, const QStringList& valueOptions, const QStringList& flags, Exchange_Args& out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            out.positional.append(arg);
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (valueOptions.contains(name)) {
            QString value;
            if (eq >= 0) {
                value = arg.mid(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return QStringLiteral("option %1 needs a value").arg(name);
            }
            (name == QLatin1String("--source") ? out.source : out.startPosition) = value;
        } else if (flags.contains(arg)) {
            (arg == QLatin1String("--json") ? out.json : out.dryRun) = true;
        } else {
            return QStringLiteral("unknown option '%1'").arg(arg);
        }
    }
    return {};
}

int Fail(CliIO& io, int code, const QString& message)
{
    io.err << "loomwright-cli: " << message << "\n";
    io.err.flush();
    return code;
}

// The project's state with the English texts; an error when the folder does not exist.
QString Open_Project(const QString& dir, ProgramState& state)
{
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return QStringLiteral("%1: no such project folder").arg(dir);
    Set_Default_Texts(state);
    state.Dir_Project = dir;
    Set_Files(state);
    return {};
}

// The table of the project as the dialog loads it.
QString Load_Table(const ProgramState& state, Text_Table& table)
{
    table = Fresh_KNX_Table();
    return Read_KNX_Access_File(state.File_KNX_Access, table).error;
}

QString File_Fault(const QString& path, const Exchange_Error& error, const ProgramState& state)
{
    return path + QStringLiteral(": ") + Exchange_Message(error, state);
}

} // namespace

// import-ga PROJECT_DIR FILE [--source ADDRESS] [--start-position N] [--dry-run] [--json]
int Cmd_Import_GA(const QStringList& args, CliIO& io)
{
    Exchange_Args parsed;
    QString usage = Parse(args, {QStringLiteral("--source"), QStringLiteral("--start-position")},
                          {QStringLiteral("--dry-run"), QStringLiteral("--json")}, parsed);
    if (usage.isEmpty() && parsed.positional.size() != 2)
        usage = QStringLiteral("import-ga needs PROJECT_DIR and FILE");
    std::optional<int> start;
    if (usage.isEmpty() && parsed.startPosition) {
        start = Read_Integer(*parsed.startPosition);
        if (!start || *start < 0 || *start >= KNX_Max_Num_Byte)
            usage = QStringLiteral("--start-position takes a byte from 0 to %1").arg(KNX_Max_Num_Byte - 1);
    }
    if (!usage.isEmpty())
        return Usage_Error(io, usage);

    ProgramState state;
    const QString& file = parsed.positional[1];
    if (const QString error = Open_Project(parsed.positional[0], state); !error.isEmpty())
        return Fail(io, 2, error);
    Text_Table table;
    if (const QString error = Load_Table(state, table); !error.isEmpty())
        return Fail(io, 2, error);
    QString source;
    if (parsed.source) {
        source = *parsed.source;
    } else {
        ParGen_Values values;
        if (const QString error = Load_ParGen(state.File_ParGen, values); !error.isEmpty())
            return Fail(io, 2, error);
        source = Strip(values.KNX_ID_DEV);
    }

    const GA_Export exported = Read_GA_Export_File(file);
    if (exported.error.Failed())
        return Fail(io, 2, File_Fault(file, exported.error, state));

    const GA_Plan plan = Plan_GA_Import(table, exported.entries, start);
    for (const GA_Item& item : plan.items) {
        if (item.status != GA_Status::New)
            io.err << "line " << item.entry.line << ": " << Strip(item.entry.address) << ": "
                   << GA_Status_Text(item, state) << "\n";
        else if (!parsed.json && item.size.noteLang)
            io.err << "line " << item.entry.line << ": " << Strip(item.entry.address) << ": warning: "
                   << state.Text(item.size.noteLang) << "\n";
    }
    io.err.flush();

    const GA_Apply_Result applied = Apply_GA_Plan(table, plan, source, true);
    if (!applied.Ok())
        return Fail(io, 1, GA_Apply_Message(applied, plan, state));

    if (parsed.json) {
        QJsonArray imported;
        QJsonArray skipped;
        int row = plan.firstRow;
        for (const GA_Item& item : plan.items) {
            if (item.position >= 0) {
                imported.append(QJsonObject{
                    {QStringLiteral("address"), item.entry.address},
                    {QStringLiteral("name"), item.entry.name},
                    {QStringLiteral("dpt"), item.entry.dpt},
                    {QStringLiteral("position"), item.position},
                    {QStringLiteral("bit_mode"), item.size.Bit_Mode()},
                    {QStringLiteral("length"), item.size.length},
                    {QStringLiteral("row"), row++},
                });
            } else if (item.status != GA_Status::New) {
                skipped.append(QJsonObject{
                    {QStringLiteral("line"), item.entry.line},
                    {QStringLiteral("address"), item.entry.address},
                    {QStringLiteral("reason"), GA_Status_Text(item, state)},
                });
            }
        }
        const QJsonObject result{{QStringLiteral("imported"), imported}, {QStringLiteral("skipped"), skipped}};
        io.out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
    } else {
        io.out << plan.imported << " imported, " << plan.skipped << " skipped\n";
    }
    io.out.flush();

    if (!parsed.dryRun && plan.imported > 0) {
        if (const QString error = Write_KNX_Access_File(table, state.File_KNX_Access); !error.isEmpty())
            return Fail(io, 2, error);
    }
    return 0;
}

// export-csv PROJECT_DIR [FILE]
int Cmd_Export_Csv(const QStringList& args, CliIO& io)
{
    Exchange_Args parsed;
    QString usage = Parse(args, {}, {}, parsed);
    if (usage.isEmpty() && (parsed.positional.isEmpty() || parsed.positional.size() > 2))
        usage = QStringLiteral("export-csv needs PROJECT_DIR and at most one FILE");
    if (!usage.isEmpty())
        return Usage_Error(io, usage);

    ProgramState state;
    if (const QString error = Open_Project(parsed.positional[0], state); !error.isEmpty())
        return Fail(io, 2, error);
    Text_Table table;
    if (const QString error = Load_Table(state, table); !error.isEmpty())
        return Fail(io, 2, error);
    const QByteArray csv = Export_KNX_Csv(table);
    if (parsed.positional.size() == 1) {
        // The bytes as they are, mark included: a text stream would drop the mark.
        io.out.flush();
        if (QIODevice* device = io.out.device())
            device->write(csv);
        else
            io.out << QString::fromUtf8(csv);
        io.out.flush();
        return 0;
    }
    if (const QString error = Write_File_Atomic(parsed.positional[1], csv); !error.isEmpty())
        return Fail(io, 2, error);
    return 0;
}

// import-csv PROJECT_DIR FILE [--dry-run]
int Cmd_Import_Csv(const QStringList& args, CliIO& io)
{
    Exchange_Args parsed;
    QString usage = Parse(args, {}, {QStringLiteral("--dry-run")}, parsed);
    if (usage.isEmpty() && parsed.positional.size() != 2)
        usage = QStringLiteral("import-csv needs PROJECT_DIR and FILE");
    if (!usage.isEmpty())
        return Usage_Error(io, usage);

    ProgramState state;
    const QString& file = parsed.positional[1];
    if (const QString error = Open_Project(parsed.positional[0], state); !error.isEmpty())
        return Fail(io, 2, error);
    QByteArray bytes;
    QString reason;
    if (!Read_File(file, bytes, reason, Max_Csv_Bytes))
        return Fail(io, 2, reason);
    Text_Table table;
    const Exchange_Error error = Import_KNX_Csv(bytes, table);
    if (error.Failed())
        return Fail(io, error.langIndex == Lang_Exchange_Too_Many_Rows ? 1 : 2, File_Fault(file, error, state));
    const Check_Result check = Controllo_dati(table);
    if (!check.ok)
        return Fail(io, 1, Check_Message(check, state));
    if (!parsed.dryRun) {
        if (const QString write = Write_KNX_Access_File(table, state.File_KNX_Access); !write.isEmpty())
            return Fail(io, 2, write);
    }
    return 0;
}

} // namespace lw::cli
