#pragma once
// The group-address exports of the KNX engineering tool: CSV with one name
// column ("1/1"), CSV with three ("3/1") and XML, told apart by their content.
// Ranges are structure and are left out; every group address is kept with
// its texts as exported and where it stands in the file.

#include "knx_access/csv_table.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lw {

enum class GA_Export_Format { None, Csv_One_Name, Csv_Three_Names, Xml };

struct GA_Entry {
    int line = 0;          // line of the file the address stands on (from 1)
    QString name;          // the address's name as exported
    QString address;       // the address text as exported
    QString dpt;           // the datapoint types as exported, empty for none
    QString description;
};

struct GA_Export {
    GA_Export_Format format = GA_Export_Format::None;
    QList<GA_Entry> entries;
    Exchange_Error error;  // a fault of the file: no entries then
};

// True for a range: an address text with a '-' part ("1/-/-", "1/2/-", "1/-").
bool Is_GA_Range(QStringView address);

// Reads an export from its bytes.
GA_Export Read_GA_Export(const QByteArray& bytes);

// Reads an export file; a file that cannot be read is a fault with its reason as detail.
GA_Export Read_GA_Export_File(const QString& path);

} // namespace lw
