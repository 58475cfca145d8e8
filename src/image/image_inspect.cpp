#include "image/image_inspect.h"

#include "image/image_codes.h"

#include <QJsonArray>

namespace lw::image {

namespace {

QString Hex(std::uint32_t value, int digits)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

std::uint32_t Get(const std::uint8_t* at, int width)
{
    switch (width) {
    case 1: return at[0];
    case 2: return Get_U16(at);
    default: return Get_U32(at);
    }
}

QString Dotted(const std::array<std::uint8_t, 4>& octets)
{
    return QStringLiteral("%1.%2.%3.%4").arg(octets[0]).arg(octets[1]).arg(octets[2]).arg(octets[3]);
}

QJsonArray Octet_Array(const std::array<std::uint8_t, 4>& octets)
{
    QJsonArray array;
    for (std::uint8_t o : octets)
        array.append(int(o));
    return array;
}

// The name field up to its last non-zero byte, one character per byte.
QString Station_Name(const Device_Params& params)
{
    int end = int(params.Station_Name.size());
    while (end > 0 && params.Station_Name[std::size_t(end - 1)] == 0)
        --end;
    return QString::fromLatin1(reinterpret_cast<const char*>(params.Station_Name.data()), end);
}

QStringList Flag_Names(std::uint16_t flags)
{
    static const struct {
        std::uint16_t mask;
        const char* name;
    } Names[] = {
        {Flag_On_Change, "On_Change"}, {Flag_ReTest, "ReTest"}, {Flag_On_Command, "On_Command"},
        {Flag_Extended, "Extended"},   {Flag_Group, "Group"},   {Flag_Bit_Mode, "Bit_Mode"},
    };
    QStringList names;
    for (int bit = 0; bit < 12; ++bit) {
        const std::uint16_t mask = std::uint16_t(1u << bit);
        if (!(flags & mask))
            continue;
        QString name;
        for (const auto& n : Names) {
            if (n.mask == mask)
                name = QLatin1String(n.name);
        }
        names << (name.isEmpty() ? QStringLiteral("bit %1").arg(bit) : name);
    }
    return names;
}

QString Priority_Text(int code)
{
    const QString name = Priority_Name(code);
    return name.isEmpty() ? QStringLiteral("unknown (%1)").arg(code) : name;
}

QString Format_Text(int code)
{
    const QString name = Format_Name(code);
    return name.isEmpty() ? QStringLiteral("unknown (%1)").arg(code) : name;
}

QString Destination_Text(const Image_Row& row)
{
    return row.Flags & Flag_Group ? Group_Address_Text(row.Destination_Address)
                                  : Individual_Address_Text(row.Destination_Address);
}

void Check_Fixed(const std::uint8_t* block, QStringList& out)
{
    for (const Fixed_Field& f : Fixed_Fields()) {
        for (int i = 0; i < f.count; ++i) {
            const int offset = f.offset + i * f.width;
            const std::uint32_t value = Get(block + offset, f.width);
            if (value != f.value) {
                out << QStringLiteral("block offset %1 (file offset %2, %3 bytes): %4, expected %5")
                           .arg(Hex(std::uint32_t(offset), 3), Hex(std::uint32_t(Param_Block_Offset + offset), 4))
                           .arg(f.width)
                           .arg(value)
                           .arg(f.value);
            }
        }
    }
}

// Every non-zero byte of a record that must be all zero.
void Check_Zero_Record(const std::uint8_t* image, int fileOffset, const QString& what, QStringList& out)
{
    QStringList offsets;
    for (int i = 0; i < Row_Size; ++i) {
        if (image[fileOffset + i] != 0)
            offsets << QStringLiteral("%1 = %2").arg(Hex(std::uint32_t(fileOffset + i), 4)).arg(image[fileOffset + i]);
    }
    if (!offsets.isEmpty())
        out << QStringLiteral("%1 (file offset %2) should be zero; non-zero bytes at %3")
                   .arg(what, Hex(std::uint32_t(fileOffset), 4), offsets.join(QStringLiteral(", ")));
}

void Check_Used_Record(const Image_Row& row, int index, QStringList& out)
{
    const QString what = QStringLiteral("write record %1").arg(index);
    if (row.Zero != 0)
        out << QStringLiteral("%1: the field at record offset 4 holds %2, expected 0").arg(what).arg(row.Zero);
    if (row.Flags & Flag_Never_Mask)
        out << QStringLiteral("%1: flags %2 has bits set that the compiler never sets (%3)")
                   .arg(what, Hex(row.Flags, 4), Hex(row.Flags & Flag_Never_Mask, 4));
    if ((row.Flags >> 12) > 9)
        out << QStringLiteral("%1: format code %2 does not exist").arg(what).arg(row.Flags >> 12);
    if (row.Priority > 3)
        out << QStringLiteral("%1: priority code %2 does not exist").arg(what).arg(row.Priority);
}

} // namespace

const std::vector<Fixed_Field>& Fixed_Fields()
{
    static const std::vector<Fixed_Field> fields = {
        {0x000, 4, 1, 125000},  {0x004, 4, 2, 0},       {0x00C, 4, 1, 9600},    {0x010, 2, 1, 8},
        {0x012, 2, 1, 0},       {0x014, 4, 5, 0},
        // 0x028 to 0x033: IP address, subnet mask, gateway
        {0x034, 2, 1, 10000},   {0x036, 2, 1, 10001},   {0x038, 2, 1, 10001},   {0x03A, 2, 1, 0},
        {0x03C, 4, 1, 9600},    {0x040, 2, 1, 8},       {0x042, 2, 1, 0},       {0x044, 4, 3, 0},
        // 0x050 to 0x05F: station name
        {0x060, 1, 8, 0},       {0x068, 2, 2, 0},       {0x06C, 4, 5, 0},       {0x080, 1, 4, 0},
        {0x084, 4, 31, 0},      {0x100, 1, 4, 0},       {0x104, 4, 2, 0},       {0x10C, 2, 2, 0},
        {0x110, 4, 29, 0},      {0x184, 1, 12, 0},      {0x190, 4, 1, 0},       {0x194, 4, 1, 38400},
        {0x198, 4, 4, 0},       {0x1A8, 1, 7, 0},       {0x1AF, 1, 1, 1},       {0x1B0, 1, 4, 0},
        {0x1B4, 1, 8, 8},       {0x1BC, 4, 1, Device_Read_Area},                {0x1C0, 4, 1, Device_Write_Area},
        {0x1C4, 4, 1, 0},
        // 0x1C8: write record count
        {0x1CC, 2, 1, 3671},
        // 0x1CE: the converter's KNX address
        {0x1D0, 2, 2, 0},       {0x1D4, 2, 1, 50000},   {0x1D6, 2, 1, 50001},   {0x1D8, 2, 1, 50002},
        {0x1DA, 2, 2, 0},       {0x1DE, 2, 1, 512},     {0x1E0, 4, 1, Device_Image_End},
        {0x1E4, 4, 2, 0},       {0x1EC, 1, 32, 0},      {0x20C, 1, 256, 0},     {0x30C, 4, 256, 0},
        {Zero_Run_Offset, 1, Zero_Run_Size, 0},         {0x778, 1, 128, 0},     {0x7F8, 4, 1, 0},
    };
    return fields;
}

bool Image_Report::Gateway_Enabled() const
{
    return Params.Gateway != std::array<std::uint8_t, 4>{255, 255, 255, 255};
}

bool Decode_Image(const QByteArray& bytes, Image_Report& report, QString& error)
{
    if (bytes.size() != Image_Size) {
        error = QStringLiteral("%1 bytes; a device image is %2 bytes").arg(bytes.size()).arg(Image_Size);
        return false;
    }
    const auto* image = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::uint8_t* block = image + Param_Block_Offset;

    report = Image_Report{};
    report.Size = bytes.size();
    report.Params = Read_Param_Block(block);
    report.Stored_Checksum = Get_U32(block + Checksum_Offset);
    report.Computed_Checksum = Block_Sum(block);

    Check_Fixed(block, report.Differences);
    const std::uint32_t count = report.Params.Write_Count;
    if (count > std::uint32_t(Row_Count))
        report.Differences << QStringLiteral("the write record count %1 is more than the %2 records of the area")
                                  .arg(count)
                                  .arg(Row_Count);
    const int used = int(std::min<std::uint32_t>(count, Row_Count));

    for (int i = 0; i < Row_Count; ++i) {
        const int offset = Write_Area_Offset + i * Row_Size;
        if (i < used) {
            report.Records.push_back(Read_Row(image + offset));
            Check_Used_Record(report.Records.back(), i, report.Differences);
        } else {
            Check_Zero_Record(image, offset, QStringLiteral("unused write record %1").arg(i), report.Differences);
        }
    }
    for (int i = 0; i < Row_Count; ++i)
        Check_Zero_Record(image, Read_Area_Offset + i * Row_Size, QStringLiteral("read record %1").arg(i),
            report.Differences);
    return true;
}

QString Record_Text(const Image_Row& row)
{
    const QStringList flags = Flag_Names(row.Flags);
    QString position = QStringLiteral("position %1").arg(row.Position);
    if (row.Flags & Flag_Bit_Mode)
        position = QStringLiteral("position %1 bit %2").arg(row.Position / 8).arg(row.Position % 8);
    return QStringLiteral("poll time %1, priority %2, length %3, flags %4, format %5, APCI %6, source %7, "
                          "destination %8 (%9), %10")
        .arg(QString::number(row.Poll_Time), Priority_Text(row.Priority), QString::number(row.Length),
            flags.isEmpty() ? QStringLiteral("none") : flags.join(u' '), Format_Text(row.Flags >> 12),
            APCI_Name(row.APCI), Individual_Address_Text(row.Source_Address), Destination_Text(row),
            row.Flags & Flag_Group ? QStringLiteral("group") : QStringLiteral("individual"))
        .arg(position);
}

QStringList Report_Lines(const Image_Report& r)
{
    const Device_Params& p = r.Params;
    QStringList lines;
    lines << QStringLiteral("Size: %1 bytes").arg(r.Size);
    lines << QStringLiteral("Checksum: stored %1, computed %2 (%3)")
                 .arg(r.Stored_Checksum)
                 .arg(r.Computed_Checksum)
                 .arg(r.Checksum_Valid() ? QStringLiteral("valid") : QStringLiteral("MISMATCH"));
    lines << QStringLiteral("IP address: %1").arg(Dotted(p.IP_Address));
    lines << QStringLiteral("Subnet mask: %1").arg(Dotted(p.Subnet_Mask));
    lines << QStringLiteral("Gateway: %1").arg(r.Gateway_Enabled() ? Dotted(p.Gateway) : QStringLiteral("not enabled"));
    lines << QStringLiteral("Station name: %1").arg(Station_Name(p));
    lines << QStringLiteral("KNX address: %1 (%2)").arg(p.KNX_Address).arg(Individual_Address_Text(p.KNX_Address));
    lines << QStringLiteral("Records: %1 write, %2 read").arg(p.Write_Count).arg(p.Read_Count);
    for (std::size_t i = 0; i < r.Records.size(); ++i)
        lines << QStringLiteral("Write record %1: %2").arg(i).arg(Record_Text(r.Records[i]));
    if (r.Differences.isEmpty()) {
        lines << QStringLiteral("Differences: none");
    } else {
        lines << QStringLiteral("Differences: %1").arg(r.Differences.size());
        for (const QString& d : r.Differences)
            lines << QStringLiteral("  ") + d;
    }
    return lines;
}

QJsonObject Report_Json(const Image_Report& r)
{
    const Device_Params& p = r.Params;
    QJsonObject checksum;
    checksum.insert(QStringLiteral("stored"), qint64(r.Stored_Checksum));
    checksum.insert(QStringLiteral("computed"), qint64(r.Computed_Checksum));
    checksum.insert(QStringLiteral("valid"), r.Checksum_Valid());

    QJsonArray records;
    for (std::size_t i = 0; i < r.Records.size(); ++i) {
        const Image_Row& row = r.Records[i];
        QJsonObject o;
        o.insert(QStringLiteral("index"), qint64(i));
        o.insert(QStringLiteral("poll_time"), qint64(row.Poll_Time));
        o.insert(QStringLiteral("priority"), row.Priority);
        o.insert(QStringLiteral("length"), row.Length);
        o.insert(QStringLiteral("flags"), row.Flags);
        o.insert(QStringLiteral("apci"), row.APCI);
        o.insert(QStringLiteral("source"), row.Source_Address);
        o.insert(QStringLiteral("destination"), row.Destination_Address);
        o.insert(QStringLiteral("position"), row.Position);
        o.insert(QStringLiteral("priority_name"), Priority_Text(row.Priority));
        o.insert(QStringLiteral("flag_names"), QJsonArray::fromStringList(Flag_Names(row.Flags)));
        o.insert(QStringLiteral("format_name"), Format_Text(row.Flags >> 12));
        o.insert(QStringLiteral("apci_name"), APCI_Name(row.APCI));
        o.insert(QStringLiteral("source_text"), Individual_Address_Text(row.Source_Address));
        o.insert(QStringLiteral("destination_text"), Destination_Text(row));
        records.append(o);
    }

    QJsonObject o;
    o.insert(QStringLiteral("size"), r.Size);
    o.insert(QStringLiteral("checksum"), checksum);
    o.insert(QStringLiteral("ip"), Octet_Array(p.IP_Address));
    o.insert(QStringLiteral("mask"), Octet_Array(p.Subnet_Mask));
    o.insert(QStringLiteral("gateway"), Octet_Array(p.Gateway));
    o.insert(QStringLiteral("gateway_enabled"), r.Gateway_Enabled());
    o.insert(QStringLiteral("station_name"), Station_Name(p));
    o.insert(QStringLiteral("knx_address"), p.KNX_Address);
    o.insert(QStringLiteral("knx_address_text"), Individual_Address_Text(p.KNX_Address));
    o.insert(QStringLiteral("write_count"), qint64(p.Write_Count));
    o.insert(QStringLiteral("read_count"), qint64(p.Read_Count));
    o.insert(QStringLiteral("records"), records);
    o.insert(QStringLiteral("differences"), QJsonArray::fromStringList(r.Differences));
    return o;
}

} // namespace lw::image
