#include "image/image_compile.h"

#include "base/text_rules.h"
#include "comm_settings/pargen_file.h"
#include "image/image_check.h"
#include "image/image_codes.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_address.h"
#include "platform/atomic_file.h"
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

// A row's attributes: indexes into KNX_Row_Texts (column c at c - 1).
enum Row_Attribute {
    A_Enable = Col_Enable - 1,
    A_Source = Col_Source_Address - 1,
    A_Destination = Col_Destination_Address - 1,
    A_APCI = Col_APCI - 1,
    A_Priority = Col_Priority - 1,
    A_Format = Col_Format - 1,
    A_Extended = Col_Extended - 1,
    A_ReTest = Col_ReTest - 1,
    A_On_Command = Col_On_Command - 1,
    A_On_Change = Col_On_Change - 1,
    A_On_Timer = Col_On_Timer - 1,
    A_Poll_Time = Col_Poll_Time - 1,
    A_Position = Col_Position - 1,
    A_Bit_Mode = Col_Bit_Mode - 1,
    A_Length = Col_Length - 1,
};
using Row_Texts = std::array<const char*, KNX_Field_Count>;

// The attributes a compiled row cannot do without, in the order the compile
// reads them: the first one missing is the one reported.
constexpr Row_Attribute Required_Attributes[] = {
    A_APCI, A_Priority, A_Extended, A_Destination, A_ReTest, A_Source, A_On_Change, A_Bit_Mode, A_Position, A_Length,
};

// One attribute text as UTF-16: a short ASCII text is widened on the stack,
// any other text converted from UTF-8 into a string.
class Text16 {
public:
    explicit Text16(const char* utf8)
    {
        std::size_t n = 0;
        for (; utf8[n] && n < sizeof(m_chars) / sizeof(m_chars[0]); ++n) {
            const auto c = static_cast<unsigned char>(utf8[n]);
            if (c >= 0x80)
                break;
            m_chars[n] = char16_t(c);
        }
        if (utf8[n] == 0)
            m_view = QStringView(m_chars, qsizetype(n));
        else {
            m_long = QString::fromUtf8(utf8);
            m_view = m_long;
        }
    }
    Text16(const Text16&) = delete;
    Text16& operator=(const Text16&) = delete;

    QStringView View() const { return m_view; }

private:
    char16_t m_chars[64];
    QString m_long;
    QStringView m_view;
};

bool Is_Yes(const char* text)
{
    return Upper_Equals(Text16(text).View(), QLatin1StringView("Y"));
}

