#pragma once
// Delimited text as spreadsheets and the KNX engineering tool write it, and
// the commands table to and from that form. Fields are separated by one
// character; a field in double quotes may hold the separator, line breaks and
// doubled quotes; an unquoted field is taken exactly as written.

#include "knx_access/text_table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace lw {

// A fault of the file as a whole: the language entry of its message (the
// message's %1 is the line, %2 the detail) and where it is.
struct Exchange_Error {
    int langIndex = 0;   // 0: no fault
    int line = 0;
    QString detail;
    bool Failed() const { return langIndex != 0; }
};

// Messages of the faults of a file.
enum : int {
    Lang_Exchange_Open_Quote = 2326,
    Lang_Exchange_Nul = 2327,
    Lang_Exchange_No_Format = 2328,
    Lang_Exchange_Bad_Xml = 2329,
    Lang_Exchange_Missing_Column = 2330,
    Lang_Exchange_Too_Many_Rows = 2331,
    Lang_Exchange_Unreadable = 2339,
};

// The bytes of an exchanged file as text: a byte-order mark selects UTF-8 or
// UTF-16; without one, valid UTF-8 is read as such and anything else as
// Windows-1252. A NUL character in the text is a fault (with its line).
QString Decode_Exchange_Text(const QByteArray& bytes, Exchange_Error& error);

// One record of a delimited text and the line it starts on (from 1).
struct Csv_Record {
    int line = 0;
    QStringList fields;
};

// Splits text into records. Lines that are empty are no records. A quote left
// open is a fault naming the line its field starts on.
QList<Csv_Record> Parse_Csv(QStringView text, QChar separator, Exchange_Error& error);

// The separator of a header line: the one of ';', tab and ',' that occurs most
// often outside quotes (';' first when counts are equal); ';' when none occurs.
QChar Detect_Separator(QStringView text);

// The first line of text (up to CR or LF).
QStringView First_Line(QStringView text);

// The header of the commands table's CSV form: the file's attribute names.
QStringList KNX_Csv_Header();

// A field as the CSV form writes it: in double quotes, inner quotes doubled,
// when it holds ';', '"', a line break, or a blank or control character at
// either end; as it is otherwise.
QString Csv_Field(const QString& text);

// The table's rows up to the first one whose stripped Source Add is empty,
// as the CSV form: UTF-8 with a byte-order mark, CR LF line ends, the header
// first.
QByteArray Export_KNX_Csv(const Text_Table& table);

// Reads the CSV form into a fresh table (rows from 1, in the file's order).
// Columns are found by their header names in any order and letter case; a
// missing one is a fault naming it. More than 512 rows is a fault too.
Exchange_Error Import_KNX_Csv(const QByteArray& bytes, Text_Table& table);

} // namespace lw
