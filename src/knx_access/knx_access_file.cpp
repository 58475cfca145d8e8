#include "knx_access/knx_access_file.h"

#include "shell/text_rules.h"
#include "xml/xml_document.h"

#include <QFileInfo>

namespace lw {

namespace {

// Largest file the reader loads; a full table is far below it.
constexpr qint64 Max_File_Bytes = qint64(64) << 20;

// Default of an attribute that may be missing; nullptr: none, the read fails.
const char* Default_Of(int column)
{
    switch (column) {
    case Col_Enable: return "Y";
    case Col_Priority: return "Normal";
    case Col_Format: return "None";
    case Col_On_Command: return "N";
    case Col_On_Timer: return "N";
    default: return nullptr;
    }
}

// Blank text between elements is layout, not a row.
bool Is_Layout(const xml::Node& node)
{
    const pugi::xml_node raw = node.Raw();
    return raw.type() == pugi::node_pcdata && Strip(QString::fromUtf8(raw.value())).isEmpty();
}

} // namespace

bool Is_KNX_Priority(const QString& text)
{
    return text == QLatin1String("System") || text == QLatin1String("Urgent") || text == QLatin1String("Normal")
        || text == QLatin1String("Low");
}

KNX_Command_Row Row_Of(const Text_Table& table, int row)
{
    KNX_Command_Row values;
    for (int c = 1; c <= KNX_Field_Count; ++c)
        values.*KNX_Fields[c - 1] = table.Cell(row, c);
    return values;
}

void Set_Row(Text_Table& table, int row, const KNX_Command_Row& values)
{
    for (int c = 1; c <= KNX_Field_Count; ++c)
        table.Set_Cell(row, c, values.*KNX_Fields[c - 1]);
}

Text_Table Fresh_KNX_Table()
{
    Text_Table table(KNX_Table_Row_Count, KNX_Table_Column_Count);
    const QString yes = QStringLiteral("Y");
    for (int r = 1; r < KNX_Table_Row_Count; ++r) {
        table.Set_Cell(r, Col_Number, QString::number(r));
        table.Set_Cell(r, Col_Enable, yes);
    }
    return table;
}

void Set_KNX_Headers(Text_Table& table, const ProgramState& state)
{
    for (int c = 0; c < KNX_Table_Column_Count; ++c)
        table.Set_Cell(0, c, state.Text(KNX_Header_Index[c]));
}

QString Write_KNX_Access_File(const Text_Table& table, const QString& path)
{
    xml::Document doc;
    xml::Node root = doc.Add_Root("BACnet_to_KNX");
    doc.Add_Comment(xml::Version_Comment());
    root.Add_Child("KNX_in_Read");
    xml::Node commands = root.Add_Child("KNX_in_Write");
    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        xml::Node row = commands.Add_Child("row");
        for (int c = 1; c <= KNX_Field_Count; ++c)
            row.Set_Attribute(KNX_Attributes[c - 1], table.Cell(r, c));
    }
    return doc.Save(path);
}

KNX_Read_Result Read_KNX_Access_File(const QString& path, Text_Table& table)
{
    KNX_Read_Result result;
    if (!QFileInfo::exists(path))
        return result;
    result.found = true;

    xml::Document doc;
    result.error = doc.Load(path, Max_File_Bytes);
    if (!result.Ok())
        return result;
    const xml::Node root = doc.First_Node();
    if (!root.Is_Element()) {
        result.error = QStringLiteral("%1: the document does not begin with its root element").arg(path);
        return result;
    }
    const xml::Node commands = root.Find("KNX_in_Write");
    if (commands.Is_Null()) {
        result.error = QStringLiteral("%1: the root element holds no KNX_in_Write").arg(path);
        return result;
    }

    int r = 0;
    for (pugi::xml_node raw = commands.Raw().first_child(); raw && r < KNX_Table_Rows; raw = raw.next_sibling()) {
        const xml::Node child(raw);
        if (Is_Layout(child))
            continue;
        ++r;
        for (int c = 1; c <= KNX_Field_Count; ++c) {
            const char* name = KNX_Attributes[c - 1];
            std::optional<QString> text = child.Is_Element() ? child.Attribute(name) : std::nullopt;
            if (!text) {
                const char* fallback = Default_Of(c);
                if (!fallback) {
                    result.failed_row = r;
                    result.attribute = QString::fromLatin1(name);
                    result.error = QStringLiteral("%1: row %2 has no attribute %3").arg(path).arg(r).arg(result.attribute);
                    return result;
                }
                text = QString::fromLatin1(fallback);
            }
            if (c == Col_Priority && !Is_KNX_Priority(*text))
                text = QStringLiteral("Normal");
            table.Set_Cell(r, c, *text);
        }
        result.rows = r;
    }
    return result;
}

} // namespace lw
