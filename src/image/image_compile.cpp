#include "image/image_compile.h"

#include "image/image_codes.h"
#include "knx_access/knx_address.h"
#include "platform/atomic_file.h"
#include "shell/text_rules.h"
#include "xml/xml_document.h"

#include <QDir>
#include <QFileInfo>

namespace lw::image {

namespace {

// Four octet elements of ParGen.xml; each default serves both a missing
// element and a text that is not an integer. Only the low 8 bits are kept.
void Put_Octets(const xml::Node& root, const char* const names[4], const std::uint8_t defaults[4],
                std::array<std::uint8_t, 4>& target)
{
    for (int i = 0; i < 4; ++i) {
        const std::optional<QString> text = root.Find(names[i]).Text();
        target[i] = std::uint8_t(text ? Read_Integer_Or(*text, defaults[i]) : defaults[i]);
    }
}

// The texts of a row's attributes, with the first attribute found missing
// among those the compile cannot do without.
class Row_Reader {
public:
    explicit Row_Reader(const xml::Node& row) : m_row(row) {}

    std::optional<QString> Optional(const char* name) const { return m_row.Attribute(name); }

    // The attribute's text; an absent attribute is noted and gives an empty text.
    QString Required(const char* name)
    {
        std::optional<QString> text = m_row.Attribute(name);
        if (!text) {
            if (!m_missing)
                m_missing = name;
            return {};
        }
        return *text;
    }

