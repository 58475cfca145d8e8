#include "image/image_layout.h"

#include <type_traits>

namespace lw::image {

namespace {

// Writes fields one after the other from a start pointer, little-endian,
// summing every byte written.
class Field_Writer {
public:
    explicit Field_Writer(std::uint8_t* at) : m_at(at) {}

    void Field(std::uint8_t value) { Byte(value); }
    void Field(std::uint16_t value)
    {
        Byte(std::uint8_t(value));
        Byte(std::uint8_t(value >> 8));
    }
    void Field(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            Byte(std::uint8_t(value >> shift));
    }
    template <typename T, std::size_t N>
    void Field(const std::array<T, N>& values)
    {
        for (const T& v : values)
            Field(v);
    }
    void Zeros(int count)
    {
        for (int i = 0; i < count; ++i)
            Byte(0);
    }

    std::uint32_t Sum() const { return m_sum; }
    std::size_t Written() const { return m_count; }

private:
    void Byte(std::uint8_t b)
    {
        m_at[m_count++] = b;
        m_sum += b;
    }

    std::uint8_t* m_at;
    std::size_t m_count = 0;
    std::uint32_t m_sum = 0;
};

// Reads fields one after the other from a start pointer, little-endian.
class Field_Reader {
public:
    explicit Field_Reader(const std::uint8_t* at) : m_at(at) {}

    void Field(std::uint8_t& value) { value = m_at[m_count++]; }
    void Field(std::uint16_t& value)
    {
        value = Get_U16(m_at + m_count);
        m_count += 2;
    }
    void Field(std::uint32_t& value)
    {
        value = Get_U32(m_at + m_count);
        m_count += 4;
    }
    template <typename T, std::size_t N>
    void Field(std::array<T, N>& values)
    {
        for (T& v : values)
            Field(v);
    }
    void Zeros(int count) { m_count += std::size_t(count); }

    std::size_t Read() const { return m_count; }

private:
    const std::uint8_t* m_at;
    std::size_t m_count = 0;
};

// Counts the bytes a walk covers, so that the layouts are checked when compiling.
struct Size_Counter {
    std::size_t count = 0;
    template <typename T>
    constexpr void Field(const T&)
    {
        count += sizeof(T);
    }
    constexpr void Zeros(int n) { count += std::size_t(n); }
};

// The record's nine fields in file order. Row is Image_Row or const Image_Row.
template <typename Row, typename Io>
constexpr void Walk_Row(Row& row, Io& io)
{
    io.Field(row.Poll_Time);
    io.Field(row.Zero);
    io.Field(row.Priority);
    io.Field(row.Length);
    io.Field(row.Flags);
    io.Field(row.APCI);
    io.Field(row.Source_Address);
    io.Field(row.Destination_Address);
    io.Field(row.Position);
}

// The block's fields in file order up to block offset 0x7FB; the checksum follows.
template <typename Params, typename Io>
constexpr void Walk_Params(Params& p, Io& io)
{
    io.Field(p.P000);
    io.Field(p.P004);
    io.Field(p.P00C);
    io.Field(p.P010);
    io.Field(p.P012);
    io.Field(p.P014);
    io.Field(p.IP_Address);
    io.Field(p.Subnet_Mask);
    io.Field(p.Gateway);
    io.Field(p.P034);
    io.Field(p.P036);
    io.Field(p.P038);
    io.Field(p.P03A);
    io.Field(p.P03C);
    io.Field(p.P040);
    io.Field(p.P042);
    io.Field(p.P044);
    io.Field(p.Station_Name);
    io.Field(p.P060);
    io.Field(p.P068);
    io.Field(p.P06C);
    io.Field(p.P080);
    io.Field(p.P084);
    io.Field(p.P100);
    io.Field(p.P104);
    io.Field(p.P10C);
    io.Field(p.P110);
    io.Field(p.P184);
    io.Field(p.P190);
    io.Field(p.P194);
    io.Field(p.P198);
    io.Field(p.P1A8);
    io.Field(p.P1AF);
    io.Field(p.P1B0);
    io.Field(p.P1B4);
    io.Field(p.Read_Area_Address);
    io.Field(p.Write_Area_Address);
    io.Field(p.Read_Count);
    io.Field(p.Write_Count);
    io.Field(p.P1CC);
    io.Field(p.KNX_Address);
    io.Field(p.P1D0);
    io.Field(p.P1D4);
    io.Field(p.P1D6);
    io.Field(p.P1D8);
    io.Field(p.P1DA);
    io.Field(p.P1DE);
    io.Field(p.Image_End_Address);
    io.Field(p.P1E4);
    io.Field(p.P1EC);
    io.Field(p.P20C);
    io.Field(p.P30C);
    io.Zeros(Zero_Run_Size);
    io.Field(p.P778);
    io.Field(p.P7F8);
}

template <typename Record>
constexpr std::size_t Walked_Size()
{
    Record record{};
    Size_Counter counter;
    if constexpr (std::is_same_v<Record, Image_Row>)
        Walk_Row(record, counter);
    else
        Walk_Params(record, counter);
    return counter.count;
}

static_assert(Walked_Size<Image_Row>() == Row_Size);
static_assert(Walked_Size<Device_Params>() == Checksum_Offset);

} // namespace

void Put_U16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
}

void Put_U32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = std::uint8_t(value >> (8 * i));
}

std::uint16_t Get_U16(const std::uint8_t* at)
{
    return std::uint16_t(at[0] | (at[1] << 8));
}

std::uint32_t Get_U32(const std::uint8_t* at)
{
    return std::uint32_t(at[0]) | (std::uint32_t(at[1]) << 8) | (std::uint32_t(at[2]) << 16)
        | (std::uint32_t(at[3]) << 24);
}

void Write_Row(std::uint8_t* at, const Image_Row& row)
{
    Field_Writer writer(at);
    Walk_Row(row, writer);
}

Image_Row Read_Row(const std::uint8_t* at)
{
    Image_Row row;
    Field_Reader reader(at);
    Walk_Row(row, reader);
    return row;
}

bool Write_Tables(const Image_Tables& tables, Image_Buffer& buffer)
{
    if (std::size_t(buffer.Image_Length) + 2 * Area_Size > buffer.Capacity())
        return false;
    std::uint8_t* at = buffer.Data() + buffer.Image_Length;
    for (const Image_Area* area : {&tables.Read_Rows, &tables.Write_Rows}) {
        for (const Image_Row& row : *area) {
            Write_Row(at, row);
            at += Row_Size;
        }
    }
    buffer.Image_Length += 2 * Area_Size;
    return true;
}

bool Write_Param_Block(const Device_Params& params, Image_Buffer& buffer, std::uint32_t offset)
{
    if (std::size_t(offset) + Block_Size > buffer.Capacity())
        return false;
    std::uint8_t* block = buffer.Data() + offset;
    Field_Writer writer(block);
    Walk_Params(params, writer);
    Put_U32(block + Checksum_Offset, writer.Sum());
    return true;
}

Device_Params Read_Param_Block(const std::uint8_t* block)
{
    Device_Params params;
    Field_Reader reader(block);
    Walk_Params(params, reader);
    return params;
}

std::uint32_t Block_Sum(const std::uint8_t* block)
{
    std::uint32_t sum = 0;
    for (int i = 0; i < Checksum_Offset; ++i)
        sum += block[i];
    return sum;
}

} // namespace lw::image
