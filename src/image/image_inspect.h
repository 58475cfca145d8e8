#pragma once
// Reading a device image back: its parameters, its used write records, and
// every place where it differs from what the compiler always writes, for a
// service technician who holds a bank.bin.

#include "image/image_layout.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace lw::image {

// A run of count fields of width bytes from block offset `offset`, each
// holding value in every image the compiler writes.
struct Fixed_Field {
    int offset;
    int width;          // 1, 2 or 4
    int count;
    std::uint32_t value;
};

// Every fixed field of Param_Block, in block order; the checksum is not one.
const std::vector<Fixed_Field>& Fixed_Fields();

struct Image_Report {
    qint64 Size = 0;
    std::uint32_t Stored_Checksum = 0;
    std::uint32_t Computed_Checksum = 0;
    Device_Params Params;
    std::vector<Image_Row> Records;   // the used write records, at most 512
    QStringList Differences;          // fixed values that differ, stray bytes, impossible codes

    bool Checksum_Valid() const { return Stored_Checksum == Computed_Checksum; }
    bool Gateway_Enabled() const;
};

// Decodes an image. Returns false with a message when bytes is not exactly
// Image_Size long; the report is then left unfilled.
bool Decode_Image(const QByteArray& bytes, Image_Report& report, QString& error);

// One line for a record: poll time, priority, length, flags, format, APCI,
// source, destination, position (and bit in bit mode).
QString Record_Text(const Image_Row& row);

// The report as lines of text, one value or record per line. The station
// name stands as the image holds it (one character per byte): a caller that
// prints the lines escapes control characters (cli::Terminal_Text).
QStringList Report_Lines(const Image_Report& report);

// The report as one JSON object: size, checksum {stored, computed, valid},
// ip, mask, gateway (arrays of 4 integers), gateway_enabled, station_name,
// knx_address, knx_address_text, write_count, read_count, records (raw
// integer fields plus their names), differences.
QJsonObject Report_Json(const Image_Report& report);

} // namespace lw::image
