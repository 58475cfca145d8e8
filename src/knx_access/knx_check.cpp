#include "knx_access/knx_check.h"

#include "base/text_rules.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_address.h"
#include "xml/xml_document.h"

#include <QFileInfo>

namespace lw {

namespace {

// Row error entries of the commands table.
enum : int {
    Msg_Source = 218,
    Msg_Dest_Individual = 219,
    Msg_Dest_Group = 229,
    Msg_APCI = 220,
    Msg_Priority = 221,
    Msg_Format = 350,
    Msg_Poll_Time = 222,
    Msg_Position = 223,
    Msg_Bit_Mode = 224,
    Msg_Length = 225,
    Msg_Span = 226,
};

bool In_Range(const QString& text, int low, int high, int& value)
{
    value = Read_Integer_Or(text, -1);
    return value >= low && value <= high;
}

} // namespace

Check_Result Check_KNX_Row(const Text_Table& table, int r, int maxNumByte)
{
    const auto cell = [&](int column) -> const QString& { return table.Cell(r, column); };
    int value = 0;

    if (Check_KNX_Address(Strip_View(cell(Col_Source_Address)), false, true) != 0)
        return Check_Result::Fail(Msg_Source, r);

    const QStringView dest = Strip_View(cell(Col_Destination_Address));
    const bool group = Is_Group_Address(dest);
    if (Check_KNX_Address(dest, group, true) != 0)
        return Check_Result::Fail(group ? Msg_Dest_Group : Msg_Dest_Individual, r);

    const QString& apci = cell(Col_APCI);
    if (!Upper_Equals(apci, QLatin1String("READ")) && !Upper_Equals(apci, QLatin1String("WRITE"))
        && !In_Range(apci, 0, 1023, value))
        return Check_Result::Fail(Msg_APCI, r);

    if (!Is_KNX_Priority(cell(Col_Priority)))
        return Check_Result::Fail(Msg_Priority, r);

    if (Strip_View(cell(Col_Format)).isEmpty())
        return Check_Result::Fail(Msg_Format, r);

    if (Upper_Equals(cell(Col_On_Timer), QLatin1String("Y")) && !In_Range(cell(Col_Poll_Time), 1, 100000000, value))
        return Check_Result::Fail(Msg_Poll_Time, r);

    return Check_Placement(table, r, maxNumByte);
}

Check_Result Check_Placement(const Text_Table& table, int r, int maxNumByte, Data_Placement* placement)
{
    const auto cell = [&](int column) -> const QString& { return table.Cell(r, column); };

    int position = 0;
    if (!In_Range(cell(Col_Position), 0, maxNumByte - 1, position))
        return Check_Result::Fail(Msg_Position, r, QString::number(maxNumByte - 1));

    const bool byteMode = Upper_Equals(cell(Col_Bit_Mode), QLatin1String("NO"));
    int startBit = 0;
    if (!byteMode && !In_Range(cell(Col_Bit_Mode), 0, 7, startBit))
        return Check_Result::Fail(Msg_Bit_Mode, r);

    const bool extended = Upper_Equals(cell(Col_Extended), QLatin1String("Y"));
    const int limit = byteMode ? (extended ? 255 : 14) : (extended ? 2040 : 112);
    int length = 0;
    if (!In_Range(cell(Col_Length), 1, limit, length))
        return Check_Result::Fail(Msg_Length, r, QString::number(limit));

    const int span = byteMode ? length : (startBit + length + 7) / 8;
    if (position + span > maxNumByte)
        return Check_Result::Fail(Msg_Span, r, QString::number(maxNumByte));

    if (placement)
        *placement = {position, byteMode, startBit, length};
    return Check_Result::Pass();
}

namespace {

// Blank text between elements is layout, not a row (as the reader skips it).
bool Is_Layout(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata && Strip(QString::fromUtf8(node.value())).isEmpty();
}

} // namespace

int Check_Column(const Check_Result& result)
{
    if (result.ok)
        return 0;
    switch (result.langIndex) {
    case Msg_Source:
        return Col_Source_Address;
    case Msg_Dest_Individual:
    case Msg_Dest_Group:
        return Col_Destination_Address;
    case Msg_APCI:
        return Col_APCI;
    case Msg_Priority:
        return Col_Priority;
    case Msg_Format:
        return Col_Format;
    case Msg_Poll_Time:
        return Col_Poll_Time;
    case Msg_Position:
        return Col_Position;
    case Msg_Bit_Mode:
        return Col_Bit_Mode;
    case Msg_Length:
    case Msg_Span:
        return Col_Length;
    default:
        return 0;
    }
}

Check_Result Check_Compiled_Rows(const QString& path, int maxNumByte)
{
    if (!QFileInfo::exists(path))
        return Check_Result::Pass();
    xml::Document doc;
    if (!doc.Load(path, KNX_Access_File_Limit).isEmpty())
        return Check_Result::Pass();
    const xml::Node commands = doc.First_Node().Find("KNX_in_Write");
    if (!doc.First_Node().Is_Element() || !commands.Is_Element())
        return Check_Result::Pass();

    Text_Table one(2, KNX_Table_Column_Count);
    int r = 0;              // the row as the reader counts rows
    bool inTable = true;    // no empty Source Add met yet among rows 1 to 512
    for (pugi::xml_node raw = commands.Raw().first_child(); raw; raw = raw.next_sibling()) {
        if (Is_Layout(raw))
            continue;
        ++r;
        if (raw.type() != pugi::node_element)
            continue;
        const std::array<const char*, KNX_Field_Count> texts = KNX_Row_Texts(xml::Node(raw));
        const char* enable = texts[Col_Enable - 1];
        const QString source = texts[Col_Source_Address - 1] ? QString::fromUtf8(texts[Col_Source_Address - 1])
                                                              : QString();
        if (r <= KNX_Table_Rows && inTable && Strip_View(source).isEmpty())
            inTable = false;
        if (!KNX_Row_Compiled(enable))
            continue;
        const bool tested = r <= KNX_Table_Rows && inTable
            && (!enable || Strip_View(QString::fromUtf8(enable)) == QLatin1String("Y"));
        if (tested)
            continue;
        if (!Read_KNX_Row(texts, one, 1))
            continue;
        Check_Result result = Check_KNX_Row(one, 1, maxNumByte);
        if (!result.ok) {
            result.row = r;
            return result;
        }
    }
    return Check_Result::Pass();
}

Check_Result Controllo_dati(const Text_Table& table, int maxNumByte)
{
    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        if (Strip_View(table.Cell(r, Col_Enable)) != QLatin1String("Y"))
            continue;
        const Check_Result result = Check_KNX_Row(table, r, maxNumByte);
        if (!result.ok)
            return result;
    }
    return Check_Result::Pass();
}

} // namespace lw