    const char* Missing() const { return m_missing; }

private:
    xml::Node m_row;
    const char* m_missing = nullptr;
};

bool Is_Yes(const QString& text)
{
    return text.toUpper() == QLatin1String("Y");
}

// Fills one write record from a row whose Enable selected it. Returns the
// name of a required attribute the row lacks, else nullptr.
const char* Compile_Row(const xml::Node& node, Image_Row& record)
{
    Row_Reader row(node);
    record.APCI = APCI_Code(row.Required("APCI"));
    record.Priority = Priority_Code(row.Required("Priority"));
    std::uint16_t flags = 0;
    if (Is_Yes(row.Required("Extended")))
        flags |= Flag_Extended;
    const QString destination = row.Required("Destination_Address");
    const bool group = Is_Group_Address(destination);
    if (group)
        flags |= Flag_Group;
    if (Is_Yes(row.Required("ReTest")))
        flags |= Flag_ReTest;
    record.Source_Address = Encode_KNX_Address(row.Required("Source_Address"), false);
    record.Destination_Address = Encode_KNX_Address(destination, group);

    // On_Command, On_Timer with Poll_Time, and Format may be absent.
    const std::optional<QString> onCommand = row.Optional("On_Command");
    if (onCommand && Is_Yes(*onCommand))
        flags |= Flag_On_Command;
    if (Is_Yes(row.Required("On_Change")))
        flags |= Flag_On_Change;
    record.Poll_Time = 0;
    const std::optional<QString> onTimer = row.Optional("On_Timer");
    if (onTimer && Is_Yes(*onTimer)) {
        if (const std::optional<QString> pollTime = row.Optional("Poll_Time"))
            record.Poll_Time = std::uint32_t(Read_Integer_Or(*pollTime, 1000));
    }
    if (const std::optional<QString> format = row.Optional("Format"))
        flags |= Format_Code(*format);

    const QString bitMode = row.Required("Bit_Mode");
    const std::uint32_t position = std::uint32_t(Read_Integer_Or(row.Required("Position"), 0));
    if (bitMode.toUpper() == QLatin1String("NO")) {
        record.Position = std::uint16_t(position);
    } else {
        flags |= Flag_Bit_Mode;
        // Unsigned arithmetic wraps, which keeps the low 16 bits exact.
        record.Position = std::uint16_t(position * 8u + std::uint32_t(Read_Integer_Or(bitMode, 0)));
    }
    record.Length = std::uint8_t(Read_Integer_Or(row.Required("Length"), 1));
    record.Flags = flags;
    record.Zero = 0;
    return row.Missing();
}

} // namespace

void Init_Params(Device_Params& p)
{
    p = Device_Params{};
    p.P000 = 125000;
    p.P00C = 9600;
    p.P010 = 8;
    p.IP_Address = {192, 168, 2, 205};
    p.Subnet_Mask = {255, 255, 255, 0};
    p.Gateway = {255, 255, 255, 255};
    p.P034 = 10000;
    p.P036 = 10001;
    p.P038 = 10001;
    p.P03C = 9600;
    p.P040 = 8;
    p.P194 = 38400;
    p.P1AF = 1;
    p.P1B4.fill(8);
    p.P1CC = 3671;
    p.P1D4 = 50000;
    p.P1D6 = 50001;
    p.P1D8 = 50002;
    p.P1DE = 512;
    // Station name, device address, counters and device addresses stay 0.
}

void Clear_Tables(Image_Tables& tables)
{
    tables.Read_Rows.fill(Image_Row{});
    tables.Write_Rows.fill(Image_Row{});
}

QString Compile_ParGen(const QString& fileParGen, Device_Params& params)
{
    params.Read_Area_Address = Device_Read_Area;
    params.Write_Area_Address = Device_Write_Area;
    params.Image_End_Address = Device_Image_End;
    if (!QFileInfo::exists(fileParGen))
        return {};

    xml::Document doc;
    const QString error = doc.Load(fileParGen);
    if (!error.isEmpty())
        return error;
    // A first node that is not an element has no children: every value is missing.
    const xml::Node root = doc.First_Node();

    // KNX_TYPE is not part of the image.
    const std::optional<QString> device = root.Find("KNX_ID_DEV").Text();
    params.KNX_Address = device ? Encode_Device_Address(*device) : 0x11C8;

    static const char* const ip[4] = {"PROFINET_IP1", "PROFINET_IP2", "PROFINET_IP3", "PROFINET_IP4"};
    static const char* const mask[4] = {"PROFINET_SM1", "PROFINET_SM2", "PROFINET_SM3", "PROFINET_SM4"};
    static const char* const gateway[4] = {"PROFINET_GAT1", "PROFINET_GAT2", "PROFINET_GAT3", "PROFINET_GAT4"};
    static const std::uint8_t ipDefault[4] = {192, 168, 0, 5};
    static const std::uint8_t maskDefault[4] = {255, 255, 255, 0};
    static const std::uint8_t gatewayDefault[4] = {192, 168, 0, 1};
    Put_Octets(root, ip, ipDefault, params.IP_Address);
    Put_Octets(root, mask, maskDefault, params.Subnet_Mask);
    Put_Octets(root, gateway, gatewayDefault, params.Gateway);

    if (root.Find("PROFINET_EN_GAT").Text() != QStringLiteral("1"))
        params.Gateway = {255, 255, 255, 255};

    // One byte per character, its code's low 8 bits; a longer name is cut to the 16-byte field.
    const QString name = root.Find("PROFINET_NAME_STA").Text().value_or(QStringLiteral("devicename1"));
    const QList<uint> codes = name.toUcs4();
    for (qsizetype i = 0; i < codes.size() && i < qsizetype(params.Station_Name.size()); ++i)
        params.Station_Name[std::size_t(i)] = std::uint8_t(codes[i]);
    return {};
}

QString Compile_KNX_Access(const QString& fileKNXAccess, Image_Tables& tables, Device_Params& params)
{
    params.Read_Count = 0;
    params.Write_Count = 0;
    if (!QFileInfo::exists(fileKNXAccess))
        return {};

    xml::Document doc;
    const QString error = doc.Load(fileKNXAccess);
    if (!error.isEmpty())
        return error;
    const xml::Node root = doc.First_Node();
    if (!root.Is_Element())
        return QStringLiteral("%1 does not start with its root element; it is not a KNX access file").arg(fileKNXAccess);
    const xml::Node table = root.Find("KNX_in_Write");
    if (!table.Is_Element())
        return QStringLiteral("%1 has no KNX_in_Write element; it is not a KNX access file").arg(fileKNXAccess);

    int rowNumber = 0;
    for (const xml::Node& row : table.Children()) {
        if (!row.Is_Element())
            continue;
        ++rowNumber;
        const std::optional<QString> enable = row.Attribute("Enable");
        if (enable && Strip(*enable).toUpper() != QLatin1String("Y"))
            continue;
        if (params.Write_Count >= std::uint32_t(Row_Count)) {
            return QStringLiteral("%1: row %2 is enabled command number %3; the converter takes at most %4 commands")
                .arg(fileKNXAccess)
                .arg(rowNumber)
                .arg(params.Write_Count + 1)
                .arg(Row_Count);
        }
        if (const char* missing = Compile_Row(row, tables.Write_Rows[params.Write_Count])) {
            return QStringLiteral("%1: row %2 has no %3 attribute; its value is not readable as text")
                .arg(fileKNXAccess)
                .arg(rowNumber)
                .arg(QLatin1String(missing));
        }
        ++params.Write_Count;
    }
    return {};
}

QString Compile_Image(const QString& fileParGen, const QString& fileKNXAccess, Image_Buffer& buffer)
{
    Device_Params params;
    Image_Tables tables;
    Init_Params(params);
    Clear_Tables(tables);
    QString error = Compile_ParGen(fileParGen, params);
    if (error.isEmpty())
        error = Compile_KNX_Access(fileKNXAccess, tables, params);
    if (!error.isEmpty())
        return error;

    buffer.Image_Length = 0;
    if (!Write_Tables(tables, buffer) || !Write_Param_Block(params, buffer, buffer.Image_Length))
        return QStringLiteral("The device image does not fit its buffer");
    buffer.Image_Length += Block_Size;
    return {};
}

QString Compile_Image(const ProgramState& state, Image_Buffer& buffer)
{
    return Compile_Image(state.File_ParGen, state.File_KNX_Access, buffer);
}

QString Image_File(const ProgramState& state)
{
    return Join_Path(Join_Path(state.Dir_Project, QStringLiteral("bin")), QStringLiteral("bank.bin"));
}

QString Save_Image(const ProgramState& state, const Image_Buffer& buffer)
{
    const QString binDir = Join_Path(state.Dir_Project, QStringLiteral("bin"));
    if (!QFileInfo(state.Dir_Project).isDir())
        return QStringLiteral("Cannot write %1: the configuration folder %2 does not exist")
            .arg(Image_File(state), state.Dir_Project);
    if (!QFileInfo::exists(binDir) && !QDir(state.Dir_Project).mkdir(QStringLiteral("bin")))
        return QStringLiteral("Cannot write %1: the folder %2 cannot be created").arg(Image_File(state), binDir);
    return Save_Image_File(Image_File(state), buffer);
}

QString Save_Image_File(const QString& path, const Image_Buffer& buffer)
{
    if (buffer.Image_Length == 0 || buffer.Image_Length > buffer.Capacity())
        return QStringLiteral("Cannot write %1: no device image has been compiled").arg(path);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("Cannot write %1: the folder %2 does not exist").arg(path, info.absolutePath());
    return Write_File_Atomic(path,
        QByteArray(reinterpret_cast<const char*>(buffer.Data()), qsizetype(buffer.Image_Length)));
}

QString Image_Summary(const Image_Buffer& buffer)
{
    if (buffer.Image_Length != std::uint32_t(Image_Size))
        return QStringLiteral("%1 bytes").arg(buffer.Image_Length);
    const std::uint8_t* block = buffer.Data() + Param_Block_Offset;
    return QStringLiteral("%1 bytes, %2 commands, checksum %3")
        .arg(buffer.Image_Length)
        .arg(Get_U32(block + Write_Count_Offset))
        .arg(Get_U32(block + Checksum_Offset));
}

} // namespace lw::image

namespace lw {

QString Compile_And_Save_Image(const ProgramState& state, QString* summary)
{
    if (state.Dir_Project.isEmpty())
        return QStringLiteral("No configuration is active");
    // The image lives only as long as this run: nothing of it is kept between presses.
    image::Image_Buffer buffer;
    QString error = image::Compile_Image(state, buffer);
    if (error.isEmpty())
        error = image::Save_Image(state, buffer);
    if (error.isEmpty() && summary)
        *summary = image::Image_Summary(buffer);
    return error;
}

} // namespace lw
