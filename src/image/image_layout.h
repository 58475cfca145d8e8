#pragma once
// The converter's device image: two areas of 512 records and the parameter
// block, 22528 bytes in all. Every field is written and read one by one,
// little-endian, at its exact offset; no structure is ever copied as memory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace lw::image {

inline constexpr int Row_Count = 512;               // records in each area
inline constexpr int Row_Size = 20;                 // bytes of one Image_Row
inline constexpr int Area_Size = Row_Count * Row_Size;   // 10240
inline constexpr int Block_Size = 2048;             // Param_Block
inline constexpr int Image_Size = 2 * Area_Size + Block_Size;   // 22528
inline constexpr int Buffer_Capacity = 131072;

// File offsets of the three areas.
inline constexpr int Read_Area_Offset = 0x0000;
inline constexpr int Write_Area_Offset = 0x2800;
inline constexpr int Param_Block_Offset = 0x5000;

// Block offsets of the fields callers look at directly.
inline constexpr int Write_Count_Offset = 0x1C8;    // used records of Write_Area
inline constexpr int Checksum_Offset = 0x7FC;       // Block_Checksum
inline constexpr int Zero_Run_Offset = 0x70C;       // 108 zero bytes held only by the block
inline constexpr int Zero_Run_Size = 108;

// Device addresses at which the updater places the areas.
inline constexpr std::uint32_t Device_Read_Area = 0x63000;
inline constexpr std::uint32_t Device_Write_Area = 0x65800;
inline constexpr std::uint32_t Device_Image_End = 0x68800;

// Flags word of a record.
inline constexpr std::uint16_t Flag_On_Change = 0x0001;
inline constexpr std::uint16_t Flag_ReTest = 0x0002;
inline constexpr std::uint16_t Flag_On_Command = 0x0008;
inline constexpr std::uint16_t Flag_Extended = 0x0010;
inline constexpr std::uint16_t Flag_Group = 0x0020;
inline constexpr std::uint16_t Flag_Bit_Mode = 0x0040;
inline constexpr std::uint16_t Flag_Format_Mask = 0xF000;
inline constexpr std::uint16_t Flag_Never_Mask = 0x0F84;   // bits 2 and 7 to 11

// One 20-byte record of Read_Area or Write_Area.
struct Image_Row {
    std::uint32_t Poll_Time = 0;
    std::uint32_t Zero = 0;
    std::uint8_t Priority = 0;
    std::uint8_t Length = 0;
    std::uint16_t Flags = 0;
    std::uint16_t APCI = 0;
    std::uint16_t Source_Address = 0;
    std::uint16_t Destination_Address = 0;
    std::uint16_t Position = 0;

    bool operator==(const Image_Row&) const = default;
};

using Image_Area = std::array<Image_Row, Row_Count>;

// The two record arrays the compiler fills: Read_Area (always zero here) and Write_Area.
struct Image_Tables {
    Image_Area Read_Rows{};
    Image_Area Write_Rows{};
};