// Fills one write record from the texts of a row whose Enable selected it.
// Returns the name of a required attribute the row lacks (the record is then
// not filled), else nullptr.
const char* Compile_Row(const Row_Texts& t, Image_Row& record)
{
    for (Row_Attribute a : Required_Attributes) {
        if (!t[a])
            return KNX_Attributes[a];
    }
    record.APCI = APCI_Code(Text16(t[A_APCI]).View());
    record.Priority = Priority_Code(Text16(t[A_Priority]).View());
    std::uint16_t flags = 0;
    if (Is_Yes(t[A_Extended]))
        flags |= Flag_Extended;
    const Text16 destination(t[A_Destination]);
    const bool group = Is_Group_Address(destination.View());
    if (group)
        flags |= Flag_Group;
    if (Is_Yes(t[A_ReTest]))
        flags |= Flag_ReTest;
    record.Source_Address = Encode_KNX_Address(Text16(t[A_Source]).View(), false);
    record.Destination_Address = Encode_KNX_Address(destination.View(), group);

    // On_Command, On_Timer with Poll_Time, and Format may be absent.
    if (t[A_On_Command] && Is_Yes(t[A_On_Command]))
        flags |= Flag_On_Command;
    if (Is_Yes(t[A_On_Change]))
        flags |= Flag_On_Change;
    record.Poll_Time = 0;
    if (t[A_On_Timer] && Is_Yes(t[A_On_Timer]) && t[A_Poll_Time])
        record.Poll_Time = std::uint32_t(Read_Integer_Or(Text16(t[A_Poll_Time]).View(), 1000));
    if (t[A_Format])
        flags |= Format_Code(Text16(t[A_Format]).View());

    const Text16 bitMode(t[A_Bit_Mode]);
    const std::uint32_t position = std::uint32_t(Read_Integer_Or(Text16(t[A_Position]).View(), 0));
    if (Upper_Equals(bitMode.View(), QLatin1StringView("NO"))) {
        record.Position = std::uint16_t(position);
    } else {
        flags |= Flag_Bit_Mode;
        // Unsigned arithmetic wraps, which keeps the low 16 bits exact.
        record.Position = std::uint16_t(position * 8u + std::uint32_t(Read_Integer_Or(bitMode.View(), 0)));
    }
    record.Length = std::uint8_t(Read_Integer_Or(Text16(t[A_Length]).View(), 1));
    record.Flags = flags;
    record.Zero = 0;
    return nullptr;
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

QString Compile_ParGen(const QString& fileParGen, Device_Params& params, QString* warning)
{
    params.Read_Area_Address = Device_Read_Area;
    params.Write_Area_Address = Device_Write_Area;
    params.Image_End_Address = Device_Image_End;
    if (!QFileInfo::exists(fileParGen))
        return {};

    xml::Document doc;
    const QString error = doc.Load(fileParGen, ParGen_File_Limit);
    if (!error.isEmpty())
        return error;
    // A first node that is not an element has no children: every value is missing.
    const xml::Node root = doc.First_Node();
    if (!root.Is_Element() && warning)
        *warning = ParGen_Not_Rooted_Warning(fileParGen);

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
    const QString error = doc.Load(fileKNXAccess, KNX_Access_File_Limit);
    if (!error.isEmpty())
        return error;
    const xml::Node root = doc.First_Node();
    if (!root.Is_Element())
        return QStringLiteral("%1 does not start with its root element; it is not a KNX access file").arg(fileKNXAccess);
    const xml::Node table = root.Find("KNX_in_Write");
    if (!table.Is_Element())
        return QStringLiteral("%1 has no KNX_in_Write element; it is not a KNX access file").arg(fileKNXAccess);

    int rowNumber = 0;
    // Walked in place: no list of a node per child, which a file of many
    // small elements would make as large as the document itself.
    for (pugi::xml_node raw = table.Raw().first_child(); raw; raw = raw.next_sibling()) {
        const xml::Node row(raw);
        if (!row.Is_Element())
            continue;
        ++rowNumber;
        const Row_Texts texts = KNX_Row_Texts(row);
        if (!KNX_Row_Compiled(texts[A_Enable]))
            continue;
        if (params.Write_Count >= std::uint32_t(Row_Count)) {
            return QStringLiteral("%1: row %2 is enabled command number %3; the converter takes at most %4 commands")
                .arg(fileKNXAccess)
                .arg(rowNumber)
                .arg(params.Write_Count + 1)
                .arg(Row_Count);
        }
        if (const char* missing = Compile_Row(texts, tables.Write_Rows[params.Write_Count])) {
            return QStringLiteral("%1: row %2 has no %3 attribute; its value is not readable as text")
                .arg(fileKNXAccess)
                .arg(rowNumber)
                .arg(QLatin1String(missing));
        }
        ++params.Write_Count;
    }
    return {};
}

QString Compile_Image(const QString& fileParGen, const QString& fileKNXAccess, Image_Buffer& buffer,
                      QString* warning)
{
    Device_Params params;
    Image_Tables tables;
    Init_Params(params);
    Clear_Tables(tables);
    QString error = Compile_ParGen(fileParGen, params, warning);
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

QString Compile_Image(const ProgramState& state, Image_Buffer& buffer, QString* warning)
{
    return Compile_Image(state.File_ParGen, state.File_KNX_Access, buffer, warning);
}

QString Check_And_Compile(const ProgramState& state, Image_Buffer& buffer, QString* warning)
{
    // Values the checks refuse would wrap silently into the image.
    const Project_Check check = Check_Project(state);
    if (check.Stop == Check_Stop::Check) {
        if (check.ParGen_Not_Rooted && warning)
            *warning = ParGen_Not_Rooted_Warning(state.File_ParGen);
        return check.Message;
    }
    const QString error = Compile_Image(state, buffer, warning);
    if (!error.isEmpty())
        return error;
    if (check.Stop == Check_Stop::File)
        return check.Message;
    return {};
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
    const std::uint32_t count = Get_U32(block + Write_Count_Offset);
    return QStringLiteral("%1 bytes, %2 %3, checksum %4")
        .arg(buffer.Image_Length)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("command") : QStringLiteral("commands"))
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
    QString error = image::Check_And_Compile(state, buffer);
    if (error.isEmpty())
        error = image::Save_Image(state, buffer);
    if (error.isEmpty() && summary)
        *summary = image::Image_Summary(buffer);
    return error;
}

} // namespace lw
