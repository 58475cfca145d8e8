#include "comm_settings/pargen_file.h"

#include "base/text_rules.h"
#include "xml/xml_document.h"

#include <QFileInfo>
#include <cstring>

namespace lw {

namespace {

struct Text_Field {
    const char* name;
    QString ParGen_Values::*field;
};

// The text fields in file order; KNX_TYPE comes before them and
// PROFINET_EN_GAT between the gateway octets and the name of station.
constexpr Text_Field Address_Fields[] = {
    {"KNX_ID_DEV", &ParGen_Values::KNX_ID_DEV},       {"PROFINET_IP1", &ParGen_Values::PROFINET_IP1},
    {"PROFINET_IP2", &ParGen_Values::PROFINET_IP2},   {"PROFINET_IP3", &ParGen_Values::PROFINET_IP3},
    {"PROFINET_IP4", &ParGen_Values::PROFINET_IP4},   {"PROFINET_SM1", &ParGen_Values::PROFINET_SM1},
    {"PROFINET_SM2", &ParGen_Values::PROFINET_SM2},   {"PROFINET_SM3", &ParGen_Values::PROFINET_SM3},
    {"PROFINET_SM4", &ParGen_Values::PROFINET_SM4},   {"PROFINET_GAT1", &ParGen_Values::PROFINET_GAT1},
    {"PROFINET_GAT2", &ParGen_Values::PROFINET_GAT2}, {"PROFINET_GAT3", &ParGen_Values::PROFINET_GAT3},
    {"PROFINET_GAT4", &ParGen_Values::PROFINET_GAT4},
};
constexpr Text_Field Name_Field = {"PROFINET_NAME_STA", &ParGen_Values::PROFINET_NAME_STA};

// The text of the root's first child element with that name; nothing when
// there is none or its content is not a single text.
std::optional<QString> Element_Text(const xml::Node& root, const char* name)
{
    for (pugi::xml_node child = root.Raw().first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), name) == 0)
            return xml::Node(child).Text();
    }
    return std::nullopt;
}

void Read_Text(const xml::Node& root, const Text_Field& f, ParGen_Values& values)
{
    if (const std::optional<QString> text = Element_Text(root, f.name))
        values.*f.field = *text;
}

} // namespace

QString ParGen_Not_Rooted_Warning(const QString& path)
{
    return QStringLiteral("%1 does not begin with its root element; every communication setting takes its default")
        .arg(path);
}

QString Load_ParGen(const QString& path, ParGen_Values& values, bool* notRooted)
{
    values = ParGen_Values();
    if (notRooted)
        *notRooted = false;
    if (!QFileInfo::exists(path))
        return {};
    xml::Document doc;
    const QString error = doc.Load(path, ParGen_File_Limit);
    if (!error.isEmpty())
        return error;
    const xml::Node root = doc.First_Node();
    // A first node that is not an element has no children: every value is missing.
    if (notRooted)
        *notRooted = !root.Is_Element();

    if (const std::optional<QString> type = Element_Text(root, "KNX_TYPE"))
        values.KNX_TYPE = Read_Integer_Or(*type, 0);
    for (const Text_Field& f : Address_Fields)
        Read_Text(root, f, values);
    values.PROFINET_EN_GAT = Element_Text(root, "PROFINET_EN_GAT") == QStringLiteral("1");
    Read_Text(root, Name_Field, values);
    return {};
}

QString Save_ParGen(const ParGen_Values& values, const QString& path)
{
    xml::Document doc;
    xml::Node root = doc.Add_Root("Par_Gen");
    doc.Add_Comment(xml::Version_Comment());
    root.Add_Child("KNX_TYPE").Set_Text(QString::number(values.KNX_TYPE));
    for (const Text_Field& f : Address_Fields)
        root.Add_Child(f.name).Set_Text(values.*f.field);
    root.Add_Child("PROFINET_EN_GAT").Set_Text(values.PROFINET_EN_GAT ? QStringLiteral("1") : QStringLiteral("0"));
    root.Add_Child(Name_Field.name).Set_Text(values.*Name_Field.field);
    return doc.Save(path);
}

} // namespace lw
