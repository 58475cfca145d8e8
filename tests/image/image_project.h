#pragma once
// Project files for the image tests, written as raw XML so that every form a
// hand-edited file may take (missing attributes, odd case, blanks) can be built.

#include "common/test_support.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace lw::test {

// Name-value pairs in file order; a pair is removed by giving "-Name" to Apply.
using Xml_Fields = QList<QPair<QString, QString>>;

// Changes "Name=value" (set, appended when absent) and "-Name" (remove).
inline Xml_Fields Apply(Xml_Fields fields, const QStringList& changes)
{
    for (const QString& change : changes) {
        if (change.startsWith(u'-')) {
            const QString name = change.mid(1);
            fields.removeIf([&](const auto& f) { return f.first == name; });
            continue;
        }
        const qsizetype eq = change.indexOf(u'=');
        const QString name = change.left(eq);
        const QString value = change.mid(eq + 1);
        bool found = false;
        for (auto& f : fields) {
            if (f.first == name) {
                f.second = value;
                found = true;
            }
        }
        if (!found)
            fields.append({name, value});
    }
    return fields;
}

// The enabled row of the worked example: 1.1.10 to 1/2/3, Write, Low, Swap16,
// ReTest, On_Command, On_Timer with 500, position 4, byte mode, length 2.
inline Xml_Fields Example_Row(const QStringList& changes = {})
{
    const Xml_Fields row = {
        {"Enable", "Y"},          {"Source_Address", "1.1.10"}, {"Destination_Address", "1/2/3"},
        {"APCI", "WRITE"},        {"Priority", "Low"},          {"Format", "SWAP16"},
        {"Extended", "N"},        {"ReTest", "Y"},              {"On_Command", "Y"},
        {"On_Change", "N"},       {"On_Timer", "Y"},            {"Poll_Time", "500"},
        {"Position", "4"},        {"Bit_Mode", "NO"},           {"Length", "2"},
        {"Mnemonic", "example"},
    };
    return Apply(row, changes);
}

// The settings of the worked example: 192.168.0.5, 255.255.255.0, gateway not
// enabled, 1.1.200, "devicename1".
inline Xml_Fields Example_Settings(const QStringList& changes = {})
{
    const Xml_Fields settings = {
        {"KNX_TYPE", "0"},           {"KNX_ID_DEV", "1.1.200"},   {"PROFINET_IP1", "192"},
        {"PROFINET_IP2", "168"},     {"PROFINET_IP3", "0"},       {"PROFINET_IP4", "5"},
        {"PROFINET_SM1", "255"},     {"PROFINET_SM2", "255"},     {"PROFINET_SM3", "255"},
        {"PROFINET_SM4", "0"},       {"PROFINET_GAT1", "192"},    {"PROFINET_GAT2", "168"},
        {"PROFINET_GAT3", "0"},      {"PROFINET_GAT4", "1"},      {"PROFINET_EN_GAT", "0"},
        {"PROFINET_NAME_STA", "devicename1"},
    };
    return Apply(settings, changes);
}

inline QString Xml_Escape(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(u'\t', QStringLiteral("&#9;"));
    out.replace(u'\n', QStringLiteral("&#10;"));
    return out;
}

inline QByteArray ParGen_Xml(const Xml_Fields& settings, const QString& rootName = QStringLiteral("Par_Gen"))
{
    QString xml = QStringLiteral("<%1>").arg(rootName);
    for (const auto& [name, text] : settings)
        xml += QStringLiteral("<%1>%2</%1>").arg(name, Xml_Escape(text));
    xml += QStringLiteral("</%1><!--SW_VERSION = 1.002-->").arg(rootName);
    return xml.toUtf8();
}

inline QString Row_Xml(const Xml_Fields& row)
{
    QString xml = QStringLiteral("<row");
    for (const auto& [name, text] : row)
        xml += QStringLiteral(" %1=\"%2\"").arg(name, Xml_Escape(text));
    return xml + QStringLiteral("/>");
}

inline QByteArray KNX_Access_Xml(const QList<Xml_Fields>& rows)
{
    QString xml = QStringLiteral("<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>");
    for (const Xml_Fields& row : rows)
        xml += Row_Xml(row);
    xml += QStringLiteral("</KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.002-->");
    return xml.toUtf8();
}

// The 20 bytes of a record, laid out here independently of the code under test.
inline QByteArray Record_Bytes(std::uint32_t pollTime, int priority, int length, int flags, int apci, int source,
                               int destination, int position)
{
    QByteArray b;
    auto put = [&](std::uint32_t v, int width) {
        for (int i = 0; i < width; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    put(pollTime, 4);
    put(0, 4);
    put(std::uint32_t(priority), 1);
    put(std::uint32_t(length), 1);
    put(std::uint32_t(flags), 2);
    put(std::uint32_t(apci), 2);
    put(std::uint32_t(source), 2);
    put(std::uint32_t(destination), 2);
    put(std::uint32_t(position), 2);
    return b;
}

inline std::uint32_t U32_At(const QByteArray& bytes, int offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::uint8_t(bytes[offset + i]);
    return v;
}

inline int U16_At(const QByteArray& bytes, int offset)
{
    return std::uint8_t(bytes[offset]) | (std::uint8_t(bytes[offset + 1]) << 8);
}

} // namespace lw::test
