#pragma once
// Group addresses of an export turned into rows of the commands table: the
// datapoint type gives Bit Mode and Length, positions follow one another from
// a start byte, and addresses the table or the file already holds are left out.

#include "base/check_result.h"
#include "knx_access/ga_export_reader.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/text_table.h"

#include <QList>
#include <cstdint>
#include <optional>

namespace lw {

// Language entries of the import's statuses, notes and faults.
enum : int {
    Lang_GA_New = 2317,
    Lang_GA_In_Table = 2318,
    Lang_GA_In_File = 2319,
    Lang_GA_Not_Group = 2320,
    Lang_GA_Invalid = 2321,
    Lang_GA_No_Address = 2322,
    Lang_GA_No_DPT = 2323,
    Lang_GA_Variable = 2324,
    Lang_GA_Disagree = 2325,
    Lang_GA_Past_End = 2332,
    Lang_GA_Too_Many_Rows = 2336,
};

// Where a datapoint type puts its value in the data array.
struct DPT_Size {
    bool bitMode = false;  // Bit Mode "0" (bits from bit 0); otherwise "No" (bytes)
    int length = 1;        // bits in bit mode, bytes otherwise
    int noteLang = 0;      // entry of a note that asks to check the length, 0 for none

    int Span() const { return bitMode ? (length + 7) / 8 : length; }
    QString Bit_Mode() const { return bitMode ? QStringLiteral("0") : QStringLiteral("No"); }
};

// Main type of one datapoint type as exports write it ("DPST-9-1", "DPT-9",
// "9.001", "9"); -1 when the text is none of these.
int DPT_Main_Type(QStringView dpt);

// Size of the datapoint types of an address (several separated by commas:
// the first counts, and sizes that differ add a note).
DPT_Size Size_Of_DPT(QStringView dpts);

// An address's kind and the 16-bit value the image packs it to, as one key:
// bit 16 set for a group address. Nothing for a text that fails the table's
// address check. The text is stripped first.
std::optional<std::uint32_t> Address_Key(QStringView text);

enum class GA_Status { New, In_Table, In_File, Skipped };

struct GA_Item {
    GA_Entry entry;
    GA_Status status = GA_Status::New;
    int reasonLang = 0;    // why it is skipped or a duplicate
    int other = 0;         // In_Table: the table row; In_File: the line met first
    DPT_Size size;
    int position = -1;     // proposed position of a row that is imported, else -1
};

struct GA_Plan {
    QList<GA_Item> items;
    int startPosition = 0;
    int firstRow = 1;      // table row the first imported row goes to
    int imported = 0;      // items laid out to be imported
    int skipped = 0;       // items that are duplicates or skipped
    int overflowItem = -1; // the first item that would end past the data array, -1 for none
    bool Fits() const { return overflowItem < 0; }
};

// The table's last row: the row before the first whose stripped Source Add is empty.
int Last_Table_Row(const Text_Table& table);

// The first byte after the highest byte used by a row up to the table's last
// row; 0 when none uses a byte.
int Default_Start_Position(const Text_Table& table);

// Sorts the entries into new addresses, duplicates and skipped ones, each with
// its size. Does not lay out positions.
GA_Plan Classify_GA(const Text_Table& table, const QList<GA_Entry>& entries);

// Lays out the positions of the new items that are ticked (all when ticked is
// empty) from start on, each on a new byte right after the one before.
void Lay_Out_GA(GA_Plan& plan, int start, const QList<bool>& ticked = {});

// Classify_GA and Lay_Out_GA; start defaults to Default_Start_Position.
GA_Plan Plan_GA_Import(const Text_Table& table, const QList<GA_Entry>& entries,
                       std::optional<int> start = std::nullopt);

// The command row of an imported address.
KNX_Command_Row GA_Row(const GA_Item& item, const QString& source);

struct GA_Apply_Result {
    int faultLang = 0;     // Lang_GA_Past_End or Lang_GA_Too_Many_Rows, else 0
    Check_Result check;    // the data check of the imported rows
    bool Ok() const { return faultLang == 0 && check.ok; }
};

// Appends the items laid out in plan after the table's last row. When the
// plan does not fit, the rows would pass row 512, or an imported row fails the
// data check (wholeTable: any row of the result), table stays as it was.
GA_Apply_Result Apply_GA_Plan(Text_Table& table, const GA_Plan& plan, const QString& source, bool wholeTable);

// The message of a failed application, from the language table.
QString GA_Apply_Message(const GA_Apply_Result& result, const GA_Plan& plan, const ProgramState& state);

// text with %1, %2, ... replaced by the values in order (a missing one is no fault).
QString Fill_Text(QString text, std::initializer_list<QString> values);

// The status of an item as the preview and the command line tell it.
QString GA_Status_Text(const GA_Item& item, const ProgramState& state);

// The message of a fault of the file.
QString Exchange_Message(const Exchange_Error& error, const ProgramState& state);

} // namespace lw
