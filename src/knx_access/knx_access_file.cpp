#include "knx_access/knx_access_file.h"

#include "base/text_rules.h"
#include "knx_access/knx_vocabulary.h"
#include "xml/xml_document.h"

#include <QFileInfo>

#include <cstring>

namespace lw {

namespace {

// Default of an attribute that may be missing; nullptr: none, the read fails.
const char* Default_Of(int column)
{
    switch (column) {
    case Col_Enable: return "Y";
    case Col_Priority: return KNX_Default_Priority.data();
    case Col_Format: return KNX_Default_Format.data();
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

// The texts of one column as they are read: a text equal to the one before
// shares its string, so that the many repeated cells of a table ("Y", "Low",
// a format) cost neither a conversion nor memory of their own. utf8 must stay
// valid while the column is read (it points into the loaded document).
class Column_Texts {
public:
    const QString& Of(const char* utf8)
    {
        if (!m_lastUtf8 || std::strcmp(utf8, m_lastUtf8) != 0) {
            m_lastUtf8 = utf8;
            m_last = QString::fromUtf8(utf8);
        }
        return m_last;
    }

private:
    const char* m_lastUtf8 = nullptr;
    QString m_last;
};

} // namespace

bool KNX_Row_Compiled(const char* enable)
{
    if (!enable)
        return true;
    const QString text = QString::fromUtf8(enable);
    return Upper_Equals(Strip_View(text), QLatin1StringView("Y"));
}

bool Read_KNX_Row(const std::array<const char*, KNX_Field_Count>& texts, Text_Table& table, int r)
{
    for (int c = 1; c <= KNX_Field_Count; ++c) {
        const char* text = texts[std::size_t(c - 1)];
        if (!text)
            text = Default_Of(c);
        if (!text)
            return false;
        const QString value = QString::fromUtf8(text);
        table.Set_Cell(r, c, c == Col_Priority && !Is_KNX_Priority(value) ? QStringLiteral("Normal") : value);
    }
    return true;
}

std::array<const char*, KNX_Field_Count> KNX_Row_Texts(const xml::Node& row)
{
    std::array<const char*, KNX_Field_Count> texts{};
    int expected = 0;   // the attribute that usually comes next
    for (pugi::xml_attribute a = row.Raw().first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        int found = -1;
        if (expected < KNX_Field_Count && std::strcmp(name, KNX_Attributes[std::size_t(expected)]) == 0) {
            found = expected;
        } else {
            for (int i = 0; i < KNX_Field_Count; ++i) {
                if (std::strcmp(name, KNX_Attributes[std::size_t(i)]) == 0) {
                    found = i;
                    break;
                }
            }
        }
        if (found < 0)
            continue;
        expected = found + 1;
        if (!texts[std::size_t(found)])
            texts[std::size_t(found)] = a.value();
    }
    return texts;
}

bool Is_KNX_Priority(const QString& text)
{
    return KNX_Find_Name(text, KNX_Priorities) != nullptr;
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
    // Built once; every opening copies it, which shares all its strings.
    static const Text_Table fresh = [] {
        Text_Table table(KNX_Table_Row_Count, KNX_Table_Column_Count);
        const QString yes = QStringLiteral("Y");
        for (int r = 1; r < KNX_Table_Row_Count; ++r) {
            table.Set_Cell(r, Col_Number, QString::number(r));
            table.Set_Cell(r, Col_Enable, yes);
        }
        return table;
    }();
    return fresh;
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
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        xml::Node row = commands.Add_Child("row");
        for (int c = 1; c <= KNX_Field_Count; ++c)
            row.Add_Attribute(KNX_Attributes[c - 1], table.Cell(r, c));
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
    result.error = doc.Load(path, KNX_Access_File_Limit);
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

    std::array<Column_Texts, KNX_Field_Count + 1> columns;
    int r = 0;
    for (pugi::xml_node raw = commands.Raw().first_child(); raw && r < KNX_Table_Rows; raw = raw.next_sibling()) {
        const xml::Node child(raw);
        if (Is_Layout(child))
            continue;
        ++r;
        std::array<const char*, KNX_Field_Count> texts{};
        if (child.Is_Element())
            texts = KNX_Row_Texts(child);
        for (int c = 1; c <= KNX_Field_Count; ++c) {
            const char* text = texts[std::size_t(c - 1)];
            if (!text) {
                text = Default_Of(c);
                if (!text) {
                    result.failed_row = r;
                    result.attribute = QString::fromLatin1(KNX_Attributes[std::size_t(c - 1)]);
                    result.error = QStringLiteral("%1: row %2 has no attribute %3").arg(path).arg(r).arg(result.attribute);
                    return result;
                }
            }
            const QString& value = columns[std::size_t(c)].Of(text);
            if (c == Col_Priority && !Is_KNX_Priority(value))
                table.Set_Cell(r, c, QStringLiteral("Normal"));
            else
                table.Set_Cell(r, c, value);
        }
        result.rows = r;
    }
    return result;
}

} // namespace lw
