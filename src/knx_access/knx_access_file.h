#pragma once
// KNX_SetAccess.xml: the table of KNX active commands. Each command row is a
// `row` element below BACnet_to_KNX/KNX_in_Write whose sixteen attributes hold
// the cell texts exactly as typed.

#include "base/program_state.h"
#include "knx_access/text_table.h"
#include "xml/xml_document.h"

#include <array>

namespace lw {

// One row of the commands table, the sixteen texts in column order 1 to 16.
struct KNX_Command_Row {
    QString Enable;
    QString Source_Address;
    QString Destination_Address;
    QString APCI;
    QString Priority;
    QString Format;
    QString Extended;
    QString ReTest;
    QString On_Command;
    QString On_Change;
    QString On_Timer;
    QString Poll_Time;
    QString Position;
    QString Bit_Mode;
    QString Length;
    QString Mnemonic;

    bool operator==(const KNX_Command_Row&) const = default;
};

inline constexpr int KNX_Table_Rows = 512;               // data rows 1 to 512
inline constexpr int KNX_Table_Row_Count = KNX_Table_Rows + 1;
inline constexpr int KNX_Field_Count = 16;
inline constexpr int KNX_Table_Column_Count = KNX_Field_Count + 1;

// Column numbers of the commands table.
enum KNX_Column : int {
    Col_Number = 0,
    Col_Enable,
    Col_Source_Address,
    Col_Destination_Address,
    Col_APCI,
    Col_Priority,
    Col_Format,
    Col_Extended,
    Col_ReTest,
    Col_On_Command,
    Col_On_Change,
    Col_On_Timer,
    Col_Poll_Time,
    Col_Position,
    Col_Bit_Mode,
    Col_Length,
    Col_Mnemonic,
};

// The field of each data column: KNX_Fields[c - 1] belongs to column c.
inline constexpr std::array<QString KNX_Command_Row::*, KNX_Field_Count> KNX_Fields = {
    &KNX_Command_Row::Enable,      &KNX_Command_Row::Source_Address, &KNX_Command_Row::Destination_Address,
    &KNX_Command_Row::APCI,        &KNX_Command_Row::Priority,       &KNX_Command_Row::Format,
    &KNX_Command_Row::Extended,    &KNX_Command_Row::ReTest,         &KNX_Command_Row::On_Command,
    &KNX_Command_Row::On_Change,   &KNX_Command_Row::On_Timer,       &KNX_Command_Row::Poll_Time,
    &KNX_Command_Row::Position,    &KNX_Command_Row::Bit_Mode,       &KNX_Command_Row::Length,
    &KNX_Command_Row::Mnemonic,
};

// The attribute of each data column, in the order they are written.
inline constexpr std::array<const char*, KNX_Field_Count> KNX_Attributes = {
    "Enable",   "Source_Address", "Destination_Address", "APCI",      "Priority", "Format",
    "Extended", "ReTest",         "On_Command",          "On_Change", "On_Timer", "Poll_Time",
    "Position", "Bit_Mode",       "Length",              "Mnemonic",
};

// The check columns (Y / N cells) of the commands table.
inline constexpr std::array<int, 6> KNX_Check_Columns = {Col_Enable,     Col_Extended, Col_ReTest,
                                                         Col_On_Command, Col_On_Change, Col_On_Timer};

// Language table entries of the seventeen column headers.
inline constexpr std::array<int, KNX_Table_Column_Count> KNX_Header_Index = {
    191, 339, 192, 193, 194, 195, 196, 197, 199, 719, 200, 201, 202, 203, 204, 205, 206,
};

// The texts of a row element's attributes, KNX_Attributes order (column c at
// c - 1), as stored in the file (UTF-8); nullptr for an attribute the row does
// not carry. Of two attributes with the same name the first counts. One pass
// over the attributes, which a writer of this file puts in that order.
std::array<const char*, KNX_Field_Count> KNX_Row_Texts(const xml::Node& row);

// True when the compile takes a row whose Enable attribute is enable (UTF-8;
// nullptr when absent): absent, or "Y" once stripped, in any letter case.
bool KNX_Row_Compiled(const char* enable);

// Largest KNX access file the reader, the check and the compile load. A full
// table of 512 rows is about 155 KB; the limit keeps the peak memory of a
// reader below 256 MB for a file of the worst shape (elements of four bytes).
inline constexpr qint64 KNX_Access_File_Limit = qint64(8) << 20;

// Puts the texts of one row element (KNX_Row_Texts) into table row r as the
// reader does: the defaults of Enable, Priority, Format, On_Command and
// On_Timer for absent attributes, "Normal" for a priority that is not one of
// the four names. False when a required attribute is absent (the cells before
// it are set).
bool Read_KNX_Row(const std::array<const char*, KNX_Field_Count>& texts, Text_Table& table, int r);

// True for exactly "System", "Urgent", "Normal" or "Low".
bool Is_KNX_Priority(const QString& text);

KNX_Command_Row Row_Of(const Text_Table& table, int row);
void Set_Row(Text_Table& table, int row, const KNX_Command_Row& values);

// The table as every opening starts: 512 data rows numbered in column 0,
// "Y" in Enable and empty texts elsewhere; the header row is left empty.
Text_Table Fresh_KNX_Table();

// Puts the column headers of the language table into row 0.
void Set_KNX_Headers(Text_Table& table, const ProgramState& state);

// Writes rows 1 to 512 up to the first row whose stripped Source Add is
// empty. Returns an empty text on success, else the reason (the old file then
// stays as it was).
QString Write_KNX_Access_File(const Text_Table& table, const QString& path);

struct KNX_Read_Result {
    QString error;          // empty when the file was read whole (or is absent)
    bool found = false;     // the file exists
    int rows = 0;           // table rows filled completely
    int failed_row = 0;     // table row whose attribute was missing, else 0
    QString attribute;      // the missing attribute
    bool Ok() const { return error.isEmpty(); }
};

// Fills the table from the file: the i-th child of KNX_in_Write (from 0) goes
// to table row i + 1; children past the 512th are not read. Enable, Priority,
// Format, On_Command and On_Timer take their defaults when absent, and a
// Priority other than the four names becomes "Normal"; any other absent
// attribute stops the reading with an error, the cells filled so far stay.
// A missing file leaves the table untouched.
KNX_Read_Result Read_KNX_Access_File(const QString& path, Text_Table& table);

} // namespace lw
