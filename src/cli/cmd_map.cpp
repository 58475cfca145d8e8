#include "cli/cli_io.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/memory_map.h"
#include "knx_access/memory_map_picture.h"
#include "lang/language_table.h"
#include "base/program_state.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace lw::cli {

namespace {

int Fail(CliIO& io, const QString& message)
{
    io.err << "loomwright-cli: " << message << "\n";
    io.err.flush();
    return 2;
}

QString Rows_Text(const QList<int>& rows)
{
    QStringList numbers;
    for (int r : rows)
        numbers << QString::number(r);
    if (numbers.size() < 2)
        return numbers.join(QString());
    const QString last = numbers.takeLast();
    return numbers.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// "  bits x-y" for a range that does not cover whole bytes, else nothing.
QString Bits_Suffix(int firstBit, int lastBit, bool always)
{
    if (!always && firstBit % 8 == 0 && lastBit % 8 == 7)
        return {};
    return QStringLiteral("  ") + Bit_Range_Text(firstBit, lastBit);
}

void Print_Text(const Memory_Map& map, const ProgramState& state, QTextStream& out)
{
    for (const Map_Row& row : map.rows) {
        out << "row " << row.row << "  " << Byte_Range_Text(row.first_bit, row.last_bit)
            << Bits_Suffix(row.first_bit, row.last_bit, row.bit_mode);
        const QString mnemonic = row.mnemonic.trimmed();
        if (!mnemonic.isEmpty())
            out << "  " << mnemonic;
        out << "\n";
    }
    for (const Map_Shared& s : map.shared)
        out << "shared rows " << Rows_Text(s.rows) << ": " << Byte_Range_Text(s.first_bit, s.last_bit)
            << Bits_Suffix(s.first_bit, s.last_bit, false) << "\n";
    for (const Map_Overlap& o : map.overlaps)
        out << "OVERLAP rows " << o.row << " and " << o.other << ": " << Byte_Range_Text(o.first_bit, o.last_bit)
            << "\n";
    for (const Map_Not_Placed& n : map.not_placed)
        out << "row " << n.row << " not placed: " << Not_Placed_Reason(n, state) << "\n";
    for (const Map_Free& f : map.free)
        out << "free bytes " << f.first_byte << "-" << f.last_byte << "\n";
}

QString Json_String(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString Json_List(const QList<int>& numbers)
{
    QStringList items;
    for (int n : numbers)
        items << QString::number(n);
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

// The keys in the documented order, one array item a line.
void Print_Json(const Memory_Map& map, const ProgramState& state, QTextStream& out)
{
    const auto array = [&out](const char* key, const QStringList& items, bool last = false) {
        out << "  \"" << key << "\": [";
        if (!items.isEmpty())
            out << "\n    " << items.join(QStringLiteral(",\n    ")) << "\n  ";
        out << (last ? "]\n" : "],\n");
    };
    QStringList rows;
    for (const Map_Row& row : map.rows)
        rows << QStringLiteral("{\"row\": %1, \"first_bit\": %2, \"last_bit\": %3}")
                    .arg(row.row).arg(row.first_bit).arg(row.last_bit);
    QStringList shared;
    for (const Map_Shared& s : map.shared)
        shared << QStringLiteral("{\"rows\": %1, \"first_bit\": %2, \"last_bit\": %3}")
                      .arg(Json_List(s.rows)).arg(s.first_bit).arg(s.last_bit);
    QStringList overlaps;
    for (const Map_Overlap& o : map.overlaps)
        overlaps << QStringLiteral("{\"rows\": %1, \"first_bit\": %2, \"last_bit\": %3}")
                        .arg(Json_List({o.row, o.other})).arg(o.first_bit).arg(o.last_bit);
    QStringList notPlaced;
    for (const Map_Not_Placed& n : map.not_placed)
        notPlaced << QStringLiteral("{\"row\": %1, \"reason\": %2}").arg(n.row).arg(Json_String(Not_Placed_Reason(n, state)));
    QStringList free;
    for (const Map_Free& f : map.free)
        free << Json_List({f.first_byte, f.last_byte});
    out << "{\n  \"size\": " << map.size << ",\n";
    array("rows", rows);
    array("shared", shared);
    array("overlaps", overlaps);
    array("not_placed", notPlaced);
    array("free", free, true);
    out << "}\n";
}

} // namespace

// Prints how the project's commands table uses the data array: 0 without
// overlaps, 1 with any, 2 when a file cannot be read or written or the
// arguments are wrong. Reads only; --svg writes the picture to its file.
int Cmd_Map(const QStringList& args, CliIO& io)
{
    QString projectDir;
    QString svgFile;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--svg")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Usage_Error(io, QStringLiteral("--svg needs a file name"));
            svgFile = args[++i];
        } else if (a.startsWith(QLatin1String("--svg="))) {
            svgFile = a.mid(6);
            if (svgFile.isEmpty())
                return Usage_Error(io, QStringLiteral("--svg needs a file name"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return Usage_Error(io, QStringLiteral("unknown option '%1'").arg(a));
        } else if (projectDir.isEmpty() && !a.isEmpty()) {
            projectDir = a;
        } else {
            return Usage_Error(io, QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (projectDir.isEmpty())
        return Usage_Error(io, QStringLiteral("map needs a PROJECT_DIR"));
    if (!QFileInfo(projectDir).isDir())
        return Fail(io, QStringLiteral("%1: no such project folder").arg(projectDir));

    ProgramState state;
    Set_Default_Texts(state);
    state.Dir_Project = QDir::cleanPath(projectDir);
    Set_Files(state);
    Text_Table table = Fresh_KNX_Table();
    const KNX_Read_Result read = Read_KNX_Access_File(state.File_KNX_Access, table);
    if (!read.Ok())
        return Fail(io, read.error);
    const Memory_Map map = Build_Memory_Map(table);

    if (!svgFile.isEmpty()) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return Fail(io, QStringLiteral("--svg needs the graphics platform (QT_QPA_PLATFORM=offscreen)"));
        const QString error = Write_Memory_Map_Svg(map, state, svgFile);
        if (!error.isEmpty())
            return Fail(io, error);
    }
    if (json)
        Print_Json(map, state, io.out);
    else
        Print_Text(map, state, io.out);
    return map.overlaps.isEmpty() ? 0 : 1;
}

} // namespace lw::cli
