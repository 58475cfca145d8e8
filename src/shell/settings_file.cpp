#include "shell/settings_file.h"

#include "xml/xml_document.h"

#include <QFileInfo>

namespace lw {

QString Settings_Path(const ProgramState& state)
{
    return Join_Path(state.Dir_App, QStringLiteral("Loomwright.xml"));
}

void Read_Setting(ProgramState& state)
{
    state.Name_Project.clear();
    Set_Active_Configuration(state, QString());
    state.Last_IP = Default_Last_IP;
    state.Language_Name = Default_Language;
    state.Enable_Internet = false;
    state.Enable_Update = false;

    const QString path = Settings_Path(state);
    if (!QFileInfo::exists(path))
        return;
    xml::Document doc;
    // A file that cannot be read or is not well-formed leaves every default.
    if (!doc.Load(path, Settings_File_Limit).isEmpty())
        return;
    const xml::Node root = doc.First_Node();

    state.Name_Project = root.Find("lastproj").Find("projectname").Text().value_or(QString());
    state.Last_IP = root.Find("lastipadd").Find("ipaddress").Text().value_or(Default_Last_IP);
    state.Language_Name = root.Find("lastlang").Find("language").Text().value_or(Default_Language);
    const xml::Node internet = root.Find("lastinternet");
    state.Enable_Internet = internet.Find("enable_internet").Text().value_or(QString()) == QLatin1String("1");
    state.Enable_Update = internet.Find("enable_update").Text().value_or(QString()) == QLatin1String("1");
}

QString Save_Setting(const ProgramState& state)
{
    xml::Document doc;
    xml::Node root = doc.Add_Root("Conf_Settings");
    root.Add_Child("lastproj").Add_Child("projectname").Set_Text(state.Name_Project);
    root.Add_Child("lastipadd").Add_Child("ipaddress").Set_Text(state.Last_IP);
    root.Add_Child("lastlang").Add_Child("language").Set_Text(state.Language_Name);
    xml::Node internet = root.Add_Child("lastinternet");
    internet.Add_Child("enable_internet").Set_Text(state.Enable_Internet ? QStringLiteral("1") : QStringLiteral("0"));
    internet.Add_Child("enable_update").Set_Text(state.Enable_Update ? QStringLiteral("1") : QStringLiteral("0"));
    return doc.Save(Settings_Path(state));
}

} // namespace lw
