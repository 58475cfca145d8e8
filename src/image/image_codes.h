#pragma once
// The texts of a command row turned into the codes and packed addresses of a
// device image record, and the names an image's codes stand for.

#include <QString>
#include <QStringView>
#include <cstdint>

namespace lw::image {

// "WRITE" 0x0080, "READ" 0x0000 (any letter case, not stripped); any other
// text read as an integer, 0 when it is not one; 16 bits kept.
std::uint16_t APCI_Code(QStringView text);

// "SYSTEM" 0, "URGENT" 2, "NORMAL" 1, "LOW" 3 (any letter case, not stripped); anything else 1.
std::uint8_t Priority_Code(QStringView text);

// The format code already shifted to bits 12 to 15 of the flags word: "NONE"
// 0x0000 up to "FLOAT16 TO INT * 100" 0x9000; anything else 0x0000.
std::uint16_t Format_Code(QStringView text);

// Packs a row's source (group false) or destination address. The text is
// stripped, each part stripped again and read as an integer, 0 when it is not
// one, and masked to its field: area 4, line 4, device 8 bits; main 5, middle
// 3, sub 8 bits, or main 5, sub 11 bits. A text without separator is the
// address as a plain number.
std::uint16_t Encode_KNX_Address(QStringView text, bool group);

// Packs the converter's own individual address. The text is stripped; without
// a point it is read as a plain number (0x1114 when it is not one); otherwise
// area, line and device as in Encode_KNX_Address, each part that is not an
// integer taking 1, 1 and 20, without masking; two parts are area and device
// with line 0; 16 bits kept.
std::uint16_t Encode_Device_Address(QStringView text);

// Names of the codes, for a reader of an image. Codes outside the tables give an empty text.
QString Priority_Name(int code);       // "System", "Normal", "Urgent", "Low"
QString Format_Name(int code);         // code 0 to 9 (flags bits 12 to 15): "None" ... "Float16 to Int * 100"
QString APCI_Name(std::uint16_t apci); // "Write", "Read", else the number in decimal

// A packed address as text: area.line.device, or main/middle/sub.
QString Individual_Address_Text(std::uint16_t value);
QString Group_Address_Text(std::uint16_t value);

} // namespace lw::image
