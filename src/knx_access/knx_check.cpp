#include "knx_access/knx_check.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/knx_address.h"
#include "shell/text_rules.h"

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

Check_Result Check_Row(const Text_Table& table, int r, int maxNumByte)
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

} // namespace

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

Check_Result Controllo_dati(const Text_Table& table, int maxNumByte)
{
    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            break;
        if (Strip_View(table.Cell(r, Col_Enable)) != QLatin1String("Y"))
            continue;
        const Check_Result result = Check_Row(table, r, maxNumByte);
        if (!result.ok)
            return result;
    }
    return Check_Result::Pass();
}

} // namespace lw
