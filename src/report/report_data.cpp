#include "report/report_data.h"

#include "comm_settings/comm_check.h"
#include "image/image_compile.h"
#include "image/image_layout.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"
#include "base/text_rules.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace lw {

namespace {

enum : int {
    Txt_Map = 2400,
    Txt_Overlap = 2415,
    Txt_Shared = 2416,
    Txt_Not_Placed = 2417,
    Txt_No_Overlaps = 2419,
    Txt_Title = 2420,
    Txt_Project = 2421,
    Txt_When = 2422,
    Txt_Version = 2423,
    Txt_Settings = 2424,
    Txt_KNX_Address = 2425,
    Txt_IP = 2426,
    Txt_Mask = 2427,
    Txt_Gateway = 2428,
    Txt_Not_Used = 2429,
    Txt_Station = 2430,
    Txt_Table = 2431,
    Txt_KNX_Type = 2432,
    Txt_Check = 2433,
    Txt_Check_Passed = 2434,
    Txt_Image = 2435,
    Txt_Size = 2436,
    Txt_Commands = 2437,
    Txt_Checksum = 2438,
    Txt_Warnings = 2440,
    Txt_Image_Not_Built = 2445,
    Txt_No_Rows = 2446,
};

QString Esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString Address(const QString& a, const QString& b, const QString& c, const QString& d)
{
    return QStringList{a, b, c, d}.join(u'.');
}

QString Row_List(const QList<int>& rows)
{
    QStringList numbers;
    for (int r : rows)
        numbers << QString::number(r);
    return numbers.join(QStringLiteral(", "));
}

} // namespace

QString Gather_Report(const QString& projectDir, const Text_Table* table, const ProgramState& state, Report_Data& data)
{
    ProgramState files;
    files.Dir_Project = QDir::cleanPath(projectDir);
    Set_Files(files);

    data.project_name = QFileInfo(files.Dir_Project).fileName();
    data.when = QDateTime::currentDateTime();
    data.version = QString::fromLatin1(SW_Version);

    const QString parGenError = Load_ParGen(files.File_ParGen, data.settings);
    if (!parGenError.isEmpty())
        return parGenError;
    if (table) {
        data.table = *table;
    } else {
        data.table = Fresh_KNX_Table();
        const KNX_Read_Result read = Read_KNX_Access_File(files.File_KNX_Access, data.table);
        if (!read.Ok())
            return read.error;
    }
    Set_KNX_Headers(data.table, state);
    data.last_row = 0;
    while (data.last_row < KNX_Table_Rows && data.last_row + 1 < data.table.Row_Count()
           && !Strip_View(data.table.Cell(data.last_row + 1, Col_Source_Address)).isEmpty())
        ++data.last_row;
    data.map = Build_Memory_Map(data.table);

    data.check = Controllo_Dati(data.settings);
    if (data.check.ok)
        data.check = Controllo_dati(data.table);
    if (!data.check.ok)
        return {};

    // The compile reads the commands file; the grid's table is written to a
    // temporary copy first, so that the project's own file stays untouched.
    QString knxFile = files.File_KNX_Access;
    QTemporaryDir scratch;
    if (table) {
        if (!scratch.isValid())
            return QStringLiteral("cannot create a temporary folder: %1").arg(scratch.errorString());
        knxFile = scratch.filePath(QStringLiteral("KNX_SetAccess.xml"));
        const QString error = Write_KNX_Access_File(data.table, knxFile);
        if (!error.isEmpty())
            return error;
    }
    image::Image_Buffer buffer;
    data.image_error = image::Compile_Image(files.File_ParGen, knxFile, buffer);
    if (data.image_error.isEmpty()) {
        const std::uint8_t* block = buffer.Data() + image::Param_Block_Offset;
        data.image_size = buffer.Image_Length;
        data.image_commands = image::Get_U32(block + image::Write_Count_Offset);
        data.image_checksum = image::Get_U32(block + image::Checksum_Offset);
    }
    return {};
}

