#pragma once
// The one vocabulary of the KNX access table's fixed columns: the names of
// Priority, Format, APCI and Bit Mode as the editor offers them and the file
// stores them, with the codes the device image uses. The file reader, the
// data check, the cell editors and the image compiler and inspector all read
// these tables.

#include <QLatin1StringView>
#include <QStringList>

namespace lw {

struct KNX_Name {
    QLatin1StringView name;   // as shown and stored
    QLatin1StringView upper;  // upper-case form, matched by the image compiler
    int code;                 // code in the device image
};

// In the order the editor offers them (and the compiler matches them).
inline constexpr KNX_Name KNX_Priorities[] = {
    {QLatin1StringView("System"), QLatin1StringView("SYSTEM"), 0},
    {QLatin1StringView("Urgent"), QLatin1StringView("URGENT"), 2},
    {QLatin1StringView("Normal"), QLatin1StringView("NORMAL"), 1},
    {QLatin1StringView("Low"), QLatin1StringView("LOW"), 3},
};

// Format code n (flags bits 12 to 15) sits at index n.
inline constexpr KNX_Name KNX_Formats[] = {
    {QLatin1StringView("None"), QLatin1StringView("NONE"), 0},
    {QLatin1StringView("Swap16"), QLatin1StringView("SWAP16"), 1},
    {QLatin1StringView("Swap32"), QLatin1StringView("SWAP32"), 2},
    {QLatin1StringView("Swap All"), QLatin1StringView("SWAP ALL"), 3},
    {QLatin1StringView("Int to Float"), QLatin1StringView("INT TO FLOAT"), 4},
    {QLatin1StringView("Float to Int"), QLatin1StringView("FLOAT TO INT"), 5},
    {QLatin1StringView("Float16 to Float32"), QLatin1StringView("FLOAT16 TO FLOAT32"), 6},
    {QLatin1StringView("Float16 to Int"), QLatin1StringView("FLOAT16 TO INT"), 7},
    {QLatin1StringView("Float16 to Int * 10"), QLatin1StringView("FLOAT16 TO INT * 10"), 8},
    {QLatin1StringView("Float16 to Int * 100"), QLatin1StringView("FLOAT16 TO INT * 100"), 9},
};

// The two named APCI values; any other APCI is a number.
inline constexpr KNX_Name KNX_APCIs[] = {
    {QLatin1StringView("Read"), QLatin1StringView("READ"), 0x0000},
    {QLatin1StringView("Write"), QLatin1StringView("WRITE"), 0x0080},
};

// Bit Mode: "No" or the bit number 0 to 7.
inline constexpr QLatin1StringView KNX_Bit_Modes[] = {
    QLatin1StringView("No"), QLatin1StringView("0"), QLatin1StringView("1"), QLatin1StringView("2"),
    QLatin1StringView("3"),  QLatin1StringView("4"), QLatin1StringView("5"), QLatin1StringView("6"),
    QLatin1StringView("7"),
};

// Defaults of a row whose file leaves the cell out.
inline constexpr QLatin1StringView KNX_Default_Priority("Normal");
inline constexpr QLatin1StringView KNX_Default_Format("None");

// The names of a table, in its order.
template <std::size_t N>
QStringList KNX_Names(const KNX_Name (&table)[N])
{
    QStringList names;
    names.reserve(qsizetype(N));
    for (const KNX_Name& entry : table)
        names << QString(entry.name);
    return names;
}

// The entry whose name is text exactly; nullptr for none.
template <std::size_t N>
const KNX_Name* KNX_Find_Name(QStringView text, const KNX_Name (&table)[N])
{
    for (const KNX_Name& entry : table) {
        if (text == entry.name)
            return &entry;
    }
    return nullptr;
}

// The entry with that code; nullptr for none.
template <std::size_t N>
const KNX_Name* KNX_Find_Code(int code, const KNX_Name (&table)[N])
{
    for (const KNX_Name& entry : table) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

} // namespace lw