// The converter parameters, in the order and widths of Param_Block from block
// offset 0x000 to 0x70B, then the fields at 0x778 and 0x7F8. Fields named
// P<offset> carry values the compiler always writes the same.
struct Device_Params {
    std::uint32_t P000 = 0;
    std::array<std::uint32_t, 2> P004{};
    std::uint32_t P00C = 0;
    std::uint16_t P010 = 0;
    std::uint16_t P012 = 0;
    std::array<std::uint32_t, 5> P014{};
    std::array<std::uint8_t, 4> IP_Address{};      // 0x028, first octet first
    std::array<std::uint8_t, 4> Subnet_Mask{};     // 0x02C
    std::array<std::uint8_t, 4> Gateway{};         // 0x030; 255 x 4 when not enabled
    std::uint16_t P034 = 0;
    std::uint16_t P036 = 0;
    std::uint16_t P038 = 0;
    std::uint16_t P03A = 0;
    std::uint32_t P03C = 0;
    std::uint16_t P040 = 0;
    std::uint16_t P042 = 0;
    std::array<std::uint32_t, 3> P044{};
    std::array<std::uint8_t, 16> Station_Name{};   // 0x050
    std::array<std::uint8_t, 8> P060{};
    std::array<std::uint16_t, 2> P068{};
    std::array<std::uint32_t, 5> P06C{};
    std::array<std::uint8_t, 4> P080{};
    std::array<std::uint32_t, 31> P084{};
    std::array<std::uint8_t, 4> P100{};
    std::array<std::uint32_t, 2> P104{};
    std::array<std::uint16_t, 2> P10C{};
    std::array<std::uint32_t, 29> P110{};
    std::array<std::uint8_t, 12> P184{};
    std::uint32_t P190 = 0;
    std::uint32_t P194 = 0;
    std::array<std::uint32_t, 4> P198{};
    std::array<std::uint8_t, 7> P1A8{};
    std::uint8_t P1AF = 0;
    std::array<std::uint8_t, 4> P1B0{};
    std::array<std::uint8_t, 8> P1B4{};
    std::uint32_t Read_Area_Address = 0;           // 0x1BC
    std::uint32_t Write_Area_Address = 0;          // 0x1C0
    std::uint32_t Read_Count = 0;                  // 0x1C4, used records of Read_Area
    std::uint32_t Write_Count = 0;                 // 0x1C8, used records of Write_Area
    std::uint16_t P1CC = 0;
    std::uint16_t KNX_Address = 0;                 // 0x1CE, the converter's own individual address
    std::array<std::uint16_t, 2> P1D0{};
    std::uint16_t P1D4 = 0;
    std::uint16_t P1D6 = 0;
    std::uint16_t P1D8 = 0;
    std::array<std::uint16_t, 2> P1DA{};
    std::uint16_t P1DE = 0;
    std::uint32_t Image_End_Address = 0;           // 0x1E0
    std::array<std::uint32_t, 2> P1E4{};
    std::array<std::uint8_t, 32> P1EC{};
    std::array<std::uint8_t, 256> P20C{};
    std::array<std::uint32_t, 256> P30C{};
    // block offset 0x70C: 108 zero bytes, held only by the block
    std::array<std::uint8_t, 128> P778{};
    std::uint32_t P7F8 = 0;

    bool operator==(const Device_Params&) const = default;
};

// The image under construction: a byte buffer of Buffer_Capacity bytes, all
// 0 at first, and the count of bytes in use. The caller owns it; nothing is
// shared. The bytes come zeroed from calloc, so that the pages an image never
// reaches (all but the first 22528 bytes) are not touched.
class Image_Buffer {
public:
    Image_Buffer() : m_bytes(static_cast<std::uint8_t*>(std::calloc(Buffer_Capacity, 1)))
    {
        if (!m_bytes)
            throw std::bad_alloc();
    }

    std::uint8_t* Data() { return m_bytes.get(); }
    const std::uint8_t* Data() const { return m_bytes.get(); }
    std::size_t Capacity() const { return std::size_t(Buffer_Capacity); }

    std::uint32_t Image_Length = 0;

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<std::uint8_t[], Free> m_bytes;
};

// Little-endian stores and loads on a byte array; the caller keeps them in bounds.
void Put_U16(std::uint8_t* at, std::uint16_t value);
void Put_U32(std::uint8_t* at, std::uint32_t value);
std::uint16_t Get_U16(const std::uint8_t* at);
std::uint32_t Get_U32(const std::uint8_t* at);

// The 20 bytes of one record at `at`.
void Write_Row(std::uint8_t* at, const Image_Row& row);
Image_Row Read_Row(const std::uint8_t* at);

// Appends Read_Rows then Write_Rows at Image_Length and advances it by 20480.
// Returns false (and writes nothing) when the buffer has no room.
bool Write_Tables(const Image_Tables& tables, Image_Buffer& buffer);

// Writes the 2048 bytes of Param_Block at offset, Block_Checksum included;
// Image_Length is not changed. Returns false (and writes nothing) when the
// block would not fit in the buffer.
bool Write_Param_Block(const Device_Params& params, Image_Buffer& buffer, std::uint32_t offset);

// The parameters held by a 2048-byte block (the zero run and the checksum are not part of them).
Device_Params Read_Param_Block(const std::uint8_t* block);

// Unsigned sum of the bytes at block offsets 0x000 to 0x7FB.
std::uint32_t Block_Sum(const std::uint8_t* block);

} // namespace lw::image
