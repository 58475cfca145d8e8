#include "update/job_file.h"

#include "xml/xml_document.h"

namespace lw {

namespace {

QString Join_Octets(const QString& ip1, const QString& ip2, const QString& ip3, const QString& ip4)
{
    return ip1 + u'.' + ip2 + u'.' + ip3 + u'.' + ip4;
}

void Add_Text(xml::Node parent, const char* name, const QString& text)
{
    parent.Add_Child(name).Set_Text(text);
}

struct Operation_Values {
    QString File_Name;
    const char* Start_Address;
    const char* Bank_Type;
    bool Read_Back;
    const char* Write_CSS;
    const char* Address_CSS;
    bool Go_To_App_After;
};

void Add_Operation(xml::Node operations, const Operation_Values& v)
{
    xml::Node op = operations.Add_Child("Operation");
    Add_Text(op, "Ope_Protection_Enabled", QString());
    Add_Text(op, "Ope_GoToBoot_Before", QStringLiteral("0"));
    Add_Text(op, "Ope_GoToApp_Before", QStringLiteral("0"));
    Add_Text(op, "Ope_IP_Address", QString());
    Add_Text(op, "Ope_Port", QStringLiteral("2008"));
    Add_Text(op, "Ope_Port_Sec", QStringLiteral("2007"));
    Add_Text(op, "Ope_Erase_Memory", QStringLiteral("0"));
    Add_Text(op, "Ope_FileName", v.File_Name);
    Add_Text(op, "Ope_Start_Address", QLatin1String(v.Start_Address));
    Add_Text(op, "Ope_Memory_Type", QStringLiteral("0"));
    Add_Text(op, "Ope_Bank_Type", QLatin1String(v.Bank_Type));
    Add_Text(op, "Ope_Read_Back", v.Read_Back ? QStringLiteral("1") : QStringLiteral("0"));
    Add_Text(op, "Ope_Write_CSS", QLatin1String(v.Write_CSS));
    Add_Text(op, "Ope_Address_CSS", QLatin1String(v.Address_CSS));
    Add_Text(op, "Ope_Command_CSS", QStringLiteral("0x0B"));
    Add_Text(op, "Ope_GoToApp_After", v.Go_To_App_After ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

QString Job_File_Path(const ProgramState& state)
{
    return Join_Path(state.Dir_App, QStringLiteral("NetLoader.xml"));
}

QString Updater_Path(const ProgramState& state)
{
    return Join_Path(state.Dir_App, QStringLiteral("NetLoader.exe"));
}

QString Compile_XML_Parameter(const QString& ip1, const QString& ip2, const QString& ip3, const QString& ip4,
                              const Update_Options& options, const ProgramState& state)
{
    xml::Document doc;
    xml::Node root = doc.Add_Root("NetLoader");
    Add_Text(root, "Version", QStringLiteral("1000"));
    Add_Text(root, "Title", QStringLiteral("Veltrona - KQ4315 NetLoader"));
    Add_Text(root, "IP_Address_Dev", Join_Octets(ip1, ip2, ip3, ip4));
    Add_Text(root, "Application_Port", QStringLiteral("10000"));
    Add_Text(root, "Boot_Port", QStringLiteral("2008"));
    Add_Text(root, "Boot_Port_Sec", QStringLiteral("2007"));
    Add_Text(root, "Address_Protection", QStringLiteral("0x78000"));
    Add_Text(root.Add_Child("Protections"), "Protection", QStringLiteral("0x5E9"));
    xml::Node operations = root.Add_Child("Operations");

    if (options.Write_Firmware) {
        Add_Operation(operations, {Join_Path(state.Dir_Master, QStringLiteral("Sim4315.sim")), "0x8000", "1",
                                   options.Read_Firmware, "1", "0x78100",
                                   !options.Write_Configuration});
    }
    if (options.Write_Configuration) {
        Add_Operation(operations, {Join_Path(Join_Path(state.Dir_Project, QStringLiteral("bin")),
                                             QStringLiteral("bank.bin")),
                                   "0x63000", "2", options.Read_Configuration, "0", "0x50100", true});
    }
    return doc.Save(Job_File_Path(state));
}

QString Updater_Argument_Line(const QString& ip1, const QString& ip2, const QString& ip3, const QString& ip4,
                              const Update_Options& options)
{
    QString line = Join_Octets(ip1, ip2, ip3, ip4) + QStringLiteral(" 2007 ");
    line += options.Write_Firmware ? QStringLiteral("FW ") : QStringLiteral("NO ");
    line += options.Read_Firmware ? QStringLiteral("FR ") : QStringLiteral("NO ");
    line += options.Write_Configuration ? QStringLiteral("PW ") : QStringLiteral("NO ");
    line += options.Read_Configuration ? QStringLiteral("PR ") : QStringLiteral("NO ");
    return line;
}

} // namespace lw