QString Report_Html(const Report_Data& data, const ProgramState& state, const QString& mapPicture, bool withTable)
{
    const ParGen_Values& v = data.settings;
    QString h;
    h += QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1 - %2</title>\n")
             .arg(Esc(state.Text(Txt_Title)), Esc(data.project_name));
    h += QStringLiteral(
        "<style>body{font-family:'DejaVu Sans',sans-serif;font-size:10pt;}"
        "h1{font-size:16pt;}h2{font-size:12pt;margin-top:14pt;}"
        "table.grid{border-collapse:collapse;}table.grid td,table.grid th{border:1px solid #999;padding:1px 3px;"
        "font-size:7pt;}table.grid th{background:#e8e8e8;}td.k{padding-right:12pt;color:#444;}"
        ".warn{color:#b00000;}</style></head><body>\n");
    h += QStringLiteral("<h1>%1</h1>\n<table cellpadding=\"2\">\n").arg(Esc(state.Text(Txt_Title)));
    const auto pair = [&h](const QString& key, const QString& value) {
        h += QStringLiteral("<tr><td class=\"k\">%1</td><td>%2</td></tr>\n").arg(Esc(key), Esc(value));
    };
    pair(state.Text(Txt_Project), data.project_name);
    pair(state.Text(Txt_When), data.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    pair(state.Text(Txt_Version), data.version);
    h += QStringLiteral("</table>\n");

    h += QStringLiteral("<h2>%1</h2>\n<table cellpadding=\"2\">\n").arg(Esc(state.Text(Txt_Settings)));
    pair(state.Text(Txt_KNX_Type), v.KNX_TYPE >= 0 && v.KNX_TYPE < KNX_Type_Items.size() ? KNX_Type_Items[v.KNX_TYPE]
                                                                                         : QString::number(v.KNX_TYPE));
    pair(state.Text(Txt_KNX_Address), v.KNX_ID_DEV);
    pair(state.Text(Txt_IP), Address(v.PROFINET_IP1, v.PROFINET_IP2, v.PROFINET_IP3, v.PROFINET_IP4));
    pair(state.Text(Txt_Mask), Address(v.PROFINET_SM1, v.PROFINET_SM2, v.PROFINET_SM3, v.PROFINET_SM4));
    pair(state.Text(Txt_Gateway), v.PROFINET_EN_GAT
                                      ? Address(v.PROFINET_GAT1, v.PROFINET_GAT2, v.PROFINET_GAT3, v.PROFINET_GAT4)
                                      : state.Text(Txt_Not_Used));
    pair(state.Text(Txt_Station), v.PROFINET_NAME_STA);
    h += QStringLiteral("</table>\n");

    h += QStringLiteral("<h2>%1</h2>\n<p>%2</p>\n")
             .arg(Esc(state.Text(Txt_Check)),
                  data.check.ok ? Esc(state.Text(Txt_Check_Passed))
                                : QStringLiteral("<span class=\"warn\">%1</span>").arg(Esc(Check_Message(data.check, state))));

    h += QStringLiteral("<h2>%1</h2>\n").arg(Esc(state.Text(Txt_Image)));
    if (!data.check.ok)
        h += QStringLiteral("<p class=\"warn\">%1<br>%2</p>\n")
                 .arg(Esc(state.Text(Txt_Image_Not_Built)), Esc(Check_Message(data.check, state)));
    else if (!data.image_error.isEmpty())
        h += QStringLiteral("<p class=\"warn\">%1</p>\n").arg(Esc(data.image_error));
    else
        h += QStringLiteral("<p>%1<br>%2<br>%3</p>\n")
                 .arg(Esc(state.Text(Txt_Size).arg(data.image_size)),
                      Esc(state.Text(Txt_Commands).arg(data.image_commands)),
                      Esc(state.Text(Txt_Checksum).arg(data.image_checksum)));

    h += QStringLiteral("<h2 style=\"page-break-before:always\">%1</h2>\n").arg(Esc(state.Text(Txt_Map)));
    h += mapPicture + QStringLiteral("\n");
    h += QStringLiteral("<p><b>%1</b></p>\n<ul>\n").arg(Esc(state.Text(Txt_Warnings)));
    if (data.map.overlaps.isEmpty())
        h += QStringLiteral("<li>%1</li>\n").arg(Esc(state.Text(Txt_No_Overlaps)));
    for (const Map_Overlap& o : data.map.overlaps)
        h += QStringLiteral("<li class=\"warn\">%1</li>\n")
                 .arg(Esc(state.Text(Txt_Overlap).arg(o.row).arg(o.other).arg(Map_Range_Text(o.first_bit, o.last_bit, state))));
    for (const Map_Not_Placed& n : data.map.not_placed)
        h += QStringLiteral("<li class=\"warn\">%1</li>\n")
                 .arg(Esc(state.Text(Txt_Not_Placed).arg(n.row).arg(Not_Placed_Reason(n, state))));
    for (const Map_Shared& s : data.map.shared)
        h += QStringLiteral("<li>%1</li>\n")
                 .arg(Esc(state.Text(Txt_Shared).arg(Row_List(s.rows), Map_Range_Text(s.first_bit, s.last_bit, state))));
    h += QStringLiteral("</ul>\n");

    if (withTable) {
        h += QStringLiteral("<h2 style=\"page-break-before:always\">%1</h2>\n").arg(Esc(state.Text(Txt_Table)));
        if (data.last_row == 0) {
            h += QStringLiteral("<p>%1</p>\n").arg(Esc(state.Text(Txt_No_Rows)));
        } else {
            h += QStringLiteral("<table class=\"grid\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n<thead><tr>");
            for (int c = 0; c < KNX_Table_Column_Count; ++c)
                h += QStringLiteral("<th>%1</th>").arg(Esc(data.table.Cell(0, c)));
            h += QStringLiteral("</tr></thead>\n");
            for (int r = 1; r <= data.last_row; ++r) {
                h += QStringLiteral("<tr>");
                for (int c = 0; c < KNX_Table_Column_Count; ++c)
                    h += QStringLiteral("<td>%1</td>").arg(Esc(data.table.Cell(r, c)));
                h += QStringLiteral("</tr>\n");
            }
            h += QStringLiteral("</table>\n");
        }
    }
    h += QStringLiteral("</body></html>\n");
    return h;
}

} // namespace lw
