#include "knx_access/ga_import.h"

#include "knx_access/knx_address.h"
#include "knx_access/knx_check.h"
#include "base/text_rules.h"

#include <QHash>

namespace lw {

namespace {

// Value of a stripped address part; the check has passed, so every part is an integer.
std::uint32_t Part(QStringView text)
{
    return std::uint32_t(Read_Integer_Or(text, 0));
}

// The size of a main type; nothing for a type without a known size.
std::optional<DPT_Size> Size_Of_Main(int main)
{
    switch (main) {
    case 1: return DPT_Size{true, 1, 0};
    case 2:
    case 23: return DPT_Size{true, 2, 0};
    case 3: return DPT_Size{true, 4, 0};
    case 4: case 5: case 6: case 17: case 18: case 20: case 21: case 25: case 26: return DPT_Size{false, 1, 0};
    case 7: case 8: case 9: case 22: case 234: return DPT_Size{false, 2, 0};
    case 10: case 11: case 30: case 232: return DPT_Size{false, 3, 0};
    case 12: case 13: case 14: case 15: case 27: return DPT_Size{false, 4, 0};
    case 19: case 29: return DPT_Size{false, 8, 0};
    case 16: return DPT_Size{false, 14, 0};
    case 28: return DPT_Size{false, 14, Lang_GA_Variable};
    default: return std::nullopt;
    }
}

DPT_Size Size_Or_Unknown(QStringView dpt)
{
    const std::optional<DPT_Size> size = Size_Of_Main(DPT_Main_Type(dpt));
    return size ? *size : DPT_Size{false, 1, Lang_GA_No_DPT};
}

// Bytes a table row uses: its first and one past its last; nothing for a row
// whose position, bit mode or length cannot be read.
std::optional<std::pair<int, int>> Row_Span(const Text_Table& table, int r)
{
    const std::optional<int> position = Read_Integer(table.Cell(r, Col_Position));
    const std::optional<int> length = Read_Integer(table.Cell(r, Col_Length));
    if (!position || !length || *position < 0 || *length < 1)
        return std::nullopt;
    const QString& bitMode = table.Cell(r, Col_Bit_Mode);
    if (Upper_Equals(bitMode, QLatin1StringView("NO")))
        return std::pair{*position, *position + *length};
    const std::optional<int> startBit = Read_Integer(bitMode);
    if (!startBit || *startBit < 0 || *startBit > 7)
        return std::nullopt;
    return std::pair{*position, *position + (*startBit + *length + 7) / 8};
}

} // namespace

QString Fill_Text(QString text, std::initializer_list<QString> values)
{
    int n = 0;
    for (const QString& value : values)
        text.replace(QStringLiteral("%") + QString::number(++n), value);
    return text;
}

int DPT_Main_Type(QStringView dpt)
{
    QStringView text = Strip_View(dpt);
    if (text.startsWith(QLatin1StringView("DPST-"), Qt::CaseInsensitive))
        text = text.mid(5);
    else if (text.startsWith(QLatin1StringView("DPT-"), Qt::CaseInsensitive))
        text = text.mid(4);
    qsizetype end = 0;
    while (end < text.size() && end < 6 && text[end].isDigit() && text[end].unicode() < 128)
        ++end;
    if (end == 0 || end >= 6)
        return -1;
    const QStringView rest = text.mid(end);
    if (!rest.isEmpty() && rest.front() != u'-' && rest.front() != u'.')
        return -1;
    return text.left(end).toInt();
}

DPT_Size Size_Of_DPT(QStringView dpts)
{
    const QList<QStringView> parts = dpts.split(u',', Qt::SkipEmptyParts);
    QList<QStringView> types;
    for (const QStringView part : parts) {
        if (!Strip_View(part).isEmpty())
            types.append(part);
    }
    if (types.isEmpty())
        return DPT_Size{false, 1, Lang_GA_No_DPT};
    DPT_Size size = Size_Or_Unknown(types.front());
    for (qsizetype i = 1; i < types.size() && size.noteLang != Lang_GA_Disagree; ++i) {
        const DPT_Size other = Size_Or_Unknown(types[i]);
        if (other.bitMode != size.bitMode || other.length != size.length)
            size.noteLang = Lang_GA_Disagree;
    }
    return size;
}

std::optional<std::uint32_t> Address_Key(QStringView text)
{
    const QStringView stripped = Strip_View(text);
    const bool group = Is_Group_Address(stripped);
    if (Check_KNX_Address(stripped, group, true) != 0)
        return std::nullopt;
    const Address_Parts s = Split_Address_Parts(stripped, group ? QChar(u'/') : QChar(u'.'));
    std::uint32_t value = 0;
    if (s.count == 1)
        value = Part(s.parts[0]);
    else if (group && s.count == 2)
        value = Part(s.parts[0]) * 2048 + Part(s.parts[1]);
    else if (group)
        value = Part(s.parts[0]) * 2048 + Part(s.parts[1]) * 256 + Part(s.parts[2]);
    else if (s.count == 2)
        value = Part(s.parts[0]) * 4096 + Part(s.parts[1]);
    else
        value = Part(s.parts[0]) * 4096 + Part(s.parts[1]) * 256 + Part(s.parts[2]);
    return (value & 0xFFFF) | (group ? 0x10000u : 0u);
}

int Last_Table_Row(const Text_Table& table)
{
    const int last = std::min(KNX_Table_Rows, table.Row_Count() - 1);
    for (int r = 1; r <= last; ++r) {
        if (Strip_View(table.Cell(r, Col_Source_Address)).isEmpty())
            return r - 1;
    }
    return last;
}

int Default_Start_Position(const Text_Table& table)
{
    int next = 0;
    const int last = Last_Table_Row(table);
    for (int r = 1; r <= last; ++r) {
        if (const auto span = Row_Span(table, r))
            next = std::max(next, span->second);
    }
    return next;
}

GA_Plan Classify_GA(const Text_Table& table, const QList<GA_Entry>& entries)
{
    GA_Plan plan;
    const int last = Last_Table_Row(table);
    plan.firstRow = last + 1;
    QHash<std::uint32_t, int> inTable;   // key to the first table row holding it
    for (int r = last; r >= 1; --r) {
        if (const auto key = Address_Key(table.Cell(r, Col_Destination_Address)))
            inTable.insert(*key, r);
    }
    QHash<std::uint32_t, int> inFile;    // key to the line it was first met on
    plan.items.reserve(entries.size());
    for (const GA_Entry& entry : entries) {
        GA_Item item;
        item.entry = entry;
        item.size = Size_Of_DPT(entry.dpt);
        const QStringView address = Strip_View(entry.address);
        const std::optional<std::uint32_t> key = Address_Key(address);
        if (address.isEmpty()) {
            item.status = GA_Status::Skipped;
            item.reasonLang = Lang_GA_No_Address;
        } else if (!Is_Group_Address(address)) {
            item.status = GA_Status::Skipped;
            item.reasonLang = Lang_GA_Not_Group;
        } else if (!key) {
            item.status = GA_Status::Skipped;
            item.reasonLang = Lang_GA_Invalid;
        } else if (const auto row = inTable.constFind(*key); row != inTable.cend()) {
            item.status = GA_Status::In_Table;
            item.reasonLang = Lang_GA_In_Table;
            item.other = *row;
        } else if (const auto line = inFile.constFind(*key); line != inFile.cend()) {
            item.status = GA_Status::In_File;
            item.reasonLang = Lang_GA_In_File;
            item.other = *line;
        } else {
            inFile.insert(*key, entry.line);
        }
        plan.items.append(std::move(item));
    }
    return plan;
}

void Lay_Out_GA(GA_Plan& plan, int start, const QList<bool>& ticked)
{
    plan.startPosition = start;
    plan.imported = 0;
    plan.skipped = 0;
    plan.overflowItem = -1;
    int next = start;
    for (qsizetype i = 0; i < plan.items.size(); ++i) {
        GA_Item& item = plan.items[i];
        item.position = -1;
        if (item.status != GA_Status::New) {
            ++plan.skipped;
            continue;
        }
        if (!ticked.isEmpty() && (i >= ticked.size() || !ticked[i]))
            continue;
        item.position = next;
        next += item.size.Span();
        ++plan.imported;
        if (next > KNX_Max_Num_Byte && plan.overflowItem < 0)
            plan.overflowItem = int(i);
    }
}

GA_Plan Plan_GA_Import(const Text_Table& table, const QList<GA_Entry>& entries, std::optional<int> start)
{
    GA_Plan plan = Classify_GA(table, entries);
    Lay_Out_GA(plan, start ? *start : Default_Start_Position(table));
    return plan;
}

KNX_Command_Row GA_Row(const GA_Item& item, const QString& source)
{
    KNX_Command_Row row;
    row.Enable = QStringLiteral("Y");
    row.Source_Address = source;
    row.Destination_Address = item.entry.address;
    row.APCI = QStringLiteral("Write");
    row.Priority = QStringLiteral("Low");
    row.Format = QStringLiteral("None");
    row.Extended = QStringLiteral("N");
    row.ReTest = QStringLiteral("N");
    row.On_Command = QStringLiteral("N");
    row.On_Change = QStringLiteral("Y");
    row.On_Timer = QStringLiteral("N");
    row.Position = QString::number(item.position);
    row.Bit_Mode = item.size.Bit_Mode();
    row.Length = QString::number(item.size.length);
    row.Mnemonic = item.entry.name;
    return row;
}

GA_Apply_Result Apply_GA_Plan(Text_Table& table, const GA_Plan& plan, const QString& source, bool wholeTable)
{
    GA_Apply_Result result;
    if (!plan.Fits()) {
        result.faultLang = Lang_GA_Past_End;
        return result;
    }
    const int first = Last_Table_Row(table) + 1;
    if (first - 1 + plan.imported > KNX_Table_Rows) {
        result.faultLang = Lang_GA_Too_Many_Rows;
        return result;
    }
    Text_Table changed = table;
    int r = first;
    for (const GA_Item& item : plan.items) {
        if (item.position >= 0)
            Set_Row(changed, r++, GA_Row(item, source));
    }
    if (wholeTable) {
        result.check = Controllo_dati(changed);
    } else {
        // Only the imported rows are tested: the rows before them are taken out of the check.
        Text_Table tested = changed;
        for (int old = 1; old < first; ++old)
            tested.Set_Cell(old, Col_Enable, QStringLiteral("N"));
        result.check = Controllo_dati(tested);
    }
    if (result.check.ok)
        table = std::move(changed);
    return result;
}

QString GA_Apply_Message(const GA_Apply_Result& result, const GA_Plan& plan, const ProgramState& state)
{
    if (result.faultLang == Lang_GA_Past_End && plan.overflowItem >= 0) {
        const GA_Item& item = plan.items[plan.overflowItem];
        return Fill_Text(state.Text(Lang_GA_Past_End), {QString::number(item.entry.line), Strip(item.entry.address),
                                                         QString::number(KNX_Max_Num_Byte - 1)});
    }
    if (result.faultLang != 0)
        return Fill_Text(state.Text(result.faultLang), {QString::number(KNX_Table_Rows)});
    return Check_Message(result.check, state);
}

QString GA_Status_Text(const GA_Item& item, const ProgramState& state)
{
    switch (item.status) {
    case GA_Status::New:
        return item.size.noteLang ? state.Text(Lang_GA_New) + QStringLiteral("; ") + state.Text(item.size.noteLang)
                                  : state.Text(Lang_GA_New);
    case GA_Status::In_Table:
    case GA_Status::In_File: return Fill_Text(state.Text(item.reasonLang), {QString::number(item.other)});
    case GA_Status::Skipped: return state.Text(item.reasonLang);
    }
    return {};
}

QString Exchange_Message(const Exchange_Error& error, const ProgramState& state)
{
    return Fill_Text(state.Text(error.langIndex), {QString::number(error.line), error.detail});
}

} // namespace lw
